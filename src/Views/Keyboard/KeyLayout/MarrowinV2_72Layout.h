#pragma once

#include "Views/Keyboard/KeyLayout/KeyLayoutTypes.h"

namespace keyloom {

// The 72 caps of the MarrowinV2 72-key (ISO) picture in drawing order.
const KeyLayout& MarrowinV2_72_Keys();

}  // namespace keyloom
