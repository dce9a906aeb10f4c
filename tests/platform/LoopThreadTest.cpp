#include <gtest/gtest.h>
#include <poll.h>

#include <atomic>

#include "platform/EventFd.h"
#include "platform/LoopThread.h"

using namespace keyloom;

// A loop blocked in poll() wakes through the eventfd when stopped, and stop() joins it.
TEST(LoopThread, BlockingLoopStopsAndJoins) {
    std::atomic<int> wakeups{0};
    std::atomic<bool> ended{false};
    {
        LoopThread thread;
        thread.start([&](std::stop_token token) {
            EventFd wake;
            std::stop_callback onStop(token, [&] { wake.signal(); });
            while (!token.stop_requested()) {
                pollfd p{wake.fd(), POLLIN, 0};
                ::poll(&p, 1, -1);
                wake.drain();
                ++wakeups;
            }
            ended = true;
        });
        EXPECT_TRUE(thread.running());
        thread.stop();
        EXPECT_FALSE(thread.running());
        EXPECT_TRUE(ended.load());
        thread.stop();  // twice is harmless
    }
    EXPECT_LE(wakeups.load(), 1);
}
