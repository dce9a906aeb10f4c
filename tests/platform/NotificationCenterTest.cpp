#include <gtest/gtest.h>

#include <atomic>
#include <chrono>
#include <thread>

#include "platform/MainThread.h"
#include "platform/NotificationCenter.h"
#include "support/TestSupport.h"

using namespace keyloom;

TEST(NotificationCenter, ObserversRunOnPostingThreadBeforePostReturns) {
    NotificationCenter center;
    std::thread::id seen;
    int64_t type = 0;
    auto obs = center.addObserver("HIDWirelessConnected", [&](const Notification& n) {
        seen = std::this_thread::get_id();
        type = dictionaryInteger(*notificationDictionary(n), "type").value_or(-1);
    });
    std::thread poster([&] {
        center.post("HIDWirelessConnected", NotificationDictionary{{"type", int64_t{2}}});
        // Already delivered when post returns.
        EXPECT_EQ(seen, std::this_thread::get_id());
        EXPECT_EQ(type, 2);
    });
    poster.join();
}

TEST(NotificationCenter, OnlyMatchingNamesAndRemovalWithOwner) {
    NotificationCenter center;
    int a = 0, b = 0;
    {
        auto oa = center.addObserver("A", [&](const Notification&) { ++a; });
        auto ob = center.addObserver("B", [&](const Notification&) { ++b; });
        center.post("A");
        center.post("C");
        EXPECT_EQ(a, 1);
        EXPECT_EQ(b, 0);
    }
    center.post("A");
    center.post("B");
    EXPECT_EQ(a, 1);
    EXPECT_EQ(b, 0);
    EXPECT_EQ(center.observerCount("A"), 0u);
}

TEST(NotificationCenter, IntegerEntriesReadWhateverTheirWidth) {
    NotificationDictionary d{
        {"type", uint8_t{2}}, {"value", uint8_t{255}}, {"big", int64_t{-7}}, {"text", std::string("x")}};
    EXPECT_EQ(dictionaryInteger(d, "type"), 2);
    EXPECT_EQ(dictionaryInteger(d, "value"), 255);
    EXPECT_EQ(dictionaryInteger(d, "big"), -7);
    EXPECT_FALSE(dictionaryInteger(d, "text"));
    EXPECT_FALSE(dictionaryInteger(d, "absent"));
    Notification notDict{"x", std::string("plain")};
    EXPECT_EQ(notificationDictionary(notDict), nullptr);
}

TEST(NotificationCenter, HandlerMayRemoveItselfAndPostAgain) {
    NotificationCenter center;
    int calls = 0;
    Observation obs;
    obs = center.addObserver("A", [&](const Notification&) {
        ++calls;
        obs.reset();  // must not deadlock waiting for itself
        center.post("A");
    });
    center.post("A");
    EXPECT_EQ(calls, 1);
}

// Removal waits for a call in flight on another thread, so an owner can never be called after it is gone.
TEST(NotificationCenter, RemovalWaitsForCallInFlight) {
    NotificationCenter center;
    std::atomic<bool> entered{false}, release{false}, finished{false};
    auto obs = std::make_unique<Observation>(center.addObserver("slow", [&](const Notification&) {
        entered = true;
        while (!release) std::this_thread::sleep_for(std::chrono::milliseconds(1));
        finished = true;
    }));
    std::thread poster([&] { center.post("slow"); });
    while (!entered) std::this_thread::yield();
    std::thread remover([&] {
        obs.reset();
        EXPECT_TRUE(finished.load());
    });
    std::this_thread::sleep_for(std::chrono::milliseconds(20));
    release = true;
    remover.join();
    poster.join();
}

TEST(NotificationCenter, ConcurrentPostsAndRegistrations) {
    NotificationCenter center;
    std::atomic<int> total{0};
    std::vector<std::thread> threads;
    for (int t = 0; t < 4; ++t) {
        threads.emplace_back([&] {
            for (int i = 0; i < 200; ++i) {
                auto o = center.addObserver("n", [&](const Notification&) { ++total; });
                center.post("n", NotificationDictionary{{"type", int64_t{i}}});
            }
        });
    }
    for (auto& t : threads) t.join();
    EXPECT_GE(total.load(), 800);
    EXPECT_EQ(center.observerCount("n"), 0u);
}

// Calls handed over by a worker run later, on the main thread, in hand-over order; an owner's pending calls are
// dropped when it cancels them.
TEST(MainThread, OrderAndCancellationByOwner) {
    std::vector<int> ran;
    int ownerA = 0, ownerB = 0;
    bool onMain = false;
    std::thread worker([&] {
        EXPECT_FALSE(isMainThread());
        runOnMain(&ownerA, [&] { ran.push_back(1); });
        runOnMain(&ownerB, [&] { ran.push_back(2); });
        runOnMain(&ownerA, [&] { ran.push_back(3); });
        runOnMain([&] { ran.push_back(4), onMain = isMainThread(); });
    });
    worker.join();
    EXPECT_TRUE(ran.empty());  // nothing runs until the main loop turns
    cancelMainThreadCalls(&ownerA);
    EXPECT_TRUE(test::processEventsUntil([&] { return ran.size() >= 2; }));
    test::processEventsFor(std::chrono::milliseconds(10));
    EXPECT_EQ(ran, (std::vector<int>{2, 4}));
    EXPECT_TRUE(onMain);
}
