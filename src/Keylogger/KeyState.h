#pragma once

// The key-state globals: what the user holds down now, kept by the key capture. Main thread only: the key capture
// writes them there and the editors read them there.

#include <cstdint>
#include <string>
#include <vector>

namespace keyloom {

// Codes of the held keys that QV_NormalKeys holds, in the order they went down.
const std::vector<int64_t>& pressedNormalKey();
// Codes of the held keys that QV_FlagKeys holds (and QV_NormalKeys does not), in the order they went down.
const std::vector<int64_t>& pressedFlags();
// "down" or "up": the kind of the last key event; empty before the first.
const std::string& lastKeyOperate();
// The value of the last event of left Shift (0xE1): 1 while held, 0 after release.
int64_t shiftKeyStatus();

// Back to the start state (empty lists, empty text, 0). The application never resets them; tests do.
void resetKeyState();

// The combination the user holds, as the editors' key-binding fields take it: every held modifier in press order,
// then the first held normal key (the earliest still down); further normal keys are left out.
std::vector<int64_t> heldKeyCombination();
std::vector<int64_t> keyCombination(const std::vector<int64_t>& flags, const std::vector<int64_t>& normalKeys);

// Notification posted (NotificationCenter::defaultCenter(), main thread, no object) right after the key capture has
// recorded a key going down or up, so its observers read the lists above with the key already in them. Observe it
// through LocalKeyMonitor when only our windows' keys matter.
inline constexpr const char* kHeldKeysChanged = "heldKeysChanged";

namespace keystate_detail {
struct Globals {
    std::vector<int64_t> pressedNormalKey;
    std::vector<int64_t> pressedFlags;
    std::string lastKeyOperate;
    int64_t shiftKeyStatus = 0;
};
// The one writer is CallBackFunctions.
Globals& globals();
}  // namespace keystate_detail

}  // namespace keyloom
