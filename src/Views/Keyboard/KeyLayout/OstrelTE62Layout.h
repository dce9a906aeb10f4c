#pragma once

// Picture and metric tables of the OstrelTE 62, the ISO arrangement: a tall enter closing row 2, backslash closing
// row 3, and a short left shift followed by the extra "ukbackslash" cap. The metrics are the Ostrel ones.

#include "Views/Keyboard/KeyLayout/KeyLayoutTypes.h"

namespace keyloom {

const KeyWidthTable& OstrelTE62_EN_Key_Width();
const RowPositionTable& OstrelTE62_EN_Y_Pos();
const SizeTable& OstrelTE62_EN_Size_Conf();

// The 62 caps in drawing order.
const KeyLayout& OstrelTE_62_Keys();

}  // namespace keyloom
