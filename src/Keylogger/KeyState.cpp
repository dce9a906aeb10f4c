#include "Keylogger/KeyState.h"

#include <cassert>

#include "platform/MainThread.h"

namespace keyloom {

namespace keystate_detail {
Globals& globals() {
    assert(isMainThread());
    static Globals g;
    return g;
}
}  // namespace keystate_detail

const std::vector<int64_t>& pressedNormalKey() {
    return keystate_detail::globals().pressedNormalKey;
}
const std::vector<int64_t>& pressedFlags() {
    return keystate_detail::globals().pressedFlags;
}
const std::string& lastKeyOperate() {
    return keystate_detail::globals().lastKeyOperate;
}
int64_t shiftKeyStatus() {
    return keystate_detail::globals().shiftKeyStatus;
}

void resetKeyState() {
    keystate_detail::globals() = keystate_detail::Globals{};
}

std::vector<int64_t> keyCombination(const std::vector<int64_t>& flags, const std::vector<int64_t>& normalKeys) {
    std::vector<int64_t> codes = flags;
    if (!normalKeys.empty()) codes.push_back(normalKeys.front());
    return codes;
}

std::vector<int64_t> heldKeyCombination() {
    return keyCombination(pressedFlags(), pressedNormalKey());
}

}  // namespace keyloom
