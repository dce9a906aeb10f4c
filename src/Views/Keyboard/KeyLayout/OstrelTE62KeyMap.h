#pragma once

#include "Views/Keyboard/KeyLayout/KeyMapTypes.h"

namespace keyloom {

// Key maps of the OstrelTE 62 (Ostrel TE, product id 592; ISO). The picture's extra "ukbackslash" cap has
// no row here.
const KeyNameMap& OstrelTE_62_SuperKeyNameMap();
const KeyCodeMap& OstrelTE_62_SuperKeyCodeMap();

}  // namespace keyloom
