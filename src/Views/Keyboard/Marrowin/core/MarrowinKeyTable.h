#pragma once

// The second-generation key-table upload: the 780-byte table of a profile's stored key assignments (one 4-byte slot
// per key, placed by the key's "layout_index") and the three command reports around it.

#include <array>
#include <cstdint>
#include <optional>
#include <span>

#include "SQLite/MarrowinKey.h"
#include "Views/Keyboard/KeyLayout/KeyMapTypes.h"

namespace keyloom {

class MarrowinDeviceSQLite;
class MarrowinV2;

inline constexpr size_t kKeyTableSize = 780;
// The length handed to the block upload: it sends length / 64 - 1 = 10 reports, bytes 0..639.
inline constexpr int64_t kKeyTableUploadLength = 704;
inline constexpr size_t kKeyTableMarkOffset = 638;  // 0xAA 0x55, the last two bytes sent
// Slots lie at 4 x L; L = 1..158 keeps every slot below the mark (slot 0 is never used).
inline constexpr int64_t kFirstKeySlot = 1;
inline constexpr int64_t kLastKeySlot = 158;

using KeyTable = std::array<uint8_t, kKeyTableSize>;
// Bytes 0..2 of a slot; byte 3 is always 0.
using KeySlot = std::array<uint8_t, 3>;

// A modifier's bit in the modifier byte (Left Control 224 = 0x01 ... Right GUI 231 = 0x80); nullopt for any other
// code (Caps Lock included).
std::optional<uint8_t> modifierBit(int64_t code);

// Bytes 1 and 2 of a key combination (m = macroValue, m2 = macro2Value, m3 = macro3Value): byte 1 is the OR of the
// bits of every modifier among m2 and m and of the bits in m3; byte 2 is the one other key: m unless it is a
// modifier or 0, else m2 unless it is a modifier or 0, else 0. So Left Control + C is 01 06, Left Shift alone 02 00,
// Left Control + Left Shift 03 00. nullopt when a value lies outside 0..255: it fits no byte.
std::optional<std::array<uint8_t, 2>> combinationBytes(int64_t macroValue, int64_t macro2Value, int64_t macro3Value);

// The slot of one stored assignment: 2 disabled 05 03 00; 3 key combination 02 + combinationBytes; 6 mouse 01 and
// the mouse table; 7 multimedia 03, a Consumer usage, 00; 8 Mac shortcut 02, a modifier byte and a key. Numbers a
// group's table lacks give zeros after the type byte. nullopt when the record writes nothing: default (0, 1), macro
// (4, 5), any other type, or a combination that fits no byte.
std::optional<KeySlot> keySlotBytes(const MarrowinKey& record);

// The table of the records, each in the slot of its key code's "layout_index" in codeMap (a later record for the
// same slot wins), and the mark at 638. Records whose code has no row, whose slot lies outside 1..158, or that
// write nothing leave the table as it was.
KeyTable buildKeyTable(std::span<const MarrowinKey> records, const KeyCodeMap& codeMap);

// The table of a stored profile. nullopt when the database is not open or the query fails: a table of the mark
// alone would erase every assignment on the keyboard, so nothing must be sent then. An empty profile gives its
// (empty) table.
std::optional<KeyTable> readKeyTable(const MarrowinDeviceSQLite& db, int64_t profile, const KeyCodeMap& codeMap);

// The upload: commands [04 18] and [04 11 .. 0A], the table's first 10 reports, command [04 02]. Every part is sent
// whatever an earlier one answered; true when all succeeded. Blocks for the pauses (~160 ms): run it on the
// device's worker.
bool sendKeyTable(MarrowinV2& channel, const KeyTable& table);

}  // namespace keyloom
