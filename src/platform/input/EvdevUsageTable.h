#pragma once

#include <cstdint>
#include <optional>

namespace keyloom {

// Linux input key codes (KEY_*) back to usages of the HID Keyboard/Keypad page (0x07).
// Where two usages share one Linux key, the usage of the US/ANSI key wins (KEY_BACKSLASH -> 0x31, KEY_DELETE ->
// 0x4C), since that is the code the keyboard tables give the key.
class EvdevUsageTable {
  public:
    static std::optional<uint32_t> usageForKeyCode(uint32_t keyCode);
};

}  // namespace keyloom
