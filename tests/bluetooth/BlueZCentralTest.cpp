#include <gtest/gtest.h>

#include "FakeBlueZ.h"
#include "PrivateBus.h"
#include "Views/Home/core/BTBattery.h"
#include "platform/MainThread.h"
#include "platform/NotificationCenter.h"
#include "platform/bluetooth/BlueZCentral.h"
#include "support/TestSupport.h"

namespace keyloom {
namespace {

const QString kAdapter = QStringLiteral("/org/bluez/hci0");
const QString kKeyboard = kAdapter + QStringLiteral("/dev_C0_FF_EE_00_00_01");
const QString kOther = kAdapter + QStringLiteral("/dev_C0_FF_EE_00_00_02");
const QString kService = kKeyboard + QStringLiteral("/service0010");
const QString kLevel = kService + QStringLiteral("/char0011");
const QString kBatteryServiceFull = QStringLiteral("0000180f-0000-1000-8000-00805f9b34fb");

QVariant objectPath(const QString& path) {
    return QVariant::fromValue(QDBusObjectPath(path));
}

// The reader on a BlueZ central that talks to a fake BlueZ over a private bus.
class BlueZCentralTest : public ::testing::Test {
  protected:
    void SetUp() override {
        ASSERT_TRUE(bus.running()) << "dbus-daemon did not start";
        ASSERT_TRUE(fake.registered());
        observation =
            NotificationCenter::defaultCenter().addObserver("WirelessBatteryValue", [this](const Notification& n) {
                const auto* d = notificationDictionary(n);
                ASSERT_NE(d, nullptr);
                EXPECT_TRUE(isMainThread());
                EXPECT_EQ(dictionaryInteger(*d, "type"), 1);
                levels.push_back(dictionaryInteger(*d, "value").value_or(-1));
            });
    }
    // A powered adapter with two connected devices offering the battery service; one is the keyboard.
    void devices() {
        fake.set(kAdapter, "org.bluez.Adapter1", {{"Powered", true}});
        for (const auto& [path, name] : {std::pair{kKeyboard, "RA VER IV"}, {kOther, "Other keyboard"}})
            fake.set(path, "org.bluez.Device1",
                     {{"Name", name},
                      {"Connected", true},
                      {"ServicesResolved", true},
                      {"UUIDs", QStringList{kBatteryServiceFull}},
                      {"Adapter", objectPath(kAdapter)}});
    }
    void start(const QDBusConnection& connection) {
        testing::internal::CaptureStdout();
        central = BlueZCentral::create(battery, connection);
        battery->centralManager = central;
    }
    bool levelsReach(size_t n) {
        const bool reached = test::processEventsUntil([&] { return levels.size() >= n; });
        printed = testing::internal::GetCapturedStdout();
        return reached;
    }
    bool stateBecomes(CentralState s) {
        const bool reached = test::processEventsUntil([&] { return central->state() == s; });
        printed = testing::internal::GetCapturedStdout();
        return reached;
    }

    test::PrivateBus bus;
    test::FakeBlueZ fake{bus.connect(QStringLiteral("fake-bluez"))};
    QDBusConnection backend = bus.connect(QStringLiteral("backend"));
    Observation observation;
    std::vector<int64_t> levels;
    std::string printed;
    std::shared_ptr<BTBattery> battery = std::make_shared<BTBattery>();
    std::shared_ptr<BlueZCentral> central;
};

TEST_F(BlueZCentralTest, NoBusNoBlueZOrNoAdapterIsUnsupported) {
    start(QDBusConnection(QStringLiteral("never-connected")));
    EXPECT_TRUE(stateBecomes(CentralState::unsupported));
    start(backend);
    EXPECT_TRUE(stateBecomes(CentralState::unsupported));
    fake.stop();
    start(backend);
    EXPECT_TRUE(stateBecomes(CentralState::unsupported));
}

TEST_F(BlueZCentralTest, ReadsTheLevelThroughGatt) {
    devices();
    fake.set(kService, "org.bluez.GattService1",
             {{"UUID", kBatteryServiceFull}, {"Device", objectPath(kKeyboard)}, {"Primary", true}});
    fake.set(kLevel, "org.bluez.GattCharacteristic1",
             {{"UUID", QStringLiteral("00002a19-0000-1000-8000-00805f9b34fb")},
              {"Service", objectPath(kService)},
              {"Value", QByteArray("\x64\x05", 2)},
              {"Flags", QStringList{"read"}}});
    start(backend);
    ASSERT_TRUE(levelsReach(1));
    EXPECT_EQ(printed, "蓝牙中心开启状态\n连接成功\nService found with UUID: %@ 180F\n100\n");
    EXPECT_EQ(battery->qvPeripheral->identifier(), kKeyboard.toStdString());
    EXPECT_EQ(levels, std::vector<int64_t>{100});
}

// BlueZ's battery plugin claims the service and hides its GATT objects; the level is Battery1.Percentage then.
TEST_F(BlueZCentralTest, ReadsBatteryPercentageWhereBlueZKeepsTheService) {
    devices();
    fake.set(kKeyboard, "org.bluez.Battery1", {{"Percentage", QVariant::fromValue(uchar(77))}});
    start(backend);
    ASSERT_TRUE(levelsReach(1));
    EXPECT_EQ(levels, std::vector<int64_t>{77});
}

}  // namespace
}  // namespace keyloom
