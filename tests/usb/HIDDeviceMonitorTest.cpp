#include <gtest/gtest.h>

#include <map>
#include <thread>

#include "NotificationRecorder.h"
#include "USB/HIDDeviceMonitor.h"
#include "USB/HomeWatchList.h"
#include "platform/LoopThread.h"
#include "platform/hid/SimulatedHid.h"
#include "platform/hid/SimulatedHidScope.h"

using namespace keyloom;
using test::NotificationRecorder;
using Bytes = std::vector<uint8_t>;

namespace {

const std::vector<std::string> kAllNames = {HIDDeviceConnected, HIDDeviceDisconnected, HIDWirelessConnected,
                                            HIDWirelessDisconnected, "WirelessBatteryValue"};

class FakeDevice : public HidDevice {
  public:
    FakeDevice(std::map<std::string, HidPropertyValue, std::less<>> p) : p_(std::move(p)) {}
    static std::shared_ptr<FakeDevice> make(int64_t vid, int64_t pid, int64_t featureSize) {
        return std::make_shared<FakeDevice>(std::map<std::string, HidPropertyValue, std::less<>>{
            {"VendorID", vid}, {"ProductID", pid}, {"MaxFeatureReportSize", featureSize}});
    }
    HidPropertyValue property(std::string_view key) const override {
        auto it = p_.find(key);
        return it == p_.end() ? HidPropertyValue{} : it->second;
    }
    int setReport(HidReportType, int64_t, const uint8_t*, size_t) override { return kHidSuccess; }
    int getReport(HidReportType, int64_t, uint8_t*, size_t& length) override {
        length = 0;
        return kHidSuccess;
    }
    bool removed() const override { return false; }
    // Plays the manager delivering an input report to whatever handler the monitor registered.
    void input(const Bytes& report) {
        deliverInputReport(report.empty() ? 0 : report[0], report.data(), report.size());
    }

  private:
    std::map<std::string, HidPropertyValue, std::less<>> p_;
};

const HIDDevice* deviceOf(const Notification& n) {
    auto dict = notificationDictionary(n);
    if (!dict || dict->size() != 1 || !dict->count("device")) return nullptr;
    return std::any_cast<HIDDevice>(&dict->at("device"));
}

std::optional<int64_t> wirelessType(const Notification& n) {
    auto dict = notificationDictionary(n);
    if (!dict || dict->size() != 1 || !dict->count("type")) return std::nullopt;
    if (!std::any_cast<int64_t>(&dict->at("type"))) return std::nullopt;
    return dictionaryInteger(*dict, "type");
}

struct Row {
    const char* what;
    int64_t vid, pid, featureSize;
    const char* onArrival;  // notification name, or nullptr
    const char* onRemoval;
    int64_t arrivalType, removalType;  // wireless rows
    bool result;
};

class Classification : public ::testing::TestWithParam<Row> {};

}  // namespace

TEST_P(Classification, ArrivalAndRemoval) {
    const Row& row = GetParam();
    HIDDeviceMonitor monitor(homeWatchList(), 64);
    auto device = FakeDevice::make(row.vid, row.pid, row.featureSize);
    NotificationRecorder rec(kAllNames);

    EXPECT_EQ(monitor.rawDeviceAdded(0, nullptr, device), row.result);
    EXPECT_EQ(monitor.rawDeviceRemoved(0, nullptr, device), row.result);

    const auto e = rec.entries();  // posted synchronously: already here when the handlers return
    size_t i = 0;
    for (auto [name, type] : {std::pair{row.onArrival, row.arrivalType}, std::pair{row.onRemoval, row.removalType}}) {
        if (!name) continue;
        ASSERT_LT(i, e.size());
        EXPECT_EQ(e[i].note.name, name);
        if (type) {
            EXPECT_EQ(wirelessType(e[i].note), type);
        } else {
            auto rec = deviceOf(e[i].note);
            ASSERT_TRUE(rec);
            EXPECT_EQ(rec->device, device);
            EXPECT_EQ(rec->vendorId, row.vid);
            EXPECT_EQ(rec->productId, row.pid);
            EXPECT_EQ(rec->featureSize, row.featureSize);
        }
        ++i;
    }
    EXPECT_EQ(e.size(), i);
}

INSTANTIATE_TEST_SUITE_P(
    Table, Classification,
    ::testing::Values(
        Row{"SecondGeneration024FWith64", 0x05AC, 0x024F, 64, HIDDeviceConnected, HIDDeviceDisconnected, 0, 0, true},
        Row{"SecondGeneration024FWith65", 0x05AC, 0x024F, 65, nullptr, nullptr, 0, 0, false},
        Row{"SecondGeneration024FWithout", 0x05AC, 0x024F, 0, nullptr, nullptr, 0, 0, false},
        Row{"SecondGeneration0250AnySize", 0x05AC, 0x0250, 65, HIDDeviceConnected, HIDDeviceDisconnected, 0, 0, true},
        Row{"SecondGenerationOther", 0x05AC, 0x1234, 0, HIDDeviceConnected, HIDDeviceDisconnected, 0, 0, true},
        Row{"BluetoothLink", 0x1A2C, 0xB20D, 8, HIDWirelessConnected, HIDWirelessDisconnected, 1, 11, false},
        Row{"Receiver", 0x1A2C, 0xB31F, 8, HIDWirelessConnected, HIDWirelessDisconnected, 2, 12, false},
        Row{"FirstGenerationWith8", 0x1A2C, 0xB58E, 8, HIDDeviceConnected, HIDDeviceDisconnected, 0, 0, true},
        Row{"FirstGenerationSiblingWithout", 0x1A2C, 0xB58E, 0, nullptr, nullptr, 0, 0, false},
        Row{"FirstGenerationWith64", 0x1A2C, 0xB57E, 64, nullptr, nullptr, 0, 0, false},
        Row{"FirstGenerationWith9", 0x1A2C, 0xB57E, 9, nullptr, nullptr, 0, 0, false},
        Row{"OtherVendor", 0x1234, 0x0001, 0, HIDDeviceConnected, HIDDeviceDisconnected, 0, 0, true},
        Row{"NoProperties", 0, 0, 0, HIDDeviceConnected, HIDDeviceDisconnected, 0, 0, true}),
    [](const auto& info) { return std::string(info.param.what); });

// Every matched device gets its input handler, whatever the classification; only the receiver's 32-byte reports
// marked 0xE4 carry the battery level, in byte 13, unchanged.
TEST(HIDDeviceMonitor, BatteryReportRule) {
    struct Case {
        const char* what;
        int64_t pid;
        size_t length;
        uint8_t mark, level;
        bool posts;
    };
    const Case cases[] = {
        {"receiver", 0xB31F, 32, 0xE4, 0x57, true},  {"level0", 0xB31F, 32, 0xE4, 0, true},
        {"level255", 0xB31F, 32, 0xE4, 255, true},   {"short", 0xB31F, 31, 0xE4, 0x57, false},
        {"long", 0xB31F, 33, 0xE4, 0x57, false},     {"otherMark", 0xB31F, 32, 0xE5, 0x57, false},
        {"keyboard", 0xB57E, 32, 0xE4, 0x57, false}, {"bluetooth", 0xB20D, 32, 0xE4, 0x57, false},
    };
    HIDDeviceMonitor monitor(homeWatchList(), 64);
    for (const auto& c : cases) {
        auto device = FakeDevice::make(0x1A2C, c.pid, 0);
        monitor.rawDeviceAdded(0, nullptr, device);
        NotificationRecorder rec({"WirelessBatteryValue"});
        Bytes report(c.length, 0xAA);
        report[0] = c.mark;
        report[13] = c.level;
        device->input(report);
        const auto e = rec.entries();
        ASSERT_EQ(e.size(), c.posts ? 1u : 0u) << c.what;
        if (!c.posts) continue;
        auto dict = notificationDictionary(e[0].note);
        ASSERT_TRUE(dict);
        EXPECT_EQ(dict->size(), 2u);
        ASSERT_TRUE(std::any_cast<uint8_t>(&dict->at("type")));
        EXPECT_EQ(dictionaryInteger(*dict, "type"), 2) << c.what;
        EXPECT_EQ(dictionaryInteger(*dict, "value"), c.level) << c.what;
    }
}

// The monitor's buffer is reportSize bytes: a longer report is cut to it, so a monitor with a buffer under 32 bytes
// sees no battery report.
TEST(HIDDeviceMonitor, ReportsAreCutToTheBufferSize) {
    HIDDeviceMonitor monitor(homeWatchList(), 16);
    auto device = FakeDevice::make(0x1A2C, 0xB31F, 0);
    monitor.rawDeviceAdded(0, nullptr, device);
    NotificationRecorder rec({"WirelessBatteryValue"});
    Bytes report(32, 0);
    report[0] = 0xE4;
    device->input(report);
    EXPECT_TRUE(rec.entries().empty());
}

namespace {

class MonitorOnThread : public ::testing::Test {
  protected:
    SimulatedHidScope scope_;
};

}  // namespace

// Keyboards already plugged when the monitor starts are announced; everything is posted on the monitor's thread;
// the disconnection carries the very handle of the connection; a re-plug is a new device.
TEST_F(MonitorOnThread, AnnouncesOnItsOwnThread) {
    auto kb = SimulatedHid::instance().plug(SimulatedKeyboard::quorvath87());
    auto receiver = SimulatedHid::instance().plug(SimulatedKeyboard::receiver24g());
    // A sibling interface of the same keyboard without 8-byte feature reports is dropped.
    SimulatedHid::instance().plug(SimulatedKeyboard::bootKeyboard(0x1A2C, 0xB57E, "Quorvath 87"));
    SimulatedHid::instance().plug(SimulatedKeyboard::bootKeyboard(0x046D, 0xC31C, "Other keyboard"));  // not watched

    NotificationRecorder rec(kAllNames);
    HIDDeviceMonitor monitor(homeWatchList(), kHomeReportSize);
    LoopThread thread;
    thread.start([&](std::stop_token token) { monitor.start(token); });
    const auto threadId = thread.id();

    ASSERT_TRUE(rec.waitFor(2));
    receiver->sendBatteryReport(87);
    ASSERT_TRUE(rec.waitFor(3));
    kb->unplug();
    receiver->unplug();
    ASSERT_TRUE(rec.waitFor(5));
    kb->plug();
    auto ostrel = SimulatedHid::instance().plug(SimulatedKeyboard::ostrelte62());
    ASSERT_TRUE(rec.waitFor(7));
    thread.stop();

    const auto e = rec.entries();
    ASSERT_EQ(e.size(), 7u);
    for (const auto& entry : e) EXPECT_EQ(entry.thread, threadId) << entry.note.name;

    EXPECT_EQ(e[0].note.name, HIDDeviceConnected);
    const HIDDevice* connected = deviceOf(e[0].note);
    ASSERT_TRUE(connected);
    EXPECT_EQ(connected->productId, 0xB57E);
    EXPECT_EQ(connected->featureSize, 8);
    EXPECT_EQ(connected->name, "Quorvath 87");
    EXPECT_EQ(e[1].note.name, HIDWirelessConnected);
    EXPECT_EQ(wirelessType(e[1].note), 2);
    EXPECT_EQ(e[2].note.name, "WirelessBatteryValue");
    EXPECT_EQ(dictionaryInteger(*notificationDictionary(e[2].note), "value"), 87);
    EXPECT_EQ(e[3].note.name, HIDDeviceDisconnected);
    ASSERT_TRUE(deviceOf(e[3].note));
    EXPECT_EQ(deviceOf(e[3].note)->device, connected->device);
    EXPECT_TRUE(connected->device->removed());
    EXPECT_EQ(e[4].note.name, HIDWirelessDisconnected);
    EXPECT_EQ(wirelessType(e[4].note), 12);
    EXPECT_EQ(e[5].note.name, HIDDeviceConnected);
    ASSERT_TRUE(deviceOf(e[5].note));
    EXPECT_NE(deviceOf(e[5].note)->device, connected->device);
    EXPECT_EQ(e[6].note.name, HIDDeviceConnected);
    ASSERT_TRUE(deviceOf(e[6].note));
    EXPECT_EQ(deviceOf(e[6].note)->name, "Ostrel TE");
    EXPECT_EQ(deviceOf(e[6].note)->featureSize, 64);

    // The announced handle talks to the keyboard.
    const Bytes version = {0x05, 0xF4, 0, 0, 0, 0, 0, 0};
    auto handle = deviceOf(e[5].note)->device;
    EXPECT_EQ(handle->setReport(HidReportType::Feature, 5, version.data(), version.size()), kHidSuccess);
    EXPECT_EQ(kb->sentReports(HidReportType::Feature), std::vector<Bytes>{version});
}

// An observer that talks to the keyboard runs on the monitor thread before the next event is handled.
TEST_F(MonitorOnThread, ObserverRunsBeforeTheNextEvent) {
    auto kb = SimulatedHid::instance().plug(SimulatedKeyboard::quorvath88());
    std::vector<std::string> order;
    std::mutex mutex;
    auto connected = NotificationCenter::defaultCenter().addObserver(HIDDeviceConnected, [&](const Notification& n) {
        auto rec = deviceOf(n);
        const Bytes cmd = {0x05, 0xF4, 0, 0, 0, 0, 0, 0};
        rec->device->setReport(HidReportType::Feature, 5, cmd.data(), cmd.size());
        kb->unplug();  // queued behind this handler
        std::lock_guard lock(mutex);
        order.push_back("connected");
    });
    NotificationRecorder rec({HIDDeviceDisconnected});
    auto disconnected =
        NotificationCenter::defaultCenter().addObserver(HIDDeviceDisconnected, [&](const Notification&) {
            std::lock_guard lock(mutex);
            order.push_back("disconnected");
        });
    HIDDeviceMonitor monitor(homeWatchList(), kHomeReportSize);
    LoopThread thread;
    thread.start([&](std::stop_token token) { monitor.start(token); });
    ASSERT_TRUE(rec.waitFor(1));
    thread.stop();
    std::lock_guard lock(mutex);
    EXPECT_EQ(order, (std::vector<std::string>{"connected", "disconnected"}));
    EXPECT_EQ(kb->transfers().size(), 1u);
}

TEST_F(MonitorOnThread, StopsFromAnotherThreadAndBeforeStart) {
    HIDDeviceMonitor early(homeWatchList(), kHomeReportSize);
    early.stop();
    early.start();  // returns at once: the stop came first

    HIDDeviceMonitor monitor({}, kHomeReportSize);  // an empty watch list still runs
    NotificationRecorder rec(kAllNames);
    std::thread thread([&] { monitor.start(); });
    SimulatedHid::instance().plug(SimulatedKeyboard::quorvath87());
    monitor.stop();
    thread.join();
    EXPECT_TRUE(rec.entries().empty());
}
