#pragma once

#include "Views/Keyboard/KeyLayout/KeyMapTypes.h"

namespace keyloom {

// Key maps of the MarrowinV2 in its 72-key (ISO) layout.
const KeyNameMap& MarrowinV2_72_SuperKeyNameMap();
const KeyCodeMap& MarrowinV2_72_SuperKeyCodeMap();

}  // namespace keyloom
