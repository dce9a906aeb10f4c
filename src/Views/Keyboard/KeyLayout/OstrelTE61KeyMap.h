#pragma once

#include "Views/Keyboard/KeyLayout/KeyMapTypes.h"

namespace keyloom {

// Key maps of the OstrelTE 61 (Ostrel TE, product id 591).
const KeyNameMap& OstrelTE_61_SuperKeyNameMap();
const KeyCodeMap& OstrelTE_61_SuperKeyCodeMap();

}  // namespace keyloom
