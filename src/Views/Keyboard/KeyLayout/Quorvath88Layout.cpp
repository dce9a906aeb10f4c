#include "Views/Keyboard/KeyLayout/Quorvath88Layout.h"

#include "Views/Keyboard/KeyLayout/QuorvathMetrics.h"

namespace keyloom {

const KeyLayout& Quorvath_88_Keys() {
    static const KeyLayout keys = [] {
        const KeyWidthTable& kw = Quorvath_TE_EN_Key_Width();
        const int64_t normal = kw.at("normal");
        const int64_t keypad = Quorvath_TE_EN_Size_Conf().at("keypad_margin_left");
        const int64_t bottom = kw.at("bottomNormal");
        return KeyLayout{
            // row 1
            {normal, "escape", 1, 0, 0, true, false},
            {normal, "f1", 1, 36, 0, false, true},
            {normal, "f2", 1, 0, 1, false, true},
            {normal, "f3", 1, 0, 1, false, true},
            {normal, "f4", 1, 0, 1, false, true},
            {normal, "f5", 1, 20, 0, false, true},
            {normal, "f6", 1, 0, 1, false, true},
            {normal, "f7", 1, 0, 1, false, true},
            {normal, "f8", 1, 0, 1, false, true},
            {normal, "f9", 1, 19, 0, false, true},
            {normal, "f10", 1, 0, 1, false, true},
            {normal, "f11", 1, 0, 1, false, true},
            {normal, "f12", 1, 0, 1, false, true},
            {normal, "printScreen", 1, keypad, 0, false, true},
            {normal, "scrollLock", 1, 0, 1, false, true},
            {normal, "pause", 1, 0, 1, false, true},
            // row 2
            {normal, "backtick", 2, 0, 0, true, false},
            {normal, "i1", 2, 0, 1, false, false},
            {normal, "i2", 2, 0, 1, false, false},
            {normal, "i3", 2, 0, 1, false, false},
            {normal, "i4", 2, 0, 1, false, false},
            {normal, "i5", 2, 0, 1, false, false},
            {normal, "i6", 2, 0, 1, false, false},
            {normal, "i7", 2, 0, 1, false, false},
            {normal, "i8", 2, 0, 1, false, false},
            {normal, "i9", 2, 0, 1, false, false},
            {normal, "i0", 2, 0, 1, false, false},
            {normal, "minus", 2, 0, 1, false, false},
            {normal, "equal", 2, 0, 1, false, false},
            {kw.at("backspace"), "backspace", 2, 0, 1, false, false},
            {normal, "insert", 2, keypad, 0, false, false},
            {normal, "home", 2, 0, 1, false, false},
            {normal, "pageUp", 2, 0, 1, false, false},
            // row 3
            {kw.at("tab"), "tab", 3, 0, 0, true, false},
            {normal, "q", 3, 0, 1, false, false},
            {normal, "w", 3, 0, 1, false, false},
            {normal, "e", 3, 0, 1, false, false},
            {normal, "r", 3, 0, 1, false, false},
            {normal, "t", 3, 0, 1, false, false},
            {normal, "y", 3, 0, 1, false, false},
            {normal, "u", 3, 0, 1, false, false},
            {normal, "i", 3, 0, 1, false, false},
            {normal, "o", 3, 0, 1, false, false},
            {normal, "p", 3, 0, 1, false, false},
            {normal, "leftBracket", 3, 0, 1, false, false},
            {normal, "rightBracket", 3, 0, 1, false, false},
            {54, "enter", 3, 0, 1, false, false},
            {normal, "delete", 3, keypad, 0, false, false},
            {normal, "end", 3, 0, 1, false, false},
            {normal, "pageDown", 3, 0, 1, false, false},
            // row 4
            {kw.at("capsLock"), "capsLock", 4, 0, 0, true, false},
            {normal, "a", 4, 0, 1, false, false},
            {normal, "s", 4, 0, 1, false, false},
            {normal, "d", 4, 0, 1, false, false},
            {normal, "f", 4, 0, 1, false, false},
            {normal, "g", 4, 0, 1, false, false},
            {normal, "h", 4, 0, 1, false, false},
            {normal, "j", 4, 0, 1, false, false},
            {normal, "k", 4, 0, 1, false, false},
            {normal, "l", 4, 0, 1, false, false},
            {normal, "semicolon", 4, 0, 1, false, false},
            {normal, "quote", 4, 0, 1, false, false},
            {normal, "backslash", 4, 0, 1, false, false},
            // row 5
            {42, "leftShift", 5, 0, 0, true, false},
            {normal, "ukbackslash", 5, 0, 1, false, false},
            {normal, "z", 5, 0, 1, false, false},
            {normal, "x", 5, 0, 1, false, false},
            {normal, "c", 5, 0, 1, false, false},
            {normal, "v", 5, 0, 1, false, false},
            {normal, "b", 5, 0, 1, false, false},
            {normal, "n", 5, 0, 1, false, false},
            {normal, "m", 5, 0, 1, false, false},
            {normal, "comma", 5, 0, 1, false, false},
            {normal, "period", 5, 0, 1, false, false},
            {normal, "slash", 5, 0, 1, false, false},
            {kw.at("rightShift"), "rightShift", 5, 0, 1, false, false},
            {normal, "upArrow", 5, checkedAdd(normal, keypad), 1, false, false},
            // row 6
            {bottom, "leftControl", 6, 0, 0, true, false},
            {bottom, "leftWin", 6, 0, 1, false, false},
            {bottom, "leftAlt", 6, 0, 1, false, false},
            {kw.at("space"), "space", 6, 0, 1, false, false},
            {bottom, "rightAlt", 6, 0, 1, false, false},
            {bottom, "menu", 6, 0, 1, false, false},
            {bottom, "fn", 6, 0, 1, false, true},
            {bottom, "rightControl", 6, 0, 1, false, false},
            {normal, "leftArrow", 6, keypad, 0, false, false},
            {normal, "downArrow", 6, 0, 1, false, false},
            {normal, "rightArrow", 6, 0, 1, false, false},
        };
    }();
    return keys;
}

}  // namespace keyloom
