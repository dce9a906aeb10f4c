#pragma once

// Which first-generation keyboard an editor edits, told from its product id by the product table.

#include <cstdint>
#include <optional>

#include "Views/Keyboard/KeyLayout/KeyModels.h"

namespace keyloom {

// The editor's device type, 1 to 6, for the six first-generation product ids; none for any other id (the editor
// then keeps device type 1).
std::optional<int64_t> quorvathDeviceType(int64_t productId);

// The layout a device type draws and whose key maps the editor uses: 1 and 4 the 87-key, 2 and 5 the 88-key, 3 and 6
// the 91-key model; any other type the 87-key model.
KeyModelId quorvathLayout(int64_t deviceType);

}  // namespace keyloom
