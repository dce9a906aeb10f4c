#pragma once

#include "Views/Keyboard/KeyLayout/KeyMapTypes.h"

namespace keyloom {

// Key maps of the Quorvath 91 (JIS, Fn, knob; no Menu).
const KeyNameMap& Quorvath_91_SuperKeyNameMap();
const KeyCodeMap& Quorvath_91_SuperKeyCodeMap();

}  // namespace keyloom
