#pragma once

#include <cstdint>

namespace keyloom {

// One stored key colour: `rgbvalue` is 0xRRGGBB; `profile` is stored in the column profId.
struct RGBData {
    int64_t rgbId = 0;
    int64_t radiId = 0;
    int64_t profile = 0;
    int64_t keyvalue = 0;
    int64_t rgbvalue = 0;

    bool operator==(const RGBData&) const = default;
};

}  // namespace keyloom
