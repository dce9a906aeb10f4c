#pragma once

#include "Views/Keyboard/KeyLayout/KeyLayoutTypes.h"

namespace keyloom {

// The 68 caps of the Vindle 68 picture in drawing order.
const KeyLayout& Vindle_68_Keys();

}  // namespace keyloom
