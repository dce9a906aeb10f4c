#include "Views/Keyboard/KeyLayout/Tolmek84KeyMap.h"

#include "Views/Keyboard/KeyLayout/Vindle68KeyMap.h"

namespace keyloom {

namespace {
constexpr auto flag = Quorvath_TE_EN_Type::flag;
}

// The Tolmek 84 and the Vindle 68 know the same 86 keys by name, with the same values; one table serves both.
const KeyNameMap& Tolmek_84_SuperKeyNameMap() {
    return Vindle_68_SuperKeyNameMap();
}

const KeyCodeMap& Tolmek_84_SuperKeyCodeMap() {
    // One row per cap; insert and menu are known by name only.
    static const KeyCodeMap map{
        {41, codeRow("escape", "Esc", "Escape", 1, 0)},
        {58, codeRow("f1", "F1", "F1", 2, 1)},
        {59, codeRow("f2", "F2", "F2", 3, 2)},
        {60, codeRow("f3", "F3", "F3", 4, 3)},
        {61, codeRow("f4", "F4", "F4", 5, 4)},
        {62, codeRow("f5", "F5", "F5", 6, 5)},
        {63, codeRow("f6", "F6", "F6", 7, 6)},
        {64, codeRow("f7", "F7", "F7", 8, 7)},
        {65, codeRow("f8", "F8", "F8", 9, 8)},
        {66, codeRow("f9", "F9", "F9", 10, 9)},
        {67, codeRow("f10", "F10", "F10", 11, 10)},
        {68, codeRow("f11", "F11", "F11", 12, 11)},
        {69, codeRow("f12", "F12", "F12", 13, 12)},
        {71, codeRow("scrollLock", "SCRLK", "Scroll Lock", 112, 13)},
        {72, codeRow("pause", "Pause", "Pause", 119, 14)},
        {76, codeRow("delete", "Del", "Delete", 115, 15)},
        {53, codeRow("backtick", "`", "backtick", 19, 16)},
        {30, codeRow("i1", "1", "1", 20, 17)},
        {31, codeRow("i2", "2", "2", 21, 18)},
        {32, codeRow("i3", "3", "3", 22, 19)},
        {33, codeRow("i4", "4", "4", 23, 20)},
        {34, codeRow("i5", "5", "5", 24, 21)},
        {35, codeRow("i6", "6", "6", 25, 22)},
        {36, codeRow("i7", "7", "7", 26, 23)},
        {37, codeRow("i8", "8", "8", 27, 24)},
        {38, codeRow("i9", "9", "9", 28, 25)},
        {39, codeRow("i0", "0", "0", 29, 26)},
        {45, codeRow("minus", "-", "-", 30, 27)},
        {46, codeRow("equal", "=", "=", 31, 28)},
        {42, codeRow("backspace", "Back", "Backspace", 103, 29)},
        {74, codeRow("home", "Home", "Home", 117, 30)},
        {43, codeRow("tab", "Tab", "Tab", 37, 31)},
        {20, codeRow("q", "Q", "Q", 38, 32)},
        {26, codeRow("w", "W", "W", 39, 33)},
        {8, codeRow("e", "E", "E", 40, 34)},
        {21, codeRow("r", "R", "R", 41, 35)},
        {23, codeRow("t", "T", "T", 42, 36)},
        {28, codeRow("y", "Y", "Y", 43, 37)},
        {24, codeRow("u", "U", "U", 44, 38)},
        {12, codeRow("i", "I", "I", 45, 39)},
        {18, codeRow("o", "O", "O", 46, 40)},
        {19, codeRow("p", "P", "P", 47, 41)},
        {47, codeRow("leftBracket", "[", "[", 48, 42)},
        {48, codeRow("rightBracket", "]", "]", 49, 43)},
        {49, codeRow("backslash", "\\", "\\", 67, 44)},
        {77, codeRow("end", "End", "End", 118, 45)},
        {57, codeRow("capsLock", "CAPS", "Caps Lock", 55, 46, flag)},
        {4, codeRow("a", "A", "A", 56, 47)},
        {22, codeRow("s", "S", "S", 57, 48)},
        {7, codeRow("d", "D", "D", 58, 49)},
        {9, codeRow("f", "F", "F", 59, 50)},
        {10, codeRow("g", "G", "G", 60, 51)},
        {11, codeRow("h", "H", "H", 61, 52)},
        {13, codeRow("j", "J", "J", 62, 53)},
        {14, codeRow("k", "K", "K", 63, 54)},
        {15, codeRow("l", "L", "L", 64, 55)},
        {51, codeRow("semicolon", ";", ";", 65, 56)},
        {52, codeRow("quote", "'", "'", 66, 57)},
        {40, codeRow("enter", "Enter", "Enter", 85, 58)},
        {75, codeRow("pageUp", "Page Up", "Page Up", 121, 59)},
        {225, codeRow("leftShift", "Left Shift", "Left Shift", 73, 60, flag)},
        {29, codeRow("z", "Z", "Z", 74, 61)},
        {27, codeRow("x", "X", "X", 75, 62)},
        {6, codeRow("c", "C", "C", 76, 63)},
        {25, codeRow("v", "V", "V", 77, 64)},
        {5, codeRow("b", "B", "B", 78, 65)},
        {17, codeRow("n", "N", "N", 79, 66)},
        {16, codeRow("m", "M", "M", 80, 67)},
        {54, codeRow("comma", "<", "<", 81, 68)},
        {55, codeRow("period", ">", ">", 82, 69)},
        {56, codeRow("slash", "?", "?", 83, 70)},
        {229, codeRow("rightShift", "Right Shift", "Right Shift", 84, 71, flag)},
        {82, codeRow("upArrow", "Up Arrow", "Up Arrow", 101, 72)},
        {78, codeRow("pageDown", "Page Down", "Page Down", 120, 73)},
        {224, codeRow("leftControl", "Left Ctrl", "Left Control", 91, 74, flag)},
        // leftAlt and leftWin point at each other's cap; their slots follow the picture's names (leftWin 92).
        {226, codeRow("leftAlt", "Option", "Option", 93, 75, flag)},
        {227, codeRow("leftWin", "Left Cmd", "Left Command", 92, 76, flag)},
        {44, codeRow("space", "Space", "Space", 94, 77)},
        {230, codeRow("rightAlt", "Option", "Option", 95, 78, flag)},
        {175, codeRow("fn", "Fn", "Fn", 96, 79)},
        // Slot 97 here, 98 in the name map (where 97 is menu's).
        {228, codeRow("rightControl", "Right Ctrl", "Right Control", 97, 80, flag)},
        {80, codeRow("leftArrow", "Left Arrow", "Left Arrow", 99, 81)},
        {81, codeRow("downArrow", "Down Arrow", "Down Arrow", 100, 82)},
        {79, codeRow("rightArrow", "Right Arrow", "Right Arrow", 102, 83)},
    };
    return map;
}

}  // namespace keyloom
