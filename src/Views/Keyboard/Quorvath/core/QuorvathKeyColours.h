#pragma once

// Per-key colours of the first generation without widgets: the colour value, the LED groups, the key-group boxes and
// the 408-byte per-key block sent as output reports.
//
// A key's slot in the block is its code's "layout_index" in the model's code map: the keyboard's per-key order. Its
// cap on the picture is found by name (the code row's key name), since the 87 and 88 code maps give "leftAlt" and
// "leftWin" each other's index: a cap found by index would show the neighbour's colour, and the next change would
// store it under the neighbour's code.

#include <array>
#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <vector>

#include "SQLite/RGBData.h"
#include "Views/Keyboard/KeyLayout/KeyMapTypes.h"

namespace keyloom {

inline constexpr size_t kKeyColourBlockSize = 408;
using KeyColourBlock = std::array<uint8_t, kKeyColourBlockSize>;

// Stored colour rows with these key values colour the four LED groups outside the key caps.
inline constexpr int64_t kLedGroup600 = 600;
inline constexpr int64_t kLedGroup601 = 601;
inline constexpr int64_t kLedGroup602 = 602;
inline constexpr int64_t kLedGroup603 = 603;

// 0xRRGGBB of a colour's components (0..1, clamped; each x 255 truncated). Black is 0.
int64_t keyColourValue(double red, double green, double blue);

// The keyboard's key count by device type: 87 (1, 4), 88 (2, 5), 91 (3, 6); 87 for any other type.
int64_t quorvathKeyCount(int64_t deviceType);

// The block's slots of an LED group, after the key count's key slots; nullopt for any other key value.
struct SlotRange {
    int64_t first;
    int64_t count;
    bool operator==(const SlotRange&) const = default;
};
std::optional<SlotRange> ledGroupSlots(int64_t group, int64_t keyCount);

// The block for the stored rows, in row order (a later row wins a slot): F3 00 00, the last slot's number (K + 40),
// then three bytes per slot. Key rows go to the "layout_index" slot of their code; rows of the LED groups fill the
// group's slots; rows whose code the map lacks, whose slot is not a key slot, or whose value is neither a key nor a
// group (650, say) are left out.
KeyColourBlock keyColourBlock(int64_t deviceType, std::span<const RGBData> rows, const KeyCodeMap& codeMap);

// The LED group a group box stores the chosen colour for: 651 -> 600, 652 -> 602, 653 -> 601, 654 -> 603.
std::optional<int64_t> ledGroupOfBox(int64_t tag);
// The group boxes in the order the colour well stores their groups.
inline constexpr std::array<int64_t, 4> kLedGroupBoxes = {651, 652, 653, 654};
// The boxes that all keys (650) turns on and off with it.
inline constexpr std::array<int64_t, 8> kBoxesSetByAll = {651, 652, 653, 654, 655, 656, 657, 658};

// The picture positions a key-group box frames, on a picture of the caps named capNames (in picture order): 650
// every cap, 655 W A S D, 656 the arrows, 657 positions 17..26 (1 to 0), 658 positions 1..12 (F1 to F12); none for
// 651..654, which only choose LED groups. Keys and positions the picture lacks are left out. nullopt for any other
// tag.
std::optional<std::vector<size_t>> keyGroupPositions(int64_t tag, const KeyCodeMap& codeMap,
                                                     std::span<const std::string> capNames);

// The stored key colours to paint: (position, value) for every row of a key (below 600) whose code names a cap of
// the picture, in row order.
struct PositionColour {
    size_t position;
    int64_t rgbvalue;
    bool operator==(const PositionColour&) const = default;
};
std::vector<PositionColour> storedKeyColourPositions(std::span<const RGBData> rows, const KeyCodeMap& codeMap,
                                                     std::span<const std::string> capNames);

// The rows that a per-key colour change stores: first the LED groups of the boxes that are on (in kLedGroupBoxes
// order) with groupValue, then one row per cap with its shown colour (capColours[i] for capNames[i]); caps whose
// name has no key code in the name map are left out.
std::vector<RGBData> customKeyColourRows(std::span<const int64_t> boxesOn, int64_t groupValue,
                                         std::span<const std::string> capNames, std::span<const int64_t> capColours,
                                         const KeyNameMap& nameMap, int64_t radiId, int64_t profile);

}  // namespace keyloom
