#pragma once

#include "Views/Keyboard/KeyLayout/KeyLayoutTypes.h"

namespace keyloom {

// The 87 caps of the Quorvath 87 picture in drawing order.
const KeyLayout& Quorvath_87_Keys();

}  // namespace keyloom
