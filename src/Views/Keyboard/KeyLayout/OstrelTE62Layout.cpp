#include "Views/Keyboard/KeyLayout/OstrelTE62Layout.h"

#include "Views/Keyboard/KeyLayout/Ostrel61Layout.h"

namespace keyloom {

// The metric tables are the Ostrel ones value for value; one stored copy serves the family.

const KeyWidthTable& OstrelTE62_EN_Key_Width() {
    return Ostrel_EN_Key_Width();
}

const RowPositionTable& OstrelTE62_EN_Y_Pos() {
    return Ostrel_EN_Y_Pos();
}

const SizeTable& OstrelTE62_EN_Size_Conf() {
    return Ostrel_EN_Size_Conf();
}

const KeyLayout& OstrelTE_62_Keys() {
    static const KeyLayout keys = [] {
        const KeyWidthTable& kw = OstrelTE62_EN_Key_Width();
        const int64_t normal = kw.at("normal");
        const int64_t bottom = kw.at("bottomNormal");
        // The ISO caps have widths of their own, outside the width classes.
        constexpr int64_t isoEnter = 55;
        constexpr int64_t isoLeftShift = 45;
        constexpr int64_t ukBackslash = 38;
        return KeyLayout{
            // row 1: the number keys come in groups; i3, i8, equal and backspace touch their left neighbours
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
            {isoEnter, "enter", 2, 0, 1, false, false},
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
            {normal, "backslash", 3, 0, 1, false, false},
            // row 4
            {isoLeftShift, "leftShift", 4, 0, 0, true, false},
            {ukBackslash, "ukbackslash", 4, 0, 1, false, false},
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
            // row 5
            {bottom, "leftControl", 5, 0, 0, true, false},
            {bottom, "leftWin", 5, 0, 1, false, false},
            {bottom, "leftAlt", 5, 0, 1, false, false},
            {kw.at("space"), "space", 5, 0, 1, false, false},
            {bottom, "rightAlt", 5, 0, 1, false, false},
            {bottom, "menu", 5, 0, 1, false, false},
            {bottom, "rightControl", 5, 0, 1, false, false},
            {bottom, "fn", 5, 0, 1, false, false},
        };
    }();
    return keys;
}

}  // namespace keyloom
