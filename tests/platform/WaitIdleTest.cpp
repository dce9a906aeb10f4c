#include <gtest/gtest.h>

#include <atomic>
#include <thread>
#include <vector>

#include "platform/LoopThread.h"
#include "platform/MainThread.h"
#include "platform/SerialWorker.h"
#include "platform/hid/HidManager.h"
#include "platform/hid/SimulatedHidScope.h"
#include "support/WaitIdle.h"

using namespace keyloom;

// Work that passes from a worker to the main thread and back, twice, is all done when the wait returns, without the
// event loop running.
TEST(WaitUntilIdle, FollowsWorkBetweenWorkerAndMainThread) {
    SerialWorker worker;
    std::vector<int> steps;  // main thread only
    worker.post([&] {
        runOnMain([&] {
            steps.push_back(1);
            worker.post([&] { runOnMain([&] { steps.push_back(2); }); });
        });
    });
    ASSERT_TRUE(test::waitUntilIdle({&worker}));
    EXPECT_EQ(steps, (std::vector<int>{1, 2}));
}

// A plug and an unplug reach the manager's thread and what its callbacks hand to the main thread has run.
TEST(WaitUntilIdle, FollowsSimulatedDeviceEvents) {
    SimulatedHidScope simulation;
    std::vector<std::string> events;  // main thread only
    auto manager = HidManager::create(HidBackend::Simulated);
    manager->setDeviceMatchingMultiple({HidMatch::product(0x1A2C, 0xB57E)});
    manager->registerDeviceMatchingCallback(
        [&](int, HidManager&, const HidHandleRef&) { runOnMain([&] { events.push_back("arrival"); }); });
    manager->registerDeviceRemovalCallback(
        [&](int, HidManager&, const HidHandleRef&) { runOnMain([&] { events.push_back("removal"); }); });
    manager->open();
    LoopThread thread;
    thread.start([&](std::stop_token token) { manager->run(token); });

    auto kb = SimulatedHid::instance().plug(SimulatedKeyboard::quorvath87());
    ASSERT_TRUE(test::waitUntilIdle());
    EXPECT_EQ(events, std::vector<std::string>{"arrival"});
    SimulatedHid::instance().unplug(kb);
    ASSERT_TRUE(test::waitUntilIdle());
    EXPECT_EQ(events, (std::vector<std::string>{"arrival", "removal"}));
    manager->stop();
    thread.stop();
}

// A worker that does not finish makes the wait fail at its timeout instead of hanging.
TEST(WaitUntilIdle, GivesUpAtTheTimeout) {
    std::atomic<bool> release{false};
    SerialWorker worker;
    worker.post([&] {
        while (!release) std::this_thread::yield();
    });
    EXPECT_FALSE(test::waitUntilIdle({&worker}, std::chrono::milliseconds(30)));
    release = true;
    EXPECT_TRUE(test::waitUntilIdle({&worker}));
}
