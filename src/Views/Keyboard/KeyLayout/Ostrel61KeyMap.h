#pragma once

#include "Views/Keyboard/KeyLayout/KeyMapTypes.h"

namespace keyloom {

// Key maps of the Ostrel 61 (Ostrel PRO and Ostrel MAX). The OstrelTE 61 and 62 carry the very same pair. The name
// map also knows the navigation keys the code map lacks; the code map alone knows F1-F12 and the backtick.
const KeyNameMap& Ostrel_61_SuperKeyNameMap();
const KeyCodeMap& Ostrel_61_SuperKeyCodeMap();

}  // namespace keyloom
