#include <gtest/gtest.h>

#include <condition_variable>
#include <mutex>
#include <thread>

#include "platform/LoopThread.h"
#include "platform/hid/HidManager.h"
#include "platform/hid/SimulatedHid.h"
#include "platform/hid/SimulatedHidManager.h"
#include "platform/hid/SimulatedHidScope.h"

using namespace keyloom;
using Bytes = std::vector<uint8_t>;

namespace {

// Records what a manager reports, from whatever thread it runs on.
struct Log {
    struct Entry {
        char kind;  // 'A'rrival, 'R'emoval, 'I'nput
        HidDeviceRef device;
        Bytes report;
        std::thread::id thread;
    };
    std::mutex mutex;
    std::condition_variable changed;
    std::vector<Entry> entries;

    void add(Entry e) {
        std::lock_guard lock(mutex);
        entries.push_back(std::move(e));
        changed.notify_all();
    }
    bool waitFor(size_t n) {
        std::unique_lock lock(mutex);
        return changed.wait_for(lock, std::chrono::seconds(5), [&] { return entries.size() >= n; });
    }
    std::vector<Entry> snapshot() {
        std::lock_guard lock(mutex);
        return entries;
    }
};

void wire(HidManager& m, Log& log, size_t inputBuffer = 64) {
    m.registerDeviceMatchingCallback([&log, inputBuffer](int, HidManager&, const HidDeviceRef& d) {
        d->registerInputReportCallback(
            inputBuffer, [&log](int, const HidDeviceRef& sender, HidReportType, int64_t, const uint8_t* r, size_t n) {
                log.add({'I', sender, Bytes(r, r + n), std::this_thread::get_id()});
            });
        log.add({'A', d, {}, std::this_thread::get_id()});
    });
    m.registerDeviceRemovalCallback([&log](int, HidManager&, const HidDeviceRef& d) {
        log.add({'R', d, {}, std::this_thread::get_id()});
    });
}

}  // namespace

TEST(SimulatedHidManager, AutomaticBackendFollowsTheSimulation) {
    SimulatedHid::instance().reset();
    EXPECT_EQ(dynamic_cast<SimulatedHidManager*>(HidManager::create().get()), nullptr);
    SimulatedHidScope scope;
    EXPECT_NE(dynamic_cast<SimulatedHidManager*>(HidManager::create().get()), nullptr);
    EXPECT_NE(dynamic_cast<SimulatedHidManager*>(HidManager::create(HidBackend::Simulated).get()), nullptr);
}

// Devices present at open() are announced, later ones too, all on the thread that runs the manager; a removal
// hands over the very handle of the arrival, and a re-plug brings a new one.
TEST(SimulatedHidManager, AnnouncesOnItsThreadWithStableHandles) {
    SimulatedHidScope scope;
    auto early = SimulatedHid::instance().plug(SimulatedKeyboard::quorvath87());
    SimulatedHidManager manager;
    manager.setDeviceMatchingMultiple({HidMatch::product(0x1A2C, 0xB57E), HidMatch::product(0x1A2C, 0xB31F)});
    Log log;
    wire(manager, log, 16);
    ASSERT_EQ(manager.open(), kHidSuccess);

    LoopThread thread;
    thread.start([&](std::stop_token token) { manager.run(token); });
    const auto threadId = thread.id();
    ASSERT_TRUE(log.waitFor(1));

    auto receiver = SimulatedHid::instance().plug(SimulatedKeyboard::receiver24g());
    SimulatedHid::instance().plug(SimulatedKeyboard::ostrelte62());  // not on the list
    ASSERT_TRUE(log.waitFor(2));
    receiver->sendBatteryReport(0x57);  // 32 bytes, cut to the 16-byte buffer
    ASSERT_TRUE(log.waitFor(3));
    early->unplug();
    ASSERT_TRUE(log.waitFor(4));
    early->plug();
    ASSERT_TRUE(log.waitFor(5));
    thread.stop();

    const auto e = log.snapshot();
    ASSERT_EQ(e.size(), 5u);
    for (const auto& entry : e) EXPECT_EQ(entry.thread, threadId);
    EXPECT_EQ(e[0].kind, 'A');
    EXPECT_EQ(std::get<int64_t>(e[0].device->property("ProductID")), 0xB57E);
    EXPECT_EQ(e[1].kind, 'A');
    EXPECT_EQ(std::get<int64_t>(e[1].device->property("ProductID")), 0xB31F);
    EXPECT_EQ(e[2].kind, 'I');
    EXPECT_EQ(e[2].device, e[1].device);
    ASSERT_EQ(e[2].report.size(), 16u);
    EXPECT_EQ(e[2].report[0], 0xE4);
    EXPECT_EQ(e[2].report[13], 0x57);
    EXPECT_EQ(e[3].kind, 'R');
    EXPECT_EQ(e[3].device, e[0].device);
    EXPECT_TRUE(e[3].device->removed());
    EXPECT_EQ(e[4].kind, 'A');
    EXPECT_NE(e[4].device, e[0].device);
    EXPECT_FALSE(e[4].device->removed());
    // The manager's handles are its own, but reach the same keyboard.
    EXPECT_NE(e[4].device, early->device());
    const Bytes reset = {0x05, 0xF6, 0, 0, 0, 0, 0, 0};
    EXPECT_EQ(e[4].device->setReport(HidReportType::Feature, 5, reset.data(), reset.size()), kHidSuccess);
    EXPECT_EQ(early->sentReports(HidReportType::Feature), std::vector<Bytes>{reset});
}

TEST(SimulatedHidManager, MatchesByUsagePageAndUsage) {
    SimulatedHidScope scope;
    auto keys = SimulatedHid::instance().plug(SimulatedKeyboard::vendorInterface(0x1A2C, 0xB57E, "Quorvath 87"));
    SimulatedHid::instance().plug(SimulatedKeyboard::bootKeyboard(0x1A2C, 0xB57E, "Quorvath 87"));
    SimulatedHid::instance().plug(SimulatedKeyboard::quorvath87());
    SimulatedHidManager manager;
    manager.setDeviceMatchingMultiple(
        {HidMatch::usagePair(0x01, 0x06), HidMatch::usagePair(0xFF0A, 0x01), HidMatch::usagePair(0x01, 0x07)});
    Log log;
    wire(manager, log);
    manager.open();
    manager.dispatch();  // also usable without a thread of its own, from an event loop
    const auto e = log.snapshot();
    ASSERT_EQ(e.size(), 2u);
    EXPECT_EQ(std::get<int64_t>(e[0].device->property("PrimaryUsagePage")), 0xFF0A);
    EXPECT_EQ(std::get<int64_t>(e[1].device->property("PrimaryUsagePage")), 0x01);

    keys->sendInputReport({0x06, 0x04, 0x05});
    manager.dispatch();
    ASSERT_EQ(log.snapshot().size(), 3u);
    EXPECT_EQ(log.snapshot()[2].report, (Bytes{0x06, 0x04, 0x05}));
}

TEST(SimulatedHidManager, EmptyListMatchesNothingAndStopBeforeRunReturnsAtOnce) {
    SimulatedHidScope scope;
    SimulatedHid::instance().plug(SimulatedKeyboard::quorvath87());
    SimulatedHidManager manager;
    manager.setDeviceMatchingMultiple({});
    Log log;
    wire(manager, log);
    manager.open();
    manager.stop();
    manager.run();  // returns: the stop came first
    manager.dispatch();
    EXPECT_TRUE(log.snapshot().empty());

    SimulatedHidManager all;  // no matching list at all: everything matches
    Log allLog;
    wire(all, allLog);
    all.open();
    all.dispatch();
    EXPECT_EQ(allLog.snapshot().size(), 1u);
}

// Arrival and removal of the same keyboard before the manager runs are delivered in order, with one handle.
TEST(SimulatedHidManager, QueuedArrivalAndRemovalKeepTheirOrder) {
    SimulatedHidScope scope;
    SimulatedHidManager manager;
    Log log;
    wire(manager, log);
    manager.open();
    auto kb = SimulatedHid::instance().plug(SimulatedKeyboard::marrowinv2te());
    kb->unplug();
    manager.dispatch();
    const auto e = log.snapshot();
    ASSERT_EQ(e.size(), 2u);
    EXPECT_EQ(e[0].kind, 'A');
    EXPECT_EQ(e[1].kind, 'R');
    EXPECT_EQ(e[0].device, e[1].device);
}
