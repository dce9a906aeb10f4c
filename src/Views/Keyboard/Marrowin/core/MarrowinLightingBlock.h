#pragma once

// The second-generation lighting upload: the 1280-byte block of a profile's stored lighting (every mode's slot, the
// per-key colours of mode 20, the active mode again) and the four command reports around it.

#include <array>
#include <cstdint>
#include <optional>
#include <span>
#include <vector>

#include "SQLite/RGBData.h"
#include "SQLite/RadiData.h"
#include "Views/Keyboard/KeyLayout/KeyMapTypes.h"

namespace keyloom {

class MarrowinDeviceSQLite;
class MarrowinV2;

inline constexpr size_t kLightingBlockSize = 1280;
// The length handed to the block upload: it sends length / 64 - 1 = 18 reports, bytes 0..1151.
inline constexpr int64_t kLightingUploadLength = 1216;
inline constexpr size_t kLightingSlots = 32;  // 16-byte slots before the per-key area
inline constexpr size_t kLightingPerKeyOffset = 512;
inline constexpr size_t kLightingPerKeyEntries = 144;  // 4 bytes each: 0x80, red, green, blue
inline constexpr size_t kLightingActiveOffset = 1088;

using LightingBlock = std::array<uint8_t, kLightingBlockSize>;

// Where a key's colour goes in the per-key area: the code's "layout_index", except Escape, Pause, Page Up and Page
// Down, which the firmware takes at fixed entries on every model but the Vindle and the OstrelTE (102, 105, 106).
// nullopt when the map has no row for the code or the entry lies outside 0..143.
std::optional<size_t> perKeyPosition(int64_t code, const KeyCodeMap& codeMap, int64_t deviceType);

// The block of the records (in stored order: record i fills slot i; records past slot 31 are left out) and the
// per-key colours (written only when a mode-20 record is among the records; a later row for the same entry wins;
// rows without an entry are left out).
LightingBlock buildLightingBlock(std::span<const RadiData> records, std::span<const RGBData> colours,
                                 const KeyCodeMap& codeMap, int64_t deviceType);

// The block of a stored profile. nullopt when the database is not open or a query fails: an all-zero block would
// erase the keyboard's lighting, so nothing must be sent then. An empty profile gives its (empty) block.
std::optional<LightingBlock> readLightingBlock(const MarrowinDeviceSQLite& db, int64_t profile,
                                               const KeyCodeMap& codeMap, int64_t deviceType);

// The upload: commands [04 18] and [04 13 .. 12], the block's first 18 reports, commands [04 02] and [04 F0]. Every
// part is sent whatever an earlier one answered; true when all succeeded. Blocks for the pauses (~260 ms): run it
// on the device's worker.
bool sendLightingBlock(MarrowinV2& channel, const LightingBlock& block);

}  // namespace keyloom
