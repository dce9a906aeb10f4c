#pragma once

// How a captured key combination is shown and kept: the keys' full names joined by " + " (the key-binding field and
// the stored description), and the codes in decimal joined by ",".

#include <cstdint>
#include <string>
#include <vector>

#include "Views/Keyboard/KeyLayout/KeyMapTypes.h"

namespace keyloom {

// "Left Control + C" for {224, 6}: each code's "full_name" in codeMap; a code the map has no name for is shown as its
// decimal number. Empty for no code.
std::string combinationText(const std::vector<int64_t>& codes, const KeyCodeMap& codeMap);

// "224,6" for {224, 6}; empty for no code.
std::string combinationCodesText(const std::vector<int64_t>& codes);

}  // namespace keyloom
