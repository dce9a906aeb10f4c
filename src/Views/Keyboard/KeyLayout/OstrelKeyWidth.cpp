#include "Views/Keyboard/KeyLayout/OstrelKeyWidth.h"

namespace keyloom {

const KeyWidthTable& Ostrel_EN_Key_Width() {
    static const KeyWidthTable table{
        {"normal", 41},      {"backspace", 75},    {"tab", 56},      {"backslash", 56},
        {"capsLock", 65},    {"enter", 89},        {"91enter", 100}, {"leftShift", 86},
        {"rightShift", 110}, {"bottomNormal", 50}, {"space", 260},   {"91space", 177},
    };
    return table;
}

}  // namespace keyloom
