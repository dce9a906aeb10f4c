#pragma once

#include <cstdint>
#include <string_view>

#include "platform/hid/HidDevice.h"

namespace keyloom {

// An integer device property: 0 when it is absent, a text, or a number that is not exactly a signed 64-bit integer.
int64_t integerProperty(const HidDevice& device, std::string_view key);

}  // namespace keyloom
