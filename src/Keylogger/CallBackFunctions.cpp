#include "Keylogger/CallBackFunctions.h"

#include <algorithm>

#include "Keylogger/KeyState.h"
#include "Views/Keyboard/KeyLayout/CurrentDevice.h"
#include "platform/NotificationCenter.h"

namespace keyloom {

namespace {

bool holds(const std::vector<int64_t>& list, int64_t code) {
    return std::find(list.begin(), list.end(), code) != list.end();
}

}  // namespace

void CallBackFunctions::Handle_DeviceMatchingCallback(void*, int, void*, const KeyInputDevice&) {}

void CallBackFunctions::Handle_DeviceRemovalCallback(void*, int, void*, const KeyInputDevice&) {}

void CallBackFunctions::Handle_IOHIDInputValueCallback(void* context, int, void*, const HidInputValue& value) {
    if (!context) return;
    const uint32_t usage = value.usage;  // the page is not looked at
    if (usage < kFirstUsage || usage > kLastUsage) return;
    const int64_t v = value.integerValue;
    if (usage == kLeftShiftUsage) keystate_detail::globals().shiftKeyStatus = v;
    recordKeyPressed(v, usage);
}

void CallBackFunctions::recordKeyPressed(int64_t isPressed, int64_t scancode) {
    if (isPressed != 0 && isPressed != 1) return;
    auto& g = keystate_detail::globals();
    if (isPressed == 0) {
        g.lastKeyOperate = "up";
        std::erase(g.pressedNormalKey, scancode);
        std::erase(g.pressedFlags, scancode);
    } else {
        g.lastKeyOperate = "down";
        // A key already held is not listed twice (two keyboards, or two sources, may report the same key).
        if (holds(QV_NormalKeys(), scancode)) {
            if (!holds(g.pressedNormalKey, scancode)) g.pressedNormalKey.push_back(scancode);
        } else if (holds(QV_FlagKeys(), scancode)) {
            if (!holds(g.pressedFlags, scancode)) g.pressedFlags.push_back(scancode);
        }
    }
    NotificationCenter::defaultCenter().post(kHeldKeysChanged);
}

}  // namespace keyloom
