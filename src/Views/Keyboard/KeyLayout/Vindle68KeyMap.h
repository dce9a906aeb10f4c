#pragma once

#include "Views/Keyboard/KeyLayout/KeyMapTypes.h"

namespace keyloom {

// Key maps of the Vindle 68. The name map also knows 18 keys the keyboard has no cap for.
const KeyNameMap& Vindle_68_SuperKeyNameMap();
const KeyCodeMap& Vindle_68_SuperKeyCodeMap();

}  // namespace keyloom
