#include "Views/Keyboard/KeyLayout/OstrelTE61Layout.h"

#include "Views/Keyboard/KeyLayout/Ostrel61Layout.h"

namespace keyloom {

// Cap for cap and value for value the Ostrel 61 picture, so one stored copy serves both.

const KeyWidthTable& OstrelTE61_EN_Key_Width() {
    return Ostrel_EN_Key_Width();
}

const RowPositionTable& OstrelTE61_EN_Y_Pos() {
    return Ostrel_EN_Y_Pos();
}

const SizeTable& OstrelTE61_EN_Size_Conf() {
    return Ostrel_EN_Size_Conf();
}

const KeyLayout& OstrelTE_61_Keys() {
    return Ostrel_61_Keys();
}

}  // namespace keyloom
