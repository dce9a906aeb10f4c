#include "Views/Keyboard/Marrowin/core/MarrowinKeyLookup.h"

namespace keyloom {

std::optional<int64_t> keyCodeForCapName(std::string_view name, const KeyNameMap& nameMap) {
    const KeyMapRow* row = nameMap.find(name);
    if (!row || !row->key_code) return std::nullopt;
    return *row->key_code;
}

}  // namespace keyloom
