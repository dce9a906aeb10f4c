#pragma once

#include "Views/Keyboard/KeyLayout/KeyLayoutTypes.h"

namespace keyloom {

// The 71 caps of the MarrowinV2 71-key (ANSI) picture in drawing order.
const KeyLayout& MarrowinV2_71_Keys();

}  // namespace keyloom
