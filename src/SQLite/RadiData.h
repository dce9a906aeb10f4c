#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace keyloom {

// One stored lighting mode of a profile. The mode number travels inside `buffer` (the mode's lighting report image),
// at byte 2 in the first generation and at byte 0 in the second.
struct RadiData {
    int64_t radiId = 0;
    int64_t profId = 0;
    std::string name{};
    int64_t layer = 0;
    int64_t status = 0;
    std::vector<uint8_t> buffer = std::vector<uint8_t>(8, 0);

    bool operator==(const RadiData&) const = default;
};

}  // namespace keyloom
