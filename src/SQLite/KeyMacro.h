#pragma once

#include <cstdint>
#include <string>

namespace keyloom {

// One stored first-generation key or knob assignment. `layerId` exists only in the knob table; `rev1Desc` and
// `rev2Desc` are stored in the columns reveDesc1 and reveDesc2.
struct KeyMacro {
    int64_t keyId = 0;
    int64_t layerId = 0;
    int64_t profId = 0;
    int64_t keyValue = 0;
    int64_t macroType = 0;
    int64_t macroValue = 0;
    std::string macroDesc{};
    int64_t reserve1 = 0;
    int64_t reserve2 = 0;
    std::string rev1Desc{};
    std::string rev2Desc{};

    bool operator==(const KeyMacro&) const = default;
};

}  // namespace keyloom
