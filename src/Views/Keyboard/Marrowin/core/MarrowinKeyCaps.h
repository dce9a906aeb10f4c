#pragma once

// Which cap of a second-generation picture a key is, and the caps the lighting tab's groups and stored colours
// address. A picture is given by its caps' names in picture order (KeyData::keyname): position i is cap i.

#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <vector>

#include "SQLite/RGBData.h"
#include "Views/Keyboard/KeyLayout/KeyMapTypes.h"

namespace keyloom {

// The cap of a key code: the cap named by the code row's "key_name"; the row's "pos_index" only when no cap has that
// name (the tables' "pos_index" swaps neighbours on several models). nullopt when the map has no row for the code
// or neither leads to a cap of the picture.
std::optional<size_t> capOfCode(int64_t code, const KeyCodeMap& codeMap, std::span<const std::string> capNames);

// The caps a group check box frames: 650 every cap, 651 W A S D, 652 the four keys right of the space bar (slash,
// right Alt, Menu, right Control on the 61/62-key models 100, 103, 105, 106; the arrows elsewhere), 653 positions
// 1..10, 654 positions 1..12. Keys the picture lacks are left out. nullopt for any other tag.
std::optional<std::vector<size_t>> groupCaps(int64_t tag, int64_t deviceType, const KeyCodeMap& codeMap,
                                             std::span<const std::string> capNames);

// A stored per-key colour and the cap it paints.
struct CapColour {
    size_t cap;
    int64_t rgbvalue;
    bool operator==(const CapColour&) const = default;
};
// The caps the stored rows paint, in row order (a later row for the same cap wins when applied in order). Rows with
// a key value of 600 or more (group codes, not keys) and codes without a cap are left out.
std::vector<CapColour> storedColourCaps(std::span<const RGBData> rows, const KeyCodeMap& codeMap,
                                        std::span<const std::string> capNames);

// The per-key colour rows of a picture whose cap i shows colour capColours[i] (0xRRGGBB; black stores as 0), in
// picture order, for the mode-20 record radiId. Caps whose name has no name-map row with a key code are no keys and
// are left out; so are caps without a colour (capColours shorter than capNames).
std::vector<RGBData> perKeyColourRows(std::span<const std::string> capNames, std::span<const int64_t> capColours,
                                      const KeyNameMap& nameMap, int64_t radiId, int64_t profile);

}  // namespace keyloom
