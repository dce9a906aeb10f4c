#include "Views/Keyboard/KeyLayout/Ostrel61KeyMap.h"

#include "Views/Keyboard/KeyLayout/MarrowinV2_71KeyMap.h"

namespace keyloom {

namespace {
constexpr auto flag = Quorvath_TE_EN_Type::flag;
}

// The Ostrel name map is the MarrowinV2 71 name map, row for row and in the same order: one stored copy.
const KeyNameMap& Ostrel_61_SuperKeyNameMap() { return MarrowinV2_71_SuperKeyNameMap(); }

// "pos_index" is the key's cap in the 61-key picture, as the maps were issued: keys without a cap of their own
// (pause, insert, home, pageUp) share another key's cap, and leftAlt/leftWin name each other's cap. The editor, not
// this table, decides how a code finds its cap.
const KeyCodeMap& Ostrel_61_SuperKeyCodeMap() {
    static const KeyCodeMap map{
        {41, codeRow("escape", "Esc", "Escape", 1, 0)},
        {58, codeRow("f1", "F1", "F1", 2)},
        {59, codeRow("f2", "F2", "F2", 3)},
        {60, codeRow("f3", "F3", "F3", 4)},
        {61, codeRow("f4", "F4", "F4", 5)},
        {62, codeRow("f5", "F5", "F5", 6)},
        {63, codeRow("f6", "F6", "F6", 7)},
        {64, codeRow("f7", "F7", "F7", 8)},
        {65, codeRow("f8", "F8", "F8", 9)},
        {66, codeRow("f9", "F9", "F9", 10)},
        {67, codeRow("f10", "F10", "F10", 11)},
        {68, codeRow("f11", "F11", "F11", 12)},
        {69, codeRow("f12", "F12", "F12", 13)},
        {72, codeRow("pause", "Pause", "Pause", 115, 45)},
        {53, codeRow("backtick", "`", "backtick", 19)},
        {30, codeRow("i1", "1", "1", 20, 1)},
        {31, codeRow("i2", "2", "2", 21, 2)},
        {32, codeRow("i3", "3", "3", 22, 3)},
        {33, codeRow("i4", "4", "4", 23, 4)},
        {34, codeRow("i5", "5", "5", 24, 5)},
        {35, codeRow("i6", "6", "6", 25, 6)},
        {36, codeRow("i7", "7", "7", 26, 7)},
        {37, codeRow("i8", "8", "8", 27, 8)},
        {38, codeRow("i9", "9", "9", 28, 9)},
        {39, codeRow("i0", "0", "0", 29, 10)},
        {45, codeRow("minus", "-", "-", 30, 11)},
        {46, codeRow("equal", "=", "=", 31, 12)},
        {42, codeRow("backspace", "Back", "Backspace", 103, 13)},
        {73, codeRow("insert", "Ins", "Insert", 116, 14)},
        {74, codeRow("home", "Home", "Home", 117, 15)},
        {75, codeRow("pageUp", "Page Up", "Page Up", 118, 46)},
        {43, codeRow("tab", "Tab", "Tab", 37, 14)},
        {20, codeRow("q", "Q", "Q", 38, 15)},
        {26, codeRow("w", "W", "W", 39, 16)},
        {8, codeRow("e", "E", "E", 40, 17)},
        {21, codeRow("r", "R", "R", 41, 18)},
        {23, codeRow("t", "T", "T", 42, 19)},
        {28, codeRow("y", "Y", "Y", 43, 20)},
        {24, codeRow("u", "U", "U", 44, 21)},
        {12, codeRow("i", "I", "I", 45, 22)},
        {18, codeRow("o", "O", "O", 46, 23)},
        {19, codeRow("p", "P", "P", 47, 24)},
        {47, codeRow("leftBracket", "[", "[", 48, 25)},
        {48, codeRow("rightBracket", "]", "]", 49, 26)},
        {49, codeRow("backslash", "\\", "\\", 67, 27)},
        {57, codeRow("capsLock", "CAPS", "Caps Lock", 55, 28, flag)},
        {4, codeRow("a", "A", "A", 56, 29)},
        {22, codeRow("s", "S", "S", 57, 30)},
        {7, codeRow("d", "D", "D", 58, 31)},
        {9, codeRow("f", "F", "F", 59, 32)},
        {10, codeRow("g", "G", "G", 60, 33)},
        {11, codeRow("h", "H", "H", 61, 34)},
        {13, codeRow("j", "J", "J", 62, 35)},
        {14, codeRow("k", "K", "K", 63, 36)},
        {15, codeRow("l", "L", "L", 64, 37)},
        {51, codeRow("semicolon", ";", ";", 65, 38)},
        {52, codeRow("quote", "'", "'", 66, 39)},
        {40, codeRow("enter", "Enter", "Enter", 85, 40)},
        {225, codeRow("leftShift", "Left Shift", "Left Shift", 73, 41, flag)},
        {29, codeRow("z", "Z", "Z", 74, 42)},
        {27, codeRow("x", "X", "X", 75, 43)},
        {6, codeRow("c", "C", "C", 76, 44)},
        {25, codeRow("v", "V", "V", 77, 45)},
        {5, codeRow("b", "B", "B", 78, 46)},
        {17, codeRow("n", "N", "N", 79, 47)},
        {16, codeRow("m", "M", "M", 80, 48)},
        {54, codeRow("comma", "<", "<", 81, 49)},
        {55, codeRow("period", ">", ">", 82, 50)},
        {56, codeRow("slash", "?", "?", 83, 51)},
        {229, codeRow("rightShift", "Right Shift", "Right Shift", 84, 52, flag)},
        {224, codeRow("leftControl", "Left Ctrl", "Left Control", 91, 53, flag)},
        {226, codeRow("leftAlt", "Option", "Option", 93, 54, flag)},
        {227, codeRow("leftWin", "Left Cmd", "Left Command", 92, 55, flag)},
        {44, codeRow("space", "Space", "Space", 94, 56)},
        {230, codeRow("rightAlt", "Option", "Option", 95, 57, flag)},
        {101, codeRow("menu", "Menu", "Menu", 96, 58)},
        {228, codeRow("rightControl", "Right Ctrl", "Right Control", 97, 59, flag)},
        {255, codeRow("fn", "Fn", "Fn", 98, 60)},
    };
    return map;
}

}  // namespace keyloom
