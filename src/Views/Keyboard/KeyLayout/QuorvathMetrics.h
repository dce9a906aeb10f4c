#pragma once

// Metric tables of the Quorvath pictures (shared by the 87, 88 and 91).

#include "Views/Keyboard/KeyLayout/KeyLayoutTypes.h"

namespace keyloom {

const KeyWidthTable& Quorvath_TE_EN_Key_Width();
const RowPositionTable& Quorvath_TE_EN_Y_Pos();
const SizeTable& Quorvath_TE_EN_Size_Conf();

}  // namespace keyloom
