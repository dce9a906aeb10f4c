#include "Views/Keyboard/core/HeldKeys.h"

namespace keyloom {

HeldCombination heldCombination(std::span<const int64_t> flags, std::span<const int64_t> normal,
                                const KeyCodeMap& codeMap) {
    HeldCombination held;
    const auto add = [&](int64_t code) {
        const KeyMapRow* row = codeMap.find(code);
        if (!row) return false;
        if (!held.codes.empty()) {
            held.text += " + ";
            held.codesText += ',';
        }
        held.codes.push_back(code);
        held.text += row->full_name;
        held.codesText += std::to_string(code);
        return true;
    };
    for (int64_t code : flags) add(code);
    for (int64_t code : normal) {
        if (add(code)) break;  // one normal key: the earliest the keyboard has
    }
    return held;
}

}  // namespace keyloom
