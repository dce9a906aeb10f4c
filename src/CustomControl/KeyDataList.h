#pragma once

// Key lists for KeyboardView::initUI, from the model tables.

#include <cstdint>
#include <vector>

#include "CustomControl/KeyData.h"
#include "Views/Keyboard/KeyLayout/KeyModels.h"
#include "Views/Keyboard/KeyLayout/KeyPlacement.h"

namespace keyloom {

// One KeyData per placed cap, in order: index, frame and key name; no view yet.
std::vector<KeyData> keyDataFromCaps(const std::vector<PlacedCap>& caps);

// The first-generation editor's model by device type: 2 and 5 the 88-key, 3 and 6 the 91-key, any other the 87-key.
KeyModelId quorvathModelForDeviceType(int64_t deviceType);

// The first-generation editor's key list: its model's caps placed from the Quorvath metrics (rows start at
// "container_margin_left" + 1; y = the row's position less 176).
std::vector<KeyData> quorvathKeyData(int64_t deviceType);

}  // namespace keyloom
