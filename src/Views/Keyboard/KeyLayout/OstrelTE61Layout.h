#pragma once

// Picture and metric tables of the OstrelTE 61: the same caps and metrics as the Ostrel 61.

#include "Views/Keyboard/KeyLayout/KeyLayoutTypes.h"

namespace keyloom {

const KeyWidthTable& OstrelTE61_EN_Key_Width();
const RowPositionTable& OstrelTE61_EN_Y_Pos();
const SizeTable& OstrelTE61_EN_Size_Conf();

// The 61 caps in drawing order.
const KeyLayout& OstrelTE_61_Keys();

}  // namespace keyloom
