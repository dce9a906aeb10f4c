#pragma once

// The key combination an editor's key capture shows and keeps, from the held-key lists of the key capture
// (KeyState.h). Widget-free; both editors use it with their own code map.

#include <cstdint>
#include <span>
#include <string>
#include <vector>

#include "Views/Keyboard/KeyLayout/KeyMapTypes.h"

namespace keyloom {

struct HeldCombination {
    std::vector<int64_t> codes;  // every held modifier in press order, then the earliest normal key still held
    std::string text;            // the keys' full names joined with " + " (empty when nothing is held)
    std::string codesText;       // the codes in decimal joined with "," ("224,6"; empty when nothing is held)

    bool operator==(const HeldCombination&) const = default;
};

// flags and normal are the held lists (pressedFlags, pressedNormalKey). A code without a row in codeMap is no key
// of the keyboard being edited (Delete on a 61-key keyboard): it is left out, so a later normal key can take its
// place.
HeldCombination heldCombination(std::span<const int64_t> flags, std::span<const int64_t> normal,
                                const KeyCodeMap& codeMap);

}  // namespace keyloom
