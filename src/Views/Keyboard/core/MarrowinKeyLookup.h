#pragma once

// Between key codes, key names and the caps of a picture, for the second-generation editor. Widget-free.

#include <cstddef>
#include <cstdint>
#include <optional>
#include <span>
#include <string_view>

#include "Views/Keyboard/KeyLayout/KeyMapTypes.h"
#include "Views/Keyboard/KeyLayout/KeyPlacement.h"

namespace keyloom {

// The code of a cap's key: the name-map row's "key_code". None when the map has no row of that name (such a cap is
// no key: nothing is chosen or queried for it).
std::optional<int64_t> keyCodeForCapName(std::string_view name, const KeyNameMap& nameMap);

// The cap that shows a key code: the cap whose name equals the code row's "key_name". Only when no cap has that name
// is the row's "pos_index" used (the tables' "pos_index" swaps neighbours on several models, the names do not).
// None when the map lacks the code, or neither rule finds a cap of the list.
std::optional<size_t> capIndexForKeyCode(int64_t code, const KeyCodeMap& codeMap, std::span<const PlacedCap> caps);

}  // namespace keyloom
