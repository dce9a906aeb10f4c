#pragma once

#include <functional>

namespace keyloom {

// Hands fn to the main (Qt application) thread without waiting for it. Runs nothing when no application exists
// or after it has quit; fn must therefore own what it touches (capture by value).
void runOnMain(std::function<void()> fn);

// True on the thread that runs the Qt application (the first thread when no application exists yet).
bool isMainThread();

}  // namespace keyloom
