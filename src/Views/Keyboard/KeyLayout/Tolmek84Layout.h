#pragma once

#include "Views/Keyboard/KeyLayout/KeyLayoutTypes.h"

namespace keyloom {

// The 84 caps of the Tolmek 84 picture in drawing order.
const KeyLayout& Tolmek_84_Keys();

}  // namespace keyloom
