#pragma once

// Picture of the Ostrel 61 (Ostrel PRO and Ostrel MAX) and the Ostrel metric tables, which the OstrelTE 61 and 62
// share. Its key widths are in OstrelKeyWidth.h.

#include "Views/Keyboard/KeyLayout/KeyLayoutTypes.h"
#include "Views/Keyboard/KeyLayout/OstrelKeyWidth.h"

namespace keyloom {

const RowPositionTable& Ostrel_EN_Y_Pos();
const SizeTable& Ostrel_EN_Size_Conf();

// The 61 caps in drawing order.
const KeyLayout& Ostrel_61_Keys();

}  // namespace keyloom
