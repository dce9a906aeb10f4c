#pragma once

#include <cstddef>
#include <functional>

namespace keyloom {

// Hands fn to the main (Qt application) thread without waiting for it. Calls run in the order they were handed
// over. Runs nothing when no application exists by the time the main loop would run it, or after it has quit.
// The queue is a plain mutex-guarded list woken through an eventfd, so the hand-over is visible to
// ThreadSanitizer (Qt's own event posting synchronises out of its sight).
void runOnMain(std::function<void()> fn);

// The same, on behalf of owner: cancelMainThreadCalls(owner), called on the main thread when the owner goes away,
// drops the owner's calls that have not run yet.
void runOnMain(const void* owner, std::function<void()> fn);
void cancelMainThreadCalls(const void* owner);

// Runs, on the calling main thread, the calls handed over so far and those they hand over in turn; returns how many
// ran. The event loop does this by itself; tests call it to drain the queue instead of waiting for a time.
size_t runPendingMainThreadCalls();

// True on the thread that runs the Qt application (the first thread when no application exists yet).
bool isMainThread();

}  // namespace keyloom
