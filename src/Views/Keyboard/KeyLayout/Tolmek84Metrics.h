#pragma once

// Metric tables of the Tolmek 84 picture (six rows).

#include "Views/Keyboard/KeyLayout/KeyLayoutTypes.h"

namespace keyloom {

const KeyWidthTable& Tolmek_84_EN_Key_Width();
const RowPositionTable& Tolmek_84_EN_Y_Pos();
const SizeTable& Tolmek_84_EN_Size_Conf();

}  // namespace keyloom
