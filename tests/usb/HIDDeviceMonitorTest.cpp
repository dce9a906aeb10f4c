#include <gtest/gtest.h>

#include <atomic>
#include <cmath>
#include <condition_variable>
#include <cstdint>
#include <future>
#include <thread>

#include "USB/HIDDeviceMonitor.h"
#include "USB/HomeWatchList.h"
#include "platform/LoopThread.h"
#include "platform/NotificationCenter.h"
#include "platform/hid/SimulatedHid.h"
#include "platform/hid/SimulatedHidManager.h"
#include "platform/hid/SimulatedHidScope.h"

using namespace keyloom;
using Bytes = std::vector<uint8_t>;

namespace {

const std::vector<std::string> kAllNames = {HIDDeviceConnected, HIDDeviceDisconnected, HIDWirelessConnected,
                                            HIDWirelessDisconnected, "WirelessBatteryValue"};

// Keeps each notification of the given names with its posting thread.
class Recorder {
  public:
    using Entry = std::pair<Notification, std::thread::id>;
    explicit Recorder(const std::vector<std::string>& names) {
        for (const auto& name : names)
            observations_.push_back(
                NotificationCenter::defaultCenter().addObserver(name, [this](const Notification& n) {
                    std::lock_guard lock(mutex_);
                    entries_.emplace_back(n, std::this_thread::get_id());
                    changed_.notify_all();
                }));
    }
    bool waitFor(size_t count) {
        std::unique_lock lock(mutex_);
        return changed_.wait_for(lock, std::chrono::seconds(5), [&] { return entries_.size() >= count; });
    }
    std::vector<Entry> entries() {
        std::lock_guard lock(mutex_);
        return entries_;
    }

  private:
    std::mutex mutex_;
    std::condition_variable changed_;
    std::vector<Entry> entries_;
    std::vector<Observation> observations_;  // last member: removed first, before the entries go
};

// A plugged simulated interface with this identity.
HidHandleRef plugged(int64_t vid, int64_t pid, int64_t featureSize) {
    auto kb = SimulatedKeyboard::bootKeyboard(vid, pid, "");
    kb->setProperty("MaxFeatureReportSize", featureSize);
    return SimulatedHid::instance().plug(kb)->device();
}

const HIDDevice* deviceOf(const Notification& n) {
    auto dict = notificationDictionary(n);
    if (!dict || dict->size() != 1 || !dict->count("device")) return nullptr;
    return std::any_cast<HIDDevice>(&dict->at("device"));
}

std::optional<int64_t> wirelessType(const Notification& n) {
    auto dict = notificationDictionary(n);
    if (!dict || dict->size() != 1 || !dict->count("type") || !std::any_cast<int64_t>(&dict->at("type")))
        return std::nullopt;
    return dictionaryInteger(*dict, "type");
}

}  // namespace

// A property of the wrong kind or a double that is no exact int64 reads as 0 / "" (never undefined behaviour).
TEST(HIDDevice, ConversionRules) {
    const HidPropertyValue values[] = {
        std::monostate(), std::string("46463"), int64_t(-5), 64.0, 64.5, 0x1p63, -0x1p63, NAN, INFINITY};
    const int64_t numbers[] = {0, 0, -5, 64, 0, 0, INT64_MIN, 0, 0};
    SimulatedHidScope scope;
    for (size_t i = 0; i < std::size(values); ++i) {
        SCOPED_TRACE(i);
        auto kb = SimulatedKeyboard::bootKeyboard(0x1A2C, 0, "");
        kb->setProperty("ProductID", values[i]);
        kb->setProperty("Product", values[i]);
        const HIDDevice r(SimulatedHid::instance().plug(kb)->device());
        EXPECT_EQ(r.productId, numbers[i]);
        EXPECT_EQ(r.name, i == 1 ? "46463" : "");
    }
    EXPECT_EQ(HIDDevice(nullptr).name, "");
}

TEST(HIDDeviceMonitor, ClassificationTable) {
    struct Row {
        const char* what;
        int64_t vid, pid, featureSize;
        char posts;                                // 'D'evice notifications (and true), 'W'ireless ones, or none
        int64_t arrivalType = 0, removalType = 0;  // wireless rows
    };
    const Row rows[] = {
        {"secondGeneration024FWith64", 0x05AC, 0x024F, 64, 'D'},
        {"secondGeneration024FWith65", 0x05AC, 0x024F, 65, '-'},
        {"secondGeneration024FWithout", 0x05AC, 0x024F, 0, '-'},
        {"secondGeneration0250AnySize", 0x05AC, 0x0250, 65, 'D'},
        {"secondGenerationOther", 0x05AC, 0x1234, 0, 'D'},
        {"bluetoothLink", 0x1A2C, 0xB20D, 8, 'W', 1, 11},
        {"receiver", 0x1A2C, 0xB31F, 8, 'W', 2, 12},
        {"firstGenerationWith8", 0x1A2C, 0xB58E, 8, 'D'},
        {"firstGenerationSiblingWithout", 0x1A2C, 0xB58E, 0, '-'},
        {"firstGenerationWith64", 0x1A2C, 0xB57E, 64, '-'},
        {"firstGenerationWith9", 0x1A2C, 0xB57E, 9, '-'},
        {"firstGenerationAnyOtherWithout", 0x1A2C, 0x1234, 0, '-'},
        {"otherVendor", 0x1234, 0x0001, 0, 'D'},
        {"zeroIds", 0, 0, 0, 'D'},
    };
    SimulatedHidScope scope;
    HIDDeviceMonitor monitor(homeWatchList(), 64);
    for (const auto& row : rows) {
        SCOPED_TRACE(row.what);
        auto device = plugged(row.vid, row.pid, row.featureSize);
        Recorder rec(kAllNames);
        EXPECT_EQ(monitor.rawDeviceAdded(0, nullptr, device), row.posts == 'D');
        EXPECT_EQ(monitor.rawDeviceRemoved(0, nullptr, device), row.posts == 'D');

        const auto e = rec.entries();  // posted synchronously: already here when the handlers return
        ASSERT_EQ(e.size(), row.posts == '-' ? 0u : 2u);
        if (row.posts == 'W') {
            EXPECT_EQ(e[0].first.name, HIDWirelessConnected);
            EXPECT_EQ(wirelessType(e[0].first), row.arrivalType);
            EXPECT_EQ(e[1].first.name, HIDWirelessDisconnected);
            EXPECT_EQ(wirelessType(e[1].first), row.removalType);
        } else if (row.posts == 'D') {
            EXPECT_EQ(e[0].first.name, HIDDeviceConnected);
            EXPECT_EQ(e[1].first.name, HIDDeviceDisconnected);
            for (const auto& [note, thread] : e) {
                auto r = deviceOf(note);
                EXPECT_TRUE(r && r->device == device && r->productId == row.pid && r->featureSize == row.featureSize);
            }
        }
    }
}

// Every matched device gets the input handler; only the receiver's 32-byte reports marked 0xE4 carry the battery
// level, in byte 13, unchanged. A report longer than the monitor's buffer is cut to it.
TEST(HIDDeviceMonitor, BatteryReportRule) {
    struct Case {
        const char* what;
        int64_t pid;
        size_t length;
        uint8_t mark, level;
        bool posts;
        int64_t buffer = 64;
    };
    const Case cases[] = {
        {"receiver", 0xB31F, 32, 0xE4, 0x57, true},   {"level255", 0xB31F, 32, 0xE4, 255, true},
        {"short", 0xB31F, 31, 0xE4, 0x57, false},     {"long", 0xB31F, 33, 0xE4, 0x57, false},
        {"otherMark", 0xB31F, 32, 0xE5, 0x57, false}, {"keyboard", 0xB57E, 32, 0xE4, 0x57, false},
        {"bluetooth", 0xB20D, 32, 0xE4, 0x57, false}, {"buffer16", 0xB31F, 32, 0xE4, 0x57, false, 16},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        SimulatedHidScope scope;
        auto kb = SimulatedHid::instance().plug(SimulatedKeyboard::bootKeyboard(0x1A2C, c.pid, ""));
        HIDDeviceMonitor monitor(homeWatchList(), c.buffer);
        SimulatedHidManager manager;  // delivers the reports as start() would, cut to the buffer
        manager.registerDeviceMatchingCallback(
            [&](int r, HidManager& m, const HidHandleRef& d) { monitor.rawDeviceAdded(r, &m, d); });
        manager.open();
        Recorder rec({"WirelessBatteryValue"});
        Bytes report(c.length, 0xAA);
        report[0] = c.mark;
        report[13] = c.level;
        kb->sendInputReport(report);
        manager.dispatch();
        const auto e = rec.entries();
        ASSERT_EQ(e.size(), c.posts ? 1u : 0u);
        if (!c.posts) continue;
        auto dict = notificationDictionary(e[0].first);
        ASSERT_TRUE(dict && dict->size() == 2u && std::any_cast<uint8_t>(&dict->at("type")));
        EXPECT_EQ(dictionaryInteger(*dict, "type"), 2);
        EXPECT_EQ(dictionaryInteger(*dict, "value"), c.level);
    }
}

// Keyboards already plugged when the monitor starts are announced; everything is posted on the monitor's thread;
// the disconnection carries the very handle of the connection; a re-plug is a new device.
TEST(MonitorOnThread, AnnouncesOnItsOwnThread) {
    SimulatedHidScope scope;
    auto kb = SimulatedHid::instance().plug(SimulatedKeyboard::quorvath87());
    auto receiver = SimulatedHid::instance().plug(SimulatedKeyboard::receiver24g());
    // A sibling interface without 8-byte feature reports is dropped; other keyboards are not watched.
    SimulatedHid::instance().plug(SimulatedKeyboard::bootKeyboard(0x1A2C, 0xB57E, "Quorvath 87"));
    SimulatedHid::instance().plug(SimulatedKeyboard::bootKeyboard(0x046D, 0xC31C, "Other keyboard"));

    Recorder rec(kAllNames);
    HIDDeviceMonitor monitor(homeWatchList(), kHomeReportSize);
    LoopThread thread;
    thread.start([&](std::stop_token token) { monitor.start(token); });
    // The receiver reports its keyboard's battery level when it is opened.
    ASSERT_TRUE(rec.waitFor(3));
    kb->unplug();
    receiver->unplug();
    ASSERT_TRUE(rec.waitFor(5));
    kb->plug();
    SimulatedHid::instance().plug(SimulatedKeyboard::ostrelte62());
    ASSERT_TRUE(rec.waitFor(7));
    const auto threadId = thread.id();
    thread.stop();

    const auto e = rec.entries();
    ASSERT_EQ(e.size(), 7u);
    const std::string names[] = {HIDDeviceConnected,    HIDWirelessConnected,    "WirelessBatteryValue",
                                 HIDDeviceDisconnected, HIDWirelessDisconnected, HIDDeviceConnected,
                                 HIDDeviceConnected};
    for (size_t i = 0; i < e.size(); ++i) {
        EXPECT_EQ(e[i].first.name, names[i]) << i;
        EXPECT_EQ(e[i].second, threadId) << i;
    }
    const HIDDevice* connected = deviceOf(e[0].first);
    ASSERT_TRUE(connected && deviceOf(e[3].first) && deviceOf(e[5].first) && deviceOf(e[6].first));
    EXPECT_EQ(connected->name, "Quorvath 87");
    EXPECT_EQ(connected->featureSize, 8);
    EXPECT_EQ(wirelessType(e[1].first), 2);
    EXPECT_EQ(dictionaryInteger(*notificationDictionary(e[2].first), "value"), 87);
    EXPECT_EQ(deviceOf(e[3].first)->device, connected->device);
    EXPECT_TRUE(connected->device->removed());
    EXPECT_EQ(wirelessType(e[4].first), 12);
    EXPECT_NE(deviceOf(e[5].first)->device, connected->device);
    EXPECT_EQ(deviceOf(e[6].first)->name, "Ostrel TE");
    EXPECT_EQ(deviceOf(e[6].first)->featureSize, 64);

    // The announced handle talks to the keyboard.
    const Bytes version = {0x05, 0xF4, 0, 0, 0, 0, 0, 0};
    EXPECT_EQ(deviceOf(e[5].first)->device->setReport(HidReportType::Feature, 5, version.data(), version.size()),
              kHidSuccess);
    EXPECT_EQ(kb->sentReports(HidReportType::Feature), std::vector<Bytes>{version});
}

// An observer that talks to the keyboard runs on the monitor thread before the next event is handled.
TEST(MonitorOnThread, ObserverRunsBeforeTheNextEvent) {
    SimulatedHidScope scope;
    auto kb = SimulatedHid::instance().plug(SimulatedKeyboard::quorvath88());
    std::atomic<bool> handled = false;
    std::promise<bool> handledFirst;
    auto connected = NotificationCenter::defaultCenter().addObserver(HIDDeviceConnected, [&](const Notification& n) {
        const Bytes cmd = {0x05, 0xF4, 0, 0, 0, 0, 0, 0};
        deviceOf(n)->device->setReport(HidReportType::Feature, 5, cmd.data(), cmd.size());
        kb->unplug();  // queued behind this handler
        handled = true;
    });
    auto disconnected = NotificationCenter::defaultCenter().addObserver(
        HIDDeviceDisconnected, [&](const Notification&) { handledFirst.set_value(handled); });
    auto result = handledFirst.get_future();
    HIDDeviceMonitor monitor(homeWatchList(), kHomeReportSize);
    LoopThread thread;
    thread.start([&](std::stop_token token) { monitor.start(token); });
    ASSERT_EQ(result.wait_for(std::chrono::seconds(5)), std::future_status::ready);
    thread.stop();
    EXPECT_TRUE(result.get());
    EXPECT_EQ(kb->transfers().size(), 1u);
}

TEST(MonitorOnThread, StopsFromAnotherThreadAndBeforeStart) {
    SimulatedHidScope scope;
    HIDDeviceMonitor early(homeWatchList(), kHomeReportSize);
    early.stop();
    early.start();  // returns at once: the stop came first

    HIDDeviceMonitor monitor({}, kHomeReportSize);  // an empty watch list still runs
    Recorder rec(kAllNames);
    std::thread thread([&] { monitor.start(); });
    SimulatedHid::instance().plug(SimulatedKeyboard::quorvath87());
    monitor.stop();
    thread.join();
    EXPECT_TRUE(rec.entries().empty());
}
