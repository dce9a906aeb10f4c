#pragma once

#include <cstdint>

#include "platform/input/KeyInputSource.h"

namespace keyloom {

// The key-capture manager's callbacks and the bookkeeping of the held keys; type-level only.
struct CallBackFunctions {
    CallBackFunctions() = delete;

    // Arrivals and departures of devices are not tracked.
    static void Handle_DeviceMatchingCallback(void* context, int result, void* sender, const KeyInputDevice& device);
    static void Handle_DeviceRemovalCallback(void* context, int result, void* sender, const KeyInputDevice& device);
    // context: the Keylogger. Keeps usages 4 to 2310 of any page; left Shift also sets shiftKeyStatus.
    static void Handle_IOHIDInputValueCallback(void* context, int result, void* sender, const HidInputValue& value);

    // isPressed 1: "down", the code joins its list unless already there; 0: "up", every occurrence leaves both lists;
    // anything else changes nothing.
    static void recordKeyPressed(int64_t isPressed, int64_t scancode);

    static constexpr uint32_t kFirstUsage = 0x0004;
    static constexpr uint32_t kLastUsage = 0x0906;
    static constexpr uint32_t kLeftShiftUsage = 0xE1;
};

}  // namespace keyloom
