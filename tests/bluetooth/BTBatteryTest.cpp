#include <gtest/gtest.h>

#include <thread>

#include "Views/Home/core/BTBattery.h"
#include "platform/MainThread.h"
#include "platform/NotificationCenter.h"
#include "platform/bluetooth/SimulatedCentral.h"
#include "support/TestSupport.h"

namespace keyloom {
namespace {

using Bytes = std::vector<uint8_t>;
using Request = SimulatedPeripheral::Request;

// A reader on a simulated central, with every "WirelessBatteryValue" it posts.
class BTBatteryTest : public ::testing::Test {
  protected:
    void SetUp() override {
        observation =
            NotificationCenter::defaultCenter().addObserver("WirelessBatteryValue", [this](const Notification& n) {
                const auto* d = notificationDictionary(n);
                ASSERT_NE(d, nullptr);
                EXPECT_TRUE(isMainThread());
                EXPECT_EQ(dictionaryInteger(*d, "type"), 1);
                levels.push_back(dictionaryInteger(*d, "value").value_or(-1));
            });
        start();
    }
    void start(CentralState state = CentralState::poweredOn) {
        battery = std::make_shared<BTBattery>();
        central = SimulatedCentral::create(battery, state);
        battery->centralManager = central;
    }
    std::shared_ptr<SimulatedPeripheral> keyboard(Bytes level, std::optional<std::string> name = "RA VER IV") {
        return central->addPeripheral(std::move(name),
                                      {{kBatteryServiceUUID, {{kBatteryLevelCharacteristicUUID, std::move(level)}}}});
    }
    // Runs the event loop until everything the central has queued so far has been answered.
    void settle() {
        test::QuietStdout quiet;
        for (int round = 0; round < 8; ++round) {
            bool done = false;
            central->post([&] { done = true; });
            EXPECT_TRUE(test::processEventsUntil([&] { return done; }));
        }
        quiet.finish();
    }

    Observation observation;
    std::vector<int64_t> levels;
    std::shared_ptr<BTBattery> battery;
    std::shared_ptr<SimulatedCentral> central;
};

TEST_F(BTBatteryTest, AdoptsOnlyThePeripheralNamedExactlyAndPostsTheFirstByte) {
    auto wanted = keyboard({0x64, 0x05});
    keyboard({50}, "ra ver iv");
    keyboard({51}, std::nullopt);
    keyboard({52}, "RA VER IV ");
    settle();
    EXPECT_EQ(central->connectRequests(), std::vector<BluetoothPeripheralRef>{wanted});
    EXPECT_EQ(battery->qvPeripheral, wanted);
    EXPECT_EQ(levels, std::vector<int64_t>{100});
}

TEST_F(BTBatteryTest, EmptyValueOrFailureRequestPostsNothing) {
    const std::optional<Request> failures[] = {std::nullopt, Request::discoverServices,
                                               Request::discoverCharacteristics, Request::readValue};
    for (const auto& failure : failures) {
        SCOPED_TRACE(failure ? int(*failure) : -1);
        start();
        auto p = keyboard(failure ? Bytes{80} : Bytes{});
        if (failure) p->failNext(*failure);
        settle();
        EXPECT_TRUE(levels.empty());
    }
}

// Two keyboards of that name: only the adopted (last) one is connected, and answers about the other are ignored.
TEST_F(BTBatteryTest, AnswersAboutAnotherPeripheralAreIgnored) {
    auto first = keyboard({10});
    auto last = keyboard({20});
    settle();
    EXPECT_EQ(central->connectRequests(), std::vector<BluetoothPeripheralRef>{last});
    EXPECT_EQ(levels, std::vector<int64_t>{20});

    auto stale = std::make_shared<BluetoothCharacteristic>(kBatteryLevelCharacteristicUUID, BluetoothServiceRef{}, "");
    stale->setValue({10});
    battery->peripheralDidUpdateValueFor(first, stale, std::nullopt);
    battery->centralManagerDidDisconnectPeripheral(*central, first, std::nullopt);
    EXPECT_EQ(levels.size(), 1u);
    EXPECT_TRUE(battery->batteryCharacteristic);
    EXPECT_TRUE(battery->connectState);
}

TEST_F(BTBatteryTest, SearchFromAnotherThreadRunsOnTheMainThread) {
    settle();  // the search at switch-on finds nothing yet
    keyboard({61});
    std::thread([battery = battery] { battery->checkBluetoothDevice(); }).join();
    settle();
    EXPECT_EQ(levels, std::vector<int64_t>{61});
}

TEST_F(BTBatteryTest, ReaderGoneOrNoCentralIsHarmless) {
    keyboard({70});
    battery.reset();  // the central holds the reader only weakly
    settle();
    EXPECT_TRUE(levels.empty());

    BTBattery alone;
    alone.checkBluetoothDevice();
    alone.readBatteryLevelIfConnected();
    EXPECT_EQ(alone.qvPeripheral, nullptr);
}

TEST_F(BTBatteryTest, SimulatedRunHasTheKeyboardOnlyWhenTheListNamesBluetooth) {
    for (const auto& [list, keyboards] : {std::pair{"quorvath87", 0u}, {"quorvath87, bluetooth", 1u}}) {
        SCOPED_TRACE(list);
        setenv("KEYLOOM_SIMULATE", list, 1);
        auto simulated = std::dynamic_pointer_cast<SimulatedCentral>(makeBluetoothCentral(battery));
        ASSERT_TRUE(simulated);
        EXPECT_EQ(simulated->retrieveConnectedPeripherals({kBatteryServiceUUID}).size(), keyboards);
    }
    unsetenv("KEYLOOM_SIMULATE");
}

}  // namespace
}  // namespace keyloom
