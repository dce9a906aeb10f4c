#pragma once

#include "Views/Keyboard/KeyLayout/KeyMapTypes.h"

namespace keyloom {

// Key maps of the Tolmek 84. Its name map is the Vindle 68's (the same rows).
const KeyNameMap& Tolmek_84_SuperKeyNameMap();
const KeyCodeMap& Tolmek_84_SuperKeyCodeMap();

}  // namespace keyloom
