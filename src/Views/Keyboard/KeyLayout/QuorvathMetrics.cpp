#include "Views/Keyboard/KeyLayout/QuorvathMetrics.h"

namespace keyloom {

const KeyWidthTable& Quorvath_TE_EN_Key_Width() {
    static const KeyWidthTable table{
        {"normal", 35},     {"backspace", 72},    {"tab", 53},      {"backslash", 54},
        {"capsLock", 62},   {"enter", 80},        {"91enter", 100}, {"leftShift", 80},
        {"rightShift", 98}, {"bottomNormal", 44}, {"space", 224},   {"91space", 177},
    };
    return table;
}

const RowPositionTable& Quorvath_TE_EN_Y_Pos() {
    static const RowPositionTable table{{1, 381}, {2, 337}, {3, 301}, {4, 265}, {5, 229}, {6, 193}};
    return table;
}

const SizeTable& Quorvath_TE_EN_Size_Conf() {
    static const SizeTable table{
        {"key_height", 35},
        {"container_margin_top", 13},
        {"container_margin_right", 21},
        {"container_margin_bottom", 17},
        {"container_margin_left", 21},
        {"key_separator", 1},
        {"keypad_margin_left", 9},
    };
    return table;
}

}  // namespace keyloom
