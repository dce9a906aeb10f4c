#include <gtest/gtest.h>

#include <thread>

#include "Views/Home/core/BTBattery.h"
#include "platform/MainThread.h"
#include "platform/NotificationCenter.h"
#include "platform/bluetooth/BlueZCentral.h"
#include "platform/bluetooth/SimulatedCentral.h"
#include "support/TestSupport.h"

namespace keyloom {
namespace {

using Bytes = std::vector<uint8_t>;
using Request = SimulatedPeripheral::Request;

std::vector<SimulatedGattService> batteryService(Bytes level) {
    return {{kBatteryServiceUUID, {{kBatteryLevelCharacteristicUUID, std::move(level)}}}};
}

// A reader on a simulated central, with every "WirelessBatteryValue" it posts and the thread it was posted on.
class BTBatteryTest : public ::testing::Test {
  protected:
    struct Post {
        int64_t type;
        int64_t value;
        bool onMainThread;
    };

    void SetUp() override {
        observation =
            NotificationCenter::defaultCenter().addObserver("WirelessBatteryValue", [this](const Notification& n) {
                const auto* d = notificationDictionary(n);
                ASSERT_NE(d, nullptr);
                EXPECT_EQ(d->size(), 2u);
                posts.push_back({dictionaryInteger(*d, "type").value_or(-1),
                                 dictionaryInteger(*d, "value").value_or(-1), isMainThread()});
            });
        battery = std::make_shared<BTBattery>();
    }

    // Creates the central (it reports its state from the event loop) and captures what the reader prints.
    void start(CentralState state = CentralState::poweredOn) {
        central = SimulatedCentral::create(battery, state);
        battery->centralManager = central;
    }
    std::shared_ptr<SimulatedPeripheral> keyboard(Bytes level, std::optional<std::string> name = "RA VER IV") {
        return central->addPeripheral(std::move(name), batteryService(std::move(level)));
    }
    // Runs the event loop until everything the central has queued so far has been answered.
    void settle() {
        for (int round = 0; round < 8; ++round) {
            bool done = false;
            central->post([&] { done = true; });
            ASSERT_TRUE(test::processEventsUntil([&] { return done; }));
        }
    }
    std::string run() {
        testing::internal::CaptureStdout();
        settle();
        return testing::internal::GetCapturedStdout();
    }

    Observation observation;
    std::vector<Post> posts;
    std::shared_ptr<BTBattery> battery;
    std::shared_ptr<SimulatedCentral> central;
};

TEST_F(BTBatteryTest, AdoptsOnlyThePeripheralNamedExactly) {
    start();
    auto wanted = keyboard({0x64, 0x05});
    keyboard({50}, "ra ver iv");
    keyboard({51}, std::nullopt);
    keyboard({52}, "RA VER IV ");
    const std::string out = run();
    ASSERT_EQ(central->connectRequests().size(), 1u);
    EXPECT_EQ(central->connectRequests()[0], wanted);
    EXPECT_EQ(battery->qvPeripheral, wanted);
    ASSERT_EQ(posts.size(), 1u);
    EXPECT_EQ(posts[0].type, 1);
    EXPECT_EQ(posts[0].value, 100);
    EXPECT_TRUE(posts[0].onMainThread);
    EXPECT_EQ(out, "蓝牙中心开启状态\n连接成功\nService found with UUID: %@ 180F\n100\n");
    EXPECT_TRUE(battery->connectState);
    ASSERT_TRUE(battery->batteryCharacteristic);
    EXPECT_EQ(battery->batteryCharacteristic->uuid(), kBatteryLevelCharacteristicUUID);
}

TEST_F(BTBatteryTest, LevelIsTheFirstByteUnchanged) {
    const std::pair<Bytes, int64_t> cases[] = {{{0x64, 0x05}, 100}, {{0xFF}, 255}, {{0x00}, 0}, {{0x37, 0, 0, 0}, 55}};
    for (const auto& [value, level] : cases) {
        SCOPED_TRACE(level);
        posts.clear();
        battery = std::make_shared<BTBattery>();
        start();
        keyboard(value);
        run();
        ASSERT_EQ(posts.size(), 1u);
        EXPECT_EQ(posts[0].value, level);
    }
}

TEST_F(BTBatteryTest, EmptyValuePostsNothingAndThePollReadsAgain) {
    start();
    auto p = keyboard({});
    const std::string out = run();
    EXPECT_TRUE(posts.empty());
    EXPECT_EQ(out, "蓝牙中心开启状态\n连接成功\nService found with UUID: %@ 180F\n");
    ASSERT_TRUE(battery->batteryCharacteristic);

    p->setValue(kBatteryLevelCharacteristicUUID, {42});
    battery->readBatteryLevelIfConnected();
    run();
    ASSERT_EQ(posts.size(), 1u);
    EXPECT_EQ(posts[0].value, 42);
    EXPECT_EQ(p->requests(Request::readValue), 2);
}

TEST_F(BTBatteryTest, FailuresWriteTheirLineAndPostNothing) {
    const std::pair<Request, std::string> cases[] = {
        {Request::discoverServices, "Discovered services for %s with error: RA VER IV\n"},
        {Request::discoverCharacteristics, "Discovered characteristics for %@ with error 180F\n"},
        {Request::readValue, "Error updating value for characteristic %@ error 2A19\n"},
    };
    for (const auto& [request, line] : cases) {
        SCOPED_TRACE(line);
        battery = std::make_shared<BTBattery>();
        start();
        keyboard({80})->failNext(request);
        const std::string out = run();
        EXPECT_TRUE(posts.empty());
        EXPECT_NE(out.find(line), std::string::npos) << out;
    }
}

TEST_F(BTBatteryTest, SwitchOnWithoutKeyboardLeavesSearchOpen) {
    start();
    keyboard({80}, "Another keyboard");
    run();
    EXPECT_TRUE(battery->connectState);
    EXPECT_EQ(battery->qvPeripheral, nullptr);
    EXPECT_TRUE(central->connectRequests().empty());
    EXPECT_TRUE(posts.empty());
}

TEST_F(BTBatteryTest, CentralStatesWriteTheirLines) {
    const std::pair<CentralState, std::string> cases[] = {
        {CentralState::unknown, "centralManagerDidUpdateState --> 状态 : unknown\n"},
        {CentralState::resetting, "centralManagerDidUpdateState --> 状态 : resetting\n"},
        {CentralState::unsupported, "centralManagerDidUpdateState --> 状态 : unsupported\n"},
        {CentralState::unauthorized, "centralManagerDidUpdateState --> 状态 : unauthorized\n"},
        {CentralState::poweredOff, "centralManagerDidUpdateState --> 状态 : poweredOff\n"},
    };
    start(CentralState::unknown);
    run();
    for (const auto& [state, line] : cases) {
        battery->connectState = true;
        central->setState(state);
        EXPECT_EQ(run(), line);
        EXPECT_EQ(battery->connectState, state != CentralState::poweredOff);
    }
    keyboard({33});
    central->setState(CentralState::poweredOn);
    run();
    ASSERT_EQ(posts.size(), 1u);
    EXPECT_EQ(posts[0].value, 33);
}

TEST_F(BTBatteryTest, DisconnectionForgetsTheCharacteristicAndKeepsThePeripheral) {
    start();
    auto p = keyboard({90});
    run();
    ASSERT_TRUE(battery->batteryCharacteristic);
    central->dropPeripheral(p);
    EXPECT_EQ(run(), "断开连接\n");
    EXPECT_FALSE(battery->connectState);
    EXPECT_EQ(battery->batteryCharacteristic, nullptr);
    EXPECT_EQ(battery->qvPeripheral, p);
    EXPECT_EQ(p->delegate(), nullptr);
    battery->readBatteryLevelIfConnected();
    run();
    EXPECT_EQ(p->requests(Request::readValue), 1);
}

TEST_F(BTBatteryTest, SearchForgetsTheAdoptedKeyboardFirst) {
    start();
    auto p = keyboard({90});
    run();
    ASSERT_TRUE(battery->batteryCharacteristic);
    battery->checkBluetoothDevice();
    EXPECT_EQ(battery->batteryCharacteristic, nullptr);
    EXPECT_EQ(battery->qvPeripheral, p);
    EXPECT_TRUE(battery->connectState);
    run();
    EXPECT_EQ(posts.size(), 2u);
}

TEST_F(BTBatteryTest, AnswersAboutAnotherPeripheralAreIgnored) {
    start();
    auto first = keyboard({10});
    auto last = keyboard({20});
    run();
    // Two keyboards of that name: the last one is adopted and it alone is connected.
    ASSERT_EQ(central->connectRequests().size(), 1u);
    EXPECT_EQ(central->connectRequests()[0], last);
    ASSERT_EQ(posts.size(), 1u);
    EXPECT_EQ(posts[0].value, 20);

    auto stale = std::make_shared<BluetoothCharacteristic>(kBatteryLevelCharacteristicUUID, BluetoothServiceRef{}, "");
    stale->setValue({10});
    battery->peripheralDidUpdateValueFor(first, stale, std::nullopt);
    battery->centralManagerDidDisconnectPeripheral(*central, first, std::nullopt);
    EXPECT_EQ(posts.size(), 1u);
    EXPECT_TRUE(battery->batteryCharacteristic);
    EXPECT_TRUE(battery->connectState);
}

TEST_F(BTBatteryTest, SearchWithoutCentralDoesNothingHarmful) {
    battery->checkBluetoothDevice();
    EXPECT_TRUE(battery->connectState);
    EXPECT_EQ(battery->qvPeripheral, nullptr);
    battery->readBatteryLevelIfConnected();
}

TEST_F(BTBatteryTest, SearchFromAnotherThreadRunsOnTheMainThread) {
    start(CentralState::unknown);
    run();
    central->setState(CentralState::poweredOn);
    keyboard({61});
    std::thread monitor([battery = battery] { battery->checkBluetoothDevice(); });
    monitor.join();
    testing::internal::CaptureStdout();
    EXPECT_TRUE(test::processEventsUntil([&] { return posts.size() >= 2; }));
    testing::internal::GetCapturedStdout();
    ASSERT_FALSE(posts.empty());
    for (const Post& p : posts) {
        EXPECT_TRUE(p.onMainThread);
        EXPECT_EQ(p.value, 61);
    }
}

TEST_F(BTBatteryTest, ReaderGoneBeforeTheAnswersArrive) {
    start();
    keyboard({70});
    std::weak_ptr<BTBattery> weak = battery;
    battery.reset();  // the central holds the reader only weakly
    EXPECT_TRUE(weak.expired());
    settle();
    EXPECT_TRUE(posts.empty());
}

TEST_F(BTBatteryTest, CentralOfTheSystemFollowsTheSimulationList) {
    const struct {
        const char* list;
        bool simulated;
        size_t keyboards;
    } cases[] = {
        {nullptr, false, 0}, {"quorvath87", true, 0}, {"quorvath87, bluetooth", true, 1}, {"bluetooth", true, 1}};
    for (const auto& c : cases) {
        SCOPED_TRACE(c.list ? c.list : "(unset)");
        if (c.list)
            setenv("KEYLOOM_SIMULATE", c.list, 1);
        else
            unsetenv("KEYLOOM_SIMULATE");
        auto made = makeBluetoothCentral(battery);
        auto simulated = std::dynamic_pointer_cast<SimulatedCentral>(made);
        EXPECT_EQ(simulated != nullptr, c.simulated);
        EXPECT_EQ(std::dynamic_pointer_cast<BlueZCentral>(made) != nullptr, !c.simulated);
        if (simulated) {
            EXPECT_EQ(simulated->state(), CentralState::poweredOn);
            EXPECT_EQ(simulated->retrieveConnectedPeripherals({kBatteryServiceUUID}).size(), c.keyboards);
        }
    }
    unsetenv("KEYLOOM_SIMULATE");
}

}  // namespace
}  // namespace keyloom
