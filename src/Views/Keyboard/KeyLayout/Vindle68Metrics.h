#pragma once

// Metric tables of the Vindle 68 picture.

#include "Views/Keyboard/KeyLayout/KeyLayoutTypes.h"

namespace keyloom {

const KeyWidthTable& Vindle_68_EN_Key_Width();
const RowPositionTable& Vindle_68_EN_Y_Pos();
const SizeTable& Vindle_68_EN_Size_Conf();

}  // namespace keyloom
