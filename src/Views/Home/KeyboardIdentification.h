#pragma once

#include <cstdint>
#include <optional>
#include <string>

#include "Views/Keyboard/KeyLayout/KeyModels.h"

namespace keyloom {

// One row of the home screen's identification table. desc is empty when the description is the product name.
struct KeyboardIdentity {
    int64_t keyboardType = 1;
    std::optional<std::string> keyboardDesc;
    std::string keyboardImage = "big_kb_pro_87";
    KeyModelId model = KeyModelId::Quorvath87;  // whose key maps become the current-device maps
};

// Tells the model from vendor id, product id and the exact USB product name, by the product table.
KeyboardIdentity identifyKeyboard(int64_t vendorId, int64_t productId, const std::string& name);

// The product name that is never tracked as a keyboard.
inline constexpr const char* kIgnoredProductName = "Smart Wireless Device";

}  // namespace keyloom
