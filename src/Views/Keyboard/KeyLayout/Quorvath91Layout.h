#pragma once

#include "Views/Keyboard/KeyLayout/KeyLayoutTypes.h"

namespace keyloom {

// The 91 caps of the Quorvath 91 picture in drawing order.
const KeyLayout& Quorvath_91_Keys();

}  // namespace keyloom
