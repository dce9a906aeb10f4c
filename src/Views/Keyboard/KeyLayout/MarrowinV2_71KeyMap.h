#pragma once

#include "Views/Keyboard/KeyLayout/KeyMapTypes.h"

namespace keyloom {

// Key maps of the MarrowinV2 in its 71-key (ANSI) layout. Slots ("layout_index") are the keyboard's own, from 1.
const KeyNameMap& MarrowinV2_71_SuperKeyNameMap();
const KeyCodeMap& MarrowinV2_71_SuperKeyCodeMap();

}  // namespace keyloom
