#include "Views/Keyboard/KeyLayout/Tolmek84Metrics.h"

namespace keyloom {

const KeyWidthTable& Tolmek_84_EN_Key_Width() {
    static const KeyWidthTable table{
        {"normal", 41},     {"backspace", 81},    {"tab", 60},     {"backslash", 60},
        {"capsLock", 69},   {"enter", 93},        {"91enter", 99}, {"leftShift", 89},
        {"rightShift", 73}, {"bottomNormal", 50}, {"space", 262},  {"91space", 177},
    };
    return table;
}

const RowPositionTable& Tolmek_84_EN_Y_Pos() {
    static const RowPositionTable table{{1, 286}, {2, 244}, {3, 202}, {4, 160}, {5, 118}, {6, 76}};
    return table;
}

const SizeTable& Tolmek_84_EN_Size_Conf() {
    static const SizeTable table{
        {"key_height", 41},
        {"container_margin_top", 12},
        {"container_margin_right", 21},
        {"container_margin_bottom", 17},
        {"container_margin_left", 16},
        {"key_separator", 1},
        {"keypad_margin_left", 9},
    };
    return table;
}

}  // namespace keyloom
