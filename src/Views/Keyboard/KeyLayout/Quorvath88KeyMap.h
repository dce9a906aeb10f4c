#pragma once

#include "Views/Keyboard/KeyLayout/KeyMapTypes.h"

namespace keyloom {

// Key maps of the Quorvath 88 (ISO, Fn, knob; no right Command).
const KeyNameMap& Quorvath_88_SuperKeyNameMap();
const KeyCodeMap& Quorvath_88_SuperKeyCodeMap();

}  // namespace keyloom
