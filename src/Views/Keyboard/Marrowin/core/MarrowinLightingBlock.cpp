#include "Views/Keyboard/Marrowin/core/MarrowinLightingBlock.h"

#include <algorithm>

#include "SQLite/MarrowinDeviceSQLite.h"
#include "VelkorDevice/MarrowinV2.h"
#include "Views/Keyboard/Marrowin/core/MarrowinLightModes.h"
#include "Views/Keyboard/Marrowin/core/MarrowinUpload.h"

namespace keyloom {

namespace {

constexpr size_t kSlotSize = 16;
constexpr uint8_t kPerKeyModeByte = 0x80;  // the firmware's mark of the per-key mode and of a per-key entry

// Byte 8 of the second command: the number of block reports that follow.
constexpr uint8_t kLightingBlockReports = kLightingUploadLength / 64 - 1;
static_assert(kLightingBlockReports == 0x12);
static_assert(kLightingSlots * kSlotSize == kLightingPerKeyOffset);
static_assert(kLightingPerKeyOffset + 4 * kLightingPerKeyEntries == kLightingActiveOffset);
static_assert(kLightingActiveOffset + kSlotSize <= kLightingUploadLength - 64);  // the active copy is sent

constexpr uint8_t kCommandLighting = 0x13;

struct FixedPosition {
    int64_t code;
    size_t position;
};
constexpr std::array<FixedPosition, 4> kFixedPositions = {{{41, 19}, {72, 118}, {75, 121}, {78, 115}}};

bool usesLayoutIndexOnly(int64_t deviceType) {
    return deviceType == 102 || deviceType == 105 || deviceType == 106;
}

// The full slot: mode, colour, colour type, brightness, speed, direction and the 0xAA 0x55 end mark.
void writeFullSlot(LightingBlock& block, size_t offset, const std::vector<uint8_t>& rec, uint8_t modeByte) {
    namespace r = light_record;
    block[offset + 0] = modeByte;
    block[offset + 1] = rec[r::kRed];
    block[offset + 2] = rec[r::kGreen];
    block[offset + 3] = rec[r::kBlue];
    block[offset + 8] = rec[r::kColourType];
    block[offset + 9] = rec[r::kBrightness];
    block[offset + 10] = rec[r::kSpeed];
    block[offset + 11] = rec[r::kDirection];
    block[offset + 14] = 0xAA;
    block[offset + 15] = 0x55;
}

void writePerKeyArea(LightingBlock& block, std::span<const RGBData> colours, const KeyCodeMap& codeMap,
                     int64_t deviceType) {
    for (size_t p = 0; p < kLightingPerKeyEntries; ++p) block[kLightingPerKeyOffset + 4 * p] = kPerKeyModeByte;
    for (const RGBData& colour : colours) {
        const auto position = perKeyPosition(colour.keyvalue, codeMap, deviceType);
        if (!position) continue;
        const auto rgb = rgbComponents(colour.rgbvalue);
        std::copy(rgb.begin(), rgb.end(),
                  block.begin() + static_cast<std::ptrdiff_t>(kLightingPerKeyOffset + 4 * *position + 1));
    }
}

}  // namespace

std::optional<size_t> perKeyPosition(int64_t code, const KeyCodeMap& codeMap, int64_t deviceType) {
    const KeyMapRow* row = codeMap.find(code);
    if (!row) return std::nullopt;
    if (!usesLayoutIndexOnly(deviceType)) {
        for (const FixedPosition& fixed : kFixedPositions)
            if (fixed.code == code) return fixed.position;
    }
    if (row->layout_index < 0 || static_cast<uint64_t>(row->layout_index) >= kLightingPerKeyEntries)
        return std::nullopt;
    return static_cast<size_t>(row->layout_index);
}

LightingBlock buildLightingBlock(std::span<const RadiData> records, std::span<const RGBData> colours,
                                 const KeyCodeMap& codeMap, int64_t deviceType) {
    LightingBlock block{};
    for (size_t i = 0; i < records.size() && i < kLightingSlots; ++i) {
        const std::vector<uint8_t>& rec = records[i].buffer;
        if (rec.size() < light_record::kSize) continue;
        const size_t slot = kSlotSize * i;
        const bool perKey = rec[light_record::kMode] == kPerKeyLightMode;
        if (perKey) {
            block[slot + 0] = kPerKeyModeByte;
            block[slot + 9] = rec[light_record::kBrightness];
            block[slot + 14] = 0xAA;
            block[slot + 15] = 0x55;
            writePerKeyArea(block, colours, codeMap, deviceType);
        } else {
            writeFullSlot(block, slot, rec, rec[light_record::kMode]);
        }
        if (records[i].status == 1)
            writeFullSlot(block, kLightingActiveOffset, rec, perKey ? kPerKeyModeByte : rec[light_record::kMode]);
    }
    return block;
}

std::optional<LightingBlock> readLightingBlock(const MarrowinDeviceSQLite& db, int64_t profile,
                                               const KeyCodeMap& codeMap, int64_t deviceType) {
    if (!db.isConnected()) return std::nullopt;
    std::vector<RadiData> records;
    std::vector<RGBData> colours;
    if (!db.queryRadiProfile(profile, records) || !db.queryKeyRGB(profile, colours)) return std::nullopt;
    return buildLightingBlock(records, colours, codeMap, deviceType);
}

bool sendLightingBlock(MarrowinV2& channel, const LightingBlock& block) {
    return sendMarrowinUpload(channel, kCommandLighting, kLightingBlockReports, block, kLightingUploadLength, true);
}

}  // namespace keyloom
