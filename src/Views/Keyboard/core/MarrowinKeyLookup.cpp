#include "Views/Keyboard/core/MarrowinKeyLookup.h"

namespace keyloom {

std::optional<int64_t> keyCodeForCapName(std::string_view name, const KeyNameMap& nameMap) {
    const KeyMapRow* row = nameMap.find(name);
    if (!row || !row->key_code) return std::nullopt;
    return *row->key_code;
}

std::optional<size_t> capIndexForKeyCode(int64_t code, const KeyCodeMap& codeMap, std::span<const PlacedCap> caps) {
    const KeyMapRow* row = codeMap.find(code);
    if (!row) return std::nullopt;
    if (row->key_name) {
        for (size_t i = 0; i < caps.size(); ++i) {
            if (caps[i].keyname == *row->key_name) return i;
        }
    }
    if (row->pos_index && *row->pos_index >= 0 && static_cast<size_t>(*row->pos_index) < caps.size())
        return static_cast<size_t>(*row->pos_index);
    return std::nullopt;
}

}  // namespace keyloom
