#include "Views/Keyboard/Marrowin/core/MarrowinKeyCaps.h"

#include <algorithm>
#include <array>

#include "Views/Keyboard/Marrowin/core/MarrowinKeyLookup.h"

namespace keyloom {

namespace {

constexpr int64_t kGroupAll = 650;
constexpr int64_t kGroupWasd = 651;
constexpr int64_t kGroupRightOfSpace = 652;
constexpr int64_t kGroupDigits = 653;
constexpr int64_t kGroupDigitRow = 654;

// Codes at or above this are stored groups of the first generation, not keys of the picture.
constexpr int64_t kFirstGroupCode = 600;

constexpr std::array<int64_t, 4> kWasd = {26, 4, 22, 7};
constexpr std::array<int64_t, 4> kArrows = {82, 80, 81, 79};
// The 61/62-key models have no arrow keys; these four take their place on the caps.
constexpr std::array<int64_t, 4> kArrowSubstitutes = {56, 230, 101, 228};

bool hasArrowSubstitutes(int64_t deviceType) {
    // 103 is drawn with the same picture and maps as 100, which lack the arrow codes.
    return deviceType == 100 || deviceType == 103 || deviceType == 105 || deviceType == 106;
}

std::vector<size_t> capsOfCodes(std::span<const int64_t> codes, const KeyCodeMap& codeMap,
                                std::span<const std::string> capNames) {
    std::vector<size_t> caps;
    for (int64_t code : codes)
        if (auto cap = capOfCode(code, codeMap, capNames)) caps.push_back(*cap);
    return caps;
}

std::vector<size_t> positions(size_t first, size_t last, size_t capCount) {
    std::vector<size_t> caps;
    for (size_t p = first; p <= last && p < capCount; ++p) caps.push_back(p);
    return caps;
}

}  // namespace

std::optional<size_t> capOfCode(int64_t code, const KeyCodeMap& codeMap, std::span<const std::string> capNames) {
    const KeyMapRow* row = codeMap.find(code);
    if (!row) return std::nullopt;
    if (row->key_name) {
        const auto named = std::find(capNames.begin(), capNames.end(), *row->key_name);
        if (named != capNames.end()) return static_cast<size_t>(named - capNames.begin());
    }
    if (row->pos_index && *row->pos_index >= 0 && static_cast<uint64_t>(*row->pos_index) < capNames.size())
        return static_cast<size_t>(*row->pos_index);
    return std::nullopt;
}

std::optional<std::vector<size_t>> groupCaps(int64_t tag, int64_t deviceType, const KeyCodeMap& codeMap,
                                             std::span<const std::string> capNames) {
    switch (tag) {
        case kGroupAll:
            return positions(0, capNames.size(), capNames.size());
        case kGroupWasd:
            return capsOfCodes(kWasd, codeMap, capNames);
        case kGroupRightOfSpace:
            return capsOfCodes(hasArrowSubstitutes(deviceType) ? kArrowSubstitutes : kArrows, codeMap, capNames);
        case kGroupDigits:
            return positions(1, 10, capNames.size());
        case kGroupDigitRow:
            return positions(1, 12, capNames.size());
        default:
            return std::nullopt;
    }
}

std::vector<CapColour> storedColourCaps(std::span<const RGBData> rows, const KeyCodeMap& codeMap,
                                        std::span<const std::string> capNames) {
    std::vector<CapColour> painted;
    for (const RGBData& row : rows) {
        if (row.keyvalue >= kFirstGroupCode) continue;
        if (auto cap = capOfCode(row.keyvalue, codeMap, capNames)) painted.push_back({*cap, row.rgbvalue});
    }
    return painted;
}

std::vector<RGBData> perKeyColourRows(std::span<const std::string> capNames, std::span<const int64_t> capColours,
                                      const KeyNameMap& nameMap, int64_t radiId, int64_t profile) {
    std::vector<RGBData> rows;
    for (size_t i = 0; i < capNames.size() && i < capColours.size(); ++i) {
        if (auto code = keyCodeForCapName(capNames[i], nameMap))
            rows.push_back(RGBData{0, radiId, profile, *code, capColours[i]});
    }
    return rows;
}

}  // namespace keyloom
