#pragma once

#include <cstdint>
#include <string>

namespace keyloom {

// One stored second-generation key assignment. `layerId` has no column: it is never stored and reads back as 0.
struct MarrowinKey {
    int64_t keyId = 0;
    int64_t layerId = 0;
    int64_t profId = 0;
    int64_t keyValue = 0;
    int64_t macroType = 0;
    int64_t macroValue = 0;
    int64_t macro2Value = 0;
    int64_t macro3Value = 0;
    std::string macroDesc{};

    bool operator==(const MarrowinKey&) const = default;
};

}  // namespace keyloom
