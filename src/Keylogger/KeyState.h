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

// Posted (NotificationCenter, no object) on the main thread after each key press or release has been recorded, so
// an observer reads the lists with that key in them. An editor's key capture refreshes on it: unlike a key event of
// our window, it never arrives before the key capture has seen the key.
inline constexpr const char* kKeyStateChanged = "keyStateChanged";

// Back to the start state (empty lists, empty text, 0). The application never resets them; tests do.
void resetKeyState();

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
