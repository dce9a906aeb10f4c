#pragma once

// Metric tables of the MarrowinV2 pictures (shared by the 71- and 72-key layouts).

#include "Views/Keyboard/KeyLayout/KeyLayoutTypes.h"

namespace keyloom {

const KeyWidthTable& MarrowinV2_TE_EN_Key_Width();
const RowPositionTable& MarrowinV2_TE_EN_Y_Pos();
const SizeTable& MarrowinV2_TE_EN_Size_Conf();

}  // namespace keyloom
