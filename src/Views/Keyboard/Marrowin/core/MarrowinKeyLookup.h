#pragma once

// From a cap of a second-generation picture to its key (the way back is capOfCode, MarrowinKeyCaps.h). Widget-free.

#include <cstdint>
#include <optional>
#include <string_view>

#include "Views/Keyboard/KeyLayout/KeyMapTypes.h"

namespace keyloom {

// The code of a cap's key: the name-map row's "key_code". None when the map has no row of that name (such a cap is
// no key: nothing is chosen or queried for it).
std::optional<int64_t> keyCodeForCapName(std::string_view name, const KeyNameMap& nameMap);

}  // namespace keyloom
