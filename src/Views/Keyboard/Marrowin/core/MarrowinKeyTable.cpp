#include "Views/Keyboard/Marrowin/core/MarrowinKeyTable.h"

#include <algorithm>
#include <vector>

#include "SQLite/MarrowinDeviceSQLite.h"
#include "VelkorDevice/MarrowinV2.h"
#include "Views/Keyboard/Marrowin/core/MarrowinOptionTable.h"
#include "Views/Keyboard/Marrowin/core/MarrowinUpload.h"

namespace keyloom {

namespace {

constexpr int64_t kFirstModifier = 224;  // Left Control
constexpr int64_t kLastModifier = 231;   // Right GUI

constexpr uint8_t kCommandKeys = 0x11;
// Byte 8 of the second command: the number of table reports that follow.
constexpr uint8_t kKeyTableReports = kKeyTableUploadLength / 64 - 1;
static_assert(kKeyTableReports == 0x0A);
static_assert(kKeyTableMarkOffset + 2 == (kKeyTableUploadLength / 64 - 1) * 64);  // the mark ends the last report
static_assert(4 * kLastKeySlot + 3 < kKeyTableMarkOffset);

// Type bytes (byte 0 of a slot).
constexpr uint8_t kSlotMouse = 0x01;
constexpr uint8_t kSlotKeys = 0x02;
constexpr uint8_t kSlotConsumer = 0x03;
constexpr uint8_t kSlotDisabled = 0x05;

struct TwoBytes {
    int64_t number;
    uint8_t first, second;
};
// By the leaf numbers of the option tree (4 has no leaf there but is the firmware's fourth mouse function).
constexpr TwoBytes kMouse[] = {{1, 0x01, 0x01}, {2, 0x01, 0x04}, {3, 0x01, 0x02}, {4, 0x01, 0x03},
                               {5, 0x03, 0x01}, {6, 0x03, 0xFF}, {7, 0x01, 0x08}, {8, 0x01, 0x10}};
// Consumer-page usages: play/pause, stop, previous, next, volume up, volume down, mute.
constexpr TwoBytes kMultimedia[] = {{1, 0xCD, 0}, {2, 0xB7, 0}, {3, 0xB6, 0}, {4, 0xB5, 0},
                                    {5, 0xE9, 0}, {6, 0xEA, 0}, {7, 0xE2, 0}};
// A modifier byte and a key: Scroll Lock and Pause dim and brighten a Mac's screen; Control + Up is Mission
// Control (the right Control's bit, as the firmware expects); Command + C, V, X.
constexpr TwoBytes kMacShortcuts[] = {{1, 0x00, 0x47}, {2, 0x00, 0x48}, {3, 0x10, 0x52},
                                      {4, 0x08, 0x06}, {5, 0x08, 0x19}, {6, 0x08, 0x1B}};

KeySlot fromTable(uint8_t type, std::span<const TwoBytes> table, int64_t number) {
    for (const TwoBytes& entry : table)
        if (entry.number == number) return {type, entry.first, entry.second};
    return {type, 0, 0};
}

bool fitsByte(int64_t value) {
    return value >= 0 && value <= 0xFF;
}

bool isOtherKey(int64_t code) {
    return code != 0 && !modifierBit(code);
}

}  // namespace

std::optional<uint8_t> modifierBit(int64_t code) {
    if (code < kFirstModifier || code > kLastModifier) return std::nullopt;
    return static_cast<uint8_t>(1u << (code - kFirstModifier));
}

std::optional<std::array<uint8_t, 2>> combinationBytes(int64_t macroValue, int64_t macro2Value, int64_t macro3Value) {
    if (!fitsByte(macroValue) || !fitsByte(macro2Value) || !fitsByte(macro3Value)) return std::nullopt;
    uint8_t modifiers = static_cast<uint8_t>(macro3Value);
    for (int64_t code : {macro2Value, macroValue})
        if (auto bit = modifierBit(code)) modifiers |= *bit;
    int64_t key = 0;
    if (isOtherKey(macroValue))
        key = macroValue;
    else if (isOtherKey(macro2Value))
        key = macro2Value;
    return std::array<uint8_t, 2>{modifiers, static_cast<uint8_t>(key)};
}

std::optional<KeySlot> keySlotBytes(const MarrowinKey& record) {
    switch (record.macroType) {
        case kMacroTypeDisable:
            return KeySlot{kSlotDisabled, 0x03, 0x00};
        case kMacroTypeKeyCombination: {
            const auto bytes = combinationBytes(record.macroValue, record.macro2Value, record.macro3Value);
            if (!bytes) return std::nullopt;
            return KeySlot{kSlotKeys, (*bytes)[0], (*bytes)[1]};
        }
        case kMacroTypeMouse:
            return fromTable(kSlotMouse, kMouse, record.macroValue);
        case kMacroTypeMultimedia:
            return fromTable(kSlotConsumer, kMultimedia, record.macroValue);
        case kMacroTypeMacShortcut:
            return fromTable(kSlotKeys, kMacShortcuts, record.macroValue);
        default:  // default, macro and unknown types: the key keeps its own function
            return std::nullopt;
    }
}

KeyTable buildKeyTable(std::span<const MarrowinKey> records, const KeyCodeMap& codeMap) {
    KeyTable table{};
    for (const MarrowinKey& record : records) {
        const KeyMapRow* row = codeMap.find(record.keyValue);
        if (!row || row->layout_index < kFirstKeySlot || row->layout_index > kLastKeySlot) continue;
        const auto slot = keySlotBytes(record);
        if (!slot) continue;
        const size_t offset = 4 * static_cast<size_t>(row->layout_index);
        std::copy(slot->begin(), slot->end(), table.begin() + static_cast<std::ptrdiff_t>(offset));
        table[offset + 3] = 0;
    }
    table[kKeyTableMarkOffset] = 0xAA;
    table[kKeyTableMarkOffset + 1] = 0x55;
    return table;
}

std::optional<KeyTable> readKeyTable(const MarrowinDeviceSQLite& db, int64_t profile, const KeyCodeMap& codeMap) {
    if (!db.isConnected()) return std::nullopt;
    std::vector<MarrowinKey> records;
    if (!db.queryKeysProfile(profile, records)) return std::nullopt;
    return buildKeyTable(records, codeMap);
}

bool sendKeyTable(MarrowinV2& channel, const KeyTable& table) {
    return sendMarrowinUpload(channel, kCommandKeys, kKeyTableReports, table, kKeyTableUploadLength, false);
}

}  // namespace keyloom
