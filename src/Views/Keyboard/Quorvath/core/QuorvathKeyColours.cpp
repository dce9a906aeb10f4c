#include "Views/Keyboard/Quorvath/core/QuorvathKeyColours.h"

#include <algorithm>

#include "Views/Keyboard/Marrowin/core/MarrowinKeyCaps.h"
#include "Views/Keyboard/Marrowin/core/MarrowinLightModes.h"

namespace keyloom {

namespace {

constexpr uint8_t kBlockCommand = 0xF3;
constexpr size_t kLastSlotByte = 3;
constexpr size_t kFirstSlotByte = 4;
// The block's slots after the keys: groups 601, (one unused), 602, 603, 600.
constexpr int64_t kSlotsAfterKeys = 41;

constexpr int64_t kAllKeysBox = 650;
constexpr int64_t kWasdBox = 655;
constexpr int64_t kArrowsBox = 656;
constexpr int64_t kDigitsBox = 657;
constexpr int64_t kFunctionKeysBox = 658;
constexpr std::array<int64_t, 4> kWasd = {26, 4, 22, 7};
constexpr std::array<int64_t, 4> kArrows = {82, 80, 81, 79};

std::optional<size_t> slotOfCode(int64_t code, const KeyCodeMap& codeMap, int64_t keyCount) {
    const KeyMapRow* row = codeMap.find(code);
    if (!row || row->layout_index < 0 || row->layout_index >= keyCount) return std::nullopt;
    return size_t(row->layout_index);
}

void setSlot(KeyColourBlock& block, int64_t slot, const std::array<uint8_t, 3>& rgb) {
    const size_t at = kFirstSlotByte + 3 * size_t(slot);
    if (slot < 0 || at + 3 > block.size()) return;
    std::copy(rgb.begin(), rgb.end(), block.begin() + std::ptrdiff_t(at));
}

std::vector<size_t> range(size_t first, size_t last, size_t capCount) {
    std::vector<size_t> positions;
    for (size_t p = first; p <= last && p < capCount; ++p) positions.push_back(p);
    return positions;
}

std::vector<size_t> positionsOfCodes(std::span<const int64_t> codes, const KeyCodeMap& codeMap,
                                     std::span<const std::string> capNames) {
    std::vector<size_t> positions;
    for (int64_t code : codes)
        if (auto p = capOfCode(code, codeMap, capNames)) positions.push_back(*p);
    return positions;
}

}  // namespace

int64_t keyColourValue(double red, double green, double blue) {
    return rgbValue(colourComponentByte(red), colourComponentByte(green), colourComponentByte(blue));
}

int64_t quorvathKeyCount(int64_t deviceType) {
    switch (deviceType) {
        case 2:
        case 5:
            return 88;
        case 3:
        case 6:
            return 91;
        default:
            return 87;
    }
}

std::optional<SlotRange> ledGroupSlots(int64_t group, int64_t keyCount) {
    switch (group) {
        case kLedGroup601:
            return SlotRange{keyCount, 14};
        case kLedGroup602:
            return SlotRange{keyCount + 15, 5};
        case kLedGroup603:
            return SlotRange{keyCount + 20, 15};
        case kLedGroup600:
            return SlotRange{keyCount + 35, 6};
        default:
            return std::nullopt;
    }
}

KeyColourBlock keyColourBlock(int64_t deviceType, std::span<const RGBData> rows, const KeyCodeMap& codeMap) {
    const int64_t keyCount = quorvathKeyCount(deviceType);
    KeyColourBlock block{};
    block[0] = kBlockCommand;
    block[kLastSlotByte] = uint8_t(keyCount + kSlotsAfterKeys - 1);
    for (const RGBData& row : rows) {
        const std::array<uint8_t, 3> rgb = rgbComponents(row.rgbvalue);
        if (const std::optional<SlotRange> group = ledGroupSlots(row.keyvalue, keyCount)) {
            for (int64_t s = group->first; s < group->first + group->count; ++s) setSlot(block, s, rgb);
        } else if (row.keyvalue < kLedGroup600) {
            if (auto slot = slotOfCode(row.keyvalue, codeMap, keyCount)) setSlot(block, int64_t(*slot), rgb);
        }
    }
    return block;
}

std::optional<int64_t> ledGroupOfBox(int64_t tag) {
    switch (tag) {
        case 651:
            return kLedGroup600;
        case 652:
            return kLedGroup602;
        case 653:
            return kLedGroup601;
        case 654:
            return kLedGroup603;
        default:
            return std::nullopt;
    }
}

std::optional<std::vector<size_t>> keyGroupPositions(int64_t tag, const KeyCodeMap& codeMap,
                                                     std::span<const std::string> capNames) {
    const size_t capCount = capNames.size();
    if (ledGroupOfBox(tag)) return std::vector<size_t>{};
    switch (tag) {
        case kAllKeysBox:
            return capCount ? range(0, capCount - 1, capCount) : std::vector<size_t>{};
        case kWasdBox:
            return positionsOfCodes(kWasd, codeMap, capNames);
        case kArrowsBox:
            return positionsOfCodes(kArrows, codeMap, capNames);
        case kDigitsBox:
            return range(17, 26, capCount);
        case kFunctionKeysBox:
            return range(1, 12, capCount);
        default:
            return std::nullopt;
    }
}

std::vector<PositionColour> storedKeyColourPositions(std::span<const RGBData> rows, const KeyCodeMap& codeMap,
                                                     std::span<const std::string> capNames) {
    std::vector<PositionColour> painted;
    for (const CapColour& cap : storedColourCaps(rows, codeMap, capNames)) painted.push_back({cap.cap, cap.rgbvalue});
    return painted;
}

std::vector<RGBData> customKeyColourRows(std::span<const int64_t> boxesOn, int64_t groupValue,
                                         std::span<const std::string> capNames, std::span<const int64_t> capColours,
                                         const KeyNameMap& nameMap, int64_t radiId, int64_t profile) {
    std::vector<RGBData> rows;
    for (int64_t box : kLedGroupBoxes) {
        if (std::find(boxesOn.begin(), boxesOn.end(), box) == boxesOn.end()) continue;
        rows.push_back(RGBData{0, radiId, profile, *ledGroupOfBox(box), groupValue});
    }
    const std::vector<RGBData> keys = perKeyColourRows(capNames, capColours, nameMap, radiId, profile);
    rows.insert(rows.end(), keys.begin(), keys.end());
    return rows;
}

}  // namespace keyloom
