#include "Views/Keyboard/Shared/core/KeyCombination.h"

namespace keyloom {

namespace {

template <typename Part>
std::string joined(const std::vector<int64_t>& codes, const char* separator, Part part) {
    std::string text;
    for (size_t i = 0; i < codes.size(); ++i) {
        if (i) text += separator;
        text += part(codes[i]);
    }
    return text;
}

}  // namespace

std::string combinationText(const std::vector<int64_t>& codes, const KeyCodeMap& codeMap) {
    return joined(codes, " + ", [&](int64_t code) {
        const KeyMapRow* row = codeMap.find(code);
        return row && !row->full_name.empty() ? row->full_name : std::to_string(code);
    });
}

std::string combinationCodesText(const std::vector<int64_t>& codes) {
    return joined(codes, ",", [](int64_t code) { return std::to_string(code); });
}

}  // namespace keyloom
