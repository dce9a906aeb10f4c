#include "Views/Keyboard/KeyLayout/MarrowinV2_71Layout.h"

#include "Views/Keyboard/KeyLayout/MarrowinV2Metrics.h"

namespace keyloom {

const KeyLayout& MarrowinV2_71_Keys() {
    static const KeyLayout keys = [] {
        const KeyWidthTable& kw = MarrowinV2_TE_EN_Key_Width();
        const int64_t normal = kw.at("normal");
        const int64_t bottom = kw.at("bottomNormal");
        const int64_t keypad = MarrowinV2_TE_EN_Size_Conf().at("keypad_margin_left");
        return KeyLayout{
            // row 1
            {normal, "escape", 1, 0, 0, true, false},
            {normal, "i1", 1, 0, 1, false, false},
            {normal, "i2", 1, 0, 1, false, false},
            {normal, "i3", 1, 0, 0, false, false},
            {normal, "i4", 1, 0, 1, false, false},
            {normal, "i5", 1, 0, 1, false, false},
            {normal, "i6", 1, 0, 1, false, false},
            {normal, "i7", 1, 0, 1, false, false},
            {normal, "i8", 1, 0, 0, false, false},
            {normal, "i9", 1, 0, 1, false, false},
            {normal, "i0", 1, 0, 1, false, false},
            {normal, "minus", 1, 0, 1, false, false},
            {normal, "equal", 1, 0, 0, false, false},
            {kw.at("backspace"), "backspace", 1, 0, 0, false, false},
            {normal, "insert", 1, 0, 1, false, false},
            {normal, "home", 1, 0, 1, false, false},
            // row 2
            {kw.at("tab"), "tab", 2, 0, 0, true, false},
            {normal, "q", 2, 0, 1, false, false},
            {normal, "w", 2, 0, 1, false, false},
            {normal, "e", 2, 0, 1, false, false},
            {normal, "r", 2, 0, 1, false, false},
            {normal, "t", 2, 0, 1, false, false},
            {normal, "y", 2, 0, 1, false, false},
            {normal, "u", 2, 0, 1, false, false},
            {normal, "i", 2, 0, 1, false, false},
            {normal, "o", 2, 0, 1, false, false},
            {normal, "p", 2, 0, 1, false, false},
            {normal, "leftBracket", 2, 0, 1, false, false},
            {normal, "rightBracket", 2, 0, 1, false, false},
            {kw.at("backslash"), "backslash", 2, 0, 1, false, false},
            {normal, "delete", 2, 0, 1, false, false},
            {normal, "end", 2, 0, 1, false, false},
            // row 3
            {kw.at("capsLock"), "capsLock", 3, 0, 0, true, false},
            {normal, "a", 3, 0, 1, false, false},
            {normal, "s", 3, 0, 1, false, false},
            {normal, "d", 3, 0, 1, false, false},
            {normal, "f", 3, 0, 1, false, false},
            {normal, "g", 3, 0, 1, false, false},
            {normal, "h", 3, 0, 1, false, false},
            {normal, "j", 3, 0, 1, false, false},
            {normal, "k", 3, 0, 1, false, false},
            {normal, "l", 3, 0, 1, false, false},
            {normal, "semicolon", 3, 0, 1, false, false},
            {normal, "quote", 3, 0, 1, false, false},
            {kw.at("enter"), "enter", 3, 0, 1, false, false},
            {normal, "pause", 3, 0, 1, false, true},
            {normal, "pageUp", 3, 0, 1, false, false},
            // row 4
            {kw.at("leftShift"), "leftShift", 4, 0, 0, true, false},
            {normal, "z", 4, 0, 1, false, false},
            {normal, "x", 4, 0, 1, false, false},
            {normal, "c", 4, 0, 1, false, false},
            {normal, "v", 4, 0, 1, false, false},
            {normal, "b", 4, 0, 1, false, false},
            {normal, "n", 4, 0, 1, false, false},
            {normal, "m", 4, 0, 1, false, false},
            {normal, "comma", 4, 0, 1, false, false},
            {normal, "period", 4, 0, 1, false, false},
            {normal, "slash", 4, 0, 1, false, false},
            {kw.at("rightShift"), "rightShift", 4, 0, 1, false, false},
            {normal, "upArrow", 4, 0, 1, false, false},
            {normal, "pageDown", 4, 0, 1, false, false},
            // row 5
            {bottom, "leftControl", 5, 0, 0, true, false},
            {bottom, "leftWin", 5, 0, 1, false, false},
            {bottom, "leftAlt", 5, 0, 1, false, false},
            {kw.at("space"), "space", 5, 0, 1, false, false},
            {bottom, "rightAlt", 5, 0, 1, false, false},
            {bottom, "fn", 5, 0, 1, false, true},
            {bottom, "rightControl", 5, 0, 1, false, false},
            {normal, "leftArrow", 5, keypad, 0, false, false},
            {normal, "downArrow", 5, 0, 1, false, false},
            {normal, "rightArrow", 5, 0, 1, false, false},
        };
    }();
    return keys;
}

}  // namespace keyloom
