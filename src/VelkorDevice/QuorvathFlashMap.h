#pragma once

#include <cstdint>
#include <optional>

namespace keyloom {

// Key slots per profile in the flash of the first-generation model with this product id; none for other ids.
std::optional<int64_t> quorvathKeysPerProfile(int64_t productId);

// Flash slot of a key in a profile: the key's "layout_index" in the code map of the model with this product id
// (never the current-device map: the channel writes to its own keyboard), plus kbProfile times the keys per
// profile. None when the product id is not a first-generation keyboard, the model has no such key, or the
// profile is negative.
std::optional<int64_t> quorvathFlashSlot(int64_t productId, int64_t keyValue, int64_t kbProfile);

}  // namespace keyloom
