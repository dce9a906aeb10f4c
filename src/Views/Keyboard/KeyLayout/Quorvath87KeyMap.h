#pragma once

#include "Views/Keyboard/KeyLayout/KeyMapTypes.h"

namespace keyloom {

// Key maps of the Quorvath 87 (ANSI, Fn, knob).
const KeyNameMap& Quorvath_87_SuperKeyNameMap();
const KeyCodeMap& Quorvath_87_SuperKeyCodeMap();

}  // namespace keyloom
