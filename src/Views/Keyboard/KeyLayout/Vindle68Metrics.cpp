#include "Views/Keyboard/KeyLayout/Vindle68Metrics.h"

namespace keyloom {

const KeyWidthTable& Vindle_68_EN_Key_Width() {
    static const KeyWidthTable table{
        {"normal", 40},     {"backspace", 80},    {"tab", 60},      {"backslash", 60},
        {"capsLock", 69},   {"enter", 91},        {"91enter", 100}, {"leftShift", 89},
        {"rightShift", 72}, {"bottomNormal", 50}, {"space", 255},   {"91space", 177},
    };
    return table;
}

const RowPositionTable& Vindle_68_EN_Y_Pos() {
    static const RowPositionTable table{{1, 266}, {2, 224}, {3, 182}, {4, 140}, {5, 98}};
    return table;
}

const SizeTable& Vindle_68_EN_Size_Conf() {
    static const SizeTable table{
        {"key_height", 40},
        {"container_margin_top", 12},
        {"container_margin_right", 21},
        {"container_margin_bottom", 17},
        {"container_margin_left", 8},
        {"key_separator", 1},
        {"keypad_margin_left", 9},
    };
    return table;
}

}  // namespace keyloom
