#pragma once

#include <cstdint>
#include <optional>

namespace keyloom {

// Flash slot of a key in a profile: the key's "layout_index" in the code map of the product table's model for this
// product id (never the current-device map: the channel writes to its own keyboard), plus kbProfile times the
// product's keys per profile. None when the product id is not a first-generation keyboard, the model has no such key,
// or the profile is negative.
std::optional<int64_t> quorvathFlashSlot(int64_t productId, int64_t keyValue, int64_t kbProfile);

}  // namespace keyloom
