#pragma once

#include <functional>
#include <string>
#include <vector>

namespace keyloom {

// Whether key capture sees every key: true when the computer has keyboard event devices and all of them can be read.
// With prompt true and the answer false, the prompt handler runs (on the calling thread), if one is set.
bool isTrusted(bool prompt);

// The application shell supplies the prompt: a non-blocking dialog showing trustPromptText().
void setTrustPromptHandler(std::function<void()> handler);

// What the prompt says: why access is needed and how to get it.
std::string trustPromptText();

// The keyboards' event device nodes (/dev/input/event*) as udev lists them.
std::vector<std::string> keyboardEventNodes();
// True when the list is not empty and every node opens for reading.
bool canReadAll(const std::vector<std::string>& nodes);

}  // namespace keyloom
