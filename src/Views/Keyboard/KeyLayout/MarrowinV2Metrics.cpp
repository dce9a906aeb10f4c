#include "Views/Keyboard/KeyLayout/MarrowinV2Metrics.h"

namespace keyloom {

const KeyWidthTable& MarrowinV2_TE_EN_Key_Width() {
    static const KeyWidthTable table{
        {"normal", 39},      {"backspace", 75},    {"tab", 55},      {"backslash", 55},
        {"capsLock", 63},    {"enter", 87},        {"91enter", 100}, {"leftShift", 84},
        {"rightShift", 106}, {"bottomNormal", 48}, {"space", 249},   {"91space", 177},
    };
    return table;
}

const RowPositionTable& MarrowinV2_TE_EN_Y_Pos() {
    static const RowPositionTable table{{1, 381}, {2, 340}, {3, 301}, {4, 262}, {5, 222}};
    return table;
}

const SizeTable& MarrowinV2_TE_EN_Size_Conf() {
    static const SizeTable table{
        {"key_height", 38},
        {"container_margin_top", 12},
        {"container_margin_right", 21},
        {"container_margin_bottom", 17},
        {"container_margin_left", 12},
        {"key_separator", 1},
        {"keypad_margin_left", 9},
    };
    return table;
}

}  // namespace keyloom
