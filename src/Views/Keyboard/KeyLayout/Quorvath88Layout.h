#pragma once

#include "Views/Keyboard/KeyLayout/KeyLayoutTypes.h"

namespace keyloom {

// The 88 caps of the Quorvath 88 picture in drawing order.
const KeyLayout& Quorvath_88_Keys();

}  // namespace keyloom
