#pragma once

#include <cstdint>
#include <string_view>

#include "platform/hid/HidHandle.h"

namespace keyloom {

// An integer device property: 0 when it is absent, a text, or a number that is not exactly a signed 64-bit integer.
int64_t integerProperty(const HidHandle& device, std::string_view key);

}  // namespace keyloom
