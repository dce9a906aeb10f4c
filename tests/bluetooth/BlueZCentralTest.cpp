#include <gtest/gtest.h>

#include <QCoreApplication>
#include <QDBusMessage>
#include <QDBusObjectPath>
#include <QDBusPendingCallWatcher>
#include <QMetaObject>

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
const QString kKeyboard = QStringLiteral("/org/bluez/hci0/dev_C0_FF_EE_00_00_01");
const QString kOther = QStringLiteral("/org/bluez/hci0/dev_C0_FF_EE_00_00_02");
const QString kBatteryService = kKeyboard + QStringLiteral("/service0010");
const QString kBatteryLevel = kBatteryService + QStringLiteral("/char0011");

// The reader on a BlueZ central that talks to a fake BlueZ over a private bus.
class BlueZCentralTest : public ::testing::Test {
  protected:
    void SetUp() override {
        ASSERT_TRUE(bus.running()) << "dbus-daemon did not start";
        fake = std::make_unique<test::FakeBlueZ>(bus.connect(QStringLiteral("fake-bluez")));
        ASSERT_TRUE(fake->registered());
        observation =
            NotificationCenter::defaultCenter().addObserver("WirelessBatteryValue", [this](const Notification& n) {
                const auto* d = notificationDictionary(n);
                ASSERT_NE(d, nullptr);
                EXPECT_TRUE(isMainThread());
                EXPECT_EQ(dictionaryInteger(*d, "type"), 1);
                levels.push_back(dictionaryInteger(*d, "value").value_or(-1));
            });
        battery = std::make_shared<BTBattery>();
    }
    void TearDown() override {
        battery.reset();
        fake.reset();
    }

    void adapter(bool powered) {
        fake->addInterface(kAdapter, "org.bluez.Adapter1", {{"Powered", powered}, {"Address", "00:11:22:33:44:55"}});
    }
    void device(const QString& path, const QVariantMap& extra) {
        QVariantMap props{{"Connected", true},
                          {"ServicesResolved", true},
                          {"UUIDs", QStringList{test::kHidServiceFull, test::kBatteryServiceFull}},
                          {"Adapter", QVariant::fromValue(QDBusObjectPath(kAdapter))}};
        for (auto it = extra.begin(); it != extra.end(); ++it) props[it.key()] = it.value();
        fake->addInterface(path, "org.bluez.Device1", props);
    }
    void gattBattery(const QByteArray& value) {
        fake->addInterface(kBatteryService, "org.bluez.GattService1",
                           {{"UUID", test::kBatteryServiceFull},
                            {"Device", QVariant::fromValue(QDBusObjectPath(kKeyboard))},
                            {"Primary", true}});
        fake->addInterface(kBatteryLevel, "org.bluez.GattCharacteristic1",
                           {{"UUID", test::kBatteryLevelFull},
                            {"Service", QVariant::fromValue(QDBusObjectPath(kBatteryService))},
                            {"Value", value},
                            {"Flags", QStringList{"read"}}});
    }
    void startCentral(QDBusConnection connection) {
        central = BlueZCentral::create(battery, connection);
        battery->centralManager = central;
    }
    void startCentral() { startCentral(backend); }
    // Lets everything already sent on the bus arrive and be handled: a round trip to the fake, then the main
    // thread's queue drained, a few times over (each answer may queue the next request).
    void barrier() {
        for (int i = 0; i < 4; ++i) {
            QDBusPendingCallWatcher watcher(backend.asyncCall(QDBusMessage::createMethodCall(
                "org.bluez", "/", "org.freedesktop.DBus.ObjectManager", "GetManagedObjects")));
            bool answered = false;
            QObject::connect(&watcher, &QDBusPendingCallWatcher::finished, [&] { answered = true; });
            ASSERT_TRUE(test::processEventsUntil([&] { return answered; }));
            bool drained = false;
            QMetaObject::invokeMethod(
                QCoreApplication::instance(), [&] { drained = true; }, Qt::QueuedConnection);
            ASSERT_TRUE(test::processEventsUntil([&] { return drained; }));
        }
    }
    bool waitForState(CentralState s) {
        return test::processEventsUntil([&] { return central->state() == s; });
    }

    test::PrivateBus bus;
    QDBusConnection backend = bus.connect(QStringLiteral("backend"));
    std::unique_ptr<test::FakeBlueZ> fake;
    Observation observation;
    std::vector<int64_t> levels;
    std::shared_ptr<BTBattery> battery;
    std::shared_ptr<BlueZCentral> central;
};

TEST_F(BlueZCentralTest, NoBusOrNoBlueZOrNoAdapterIsUnsupported) {
    testing::internal::CaptureStdout();
    startCentral(QDBusConnection(QStringLiteral("never-connected")));
    EXPECT_TRUE(waitForState(CentralState::unsupported));

    fake->stop();
    startCentral();
    EXPECT_TRUE(waitForState(CentralState::unsupported));

    fake->restart();  // BlueZ comes up, still without an adapter
    barrier();
    EXPECT_EQ(central->state(), CentralState::unsupported);
    adapter(true);
    EXPECT_TRUE(waitForState(CentralState::poweredOn));
    const std::string out = testing::internal::GetCapturedStdout();
    EXPECT_NE(out.find("centralManagerDidUpdateState --> 状态 : unsupported\n"), std::string::npos);
    EXPECT_NE(out.find("蓝牙中心开启状态\n"), std::string::npos);
}

TEST_F(BlueZCentralTest, ReadsTheLevelThroughGatt) {
    adapter(true);
    device(kKeyboard, {{"Name", "RA VER IV"}});
    device(kOther, {{"Name", "Other keyboard"}});
    gattBattery(QByteArray("\x64\x05", 2));
    testing::internal::CaptureStdout();
    startCentral();
    ASSERT_TRUE(test::processEventsUntil([&] { return !levels.empty(); }));
    const std::string out = testing::internal::GetCapturedStdout();
    EXPECT_EQ(levels, std::vector<int64_t>{100});
    EXPECT_EQ(out, "蓝牙中心开启状态\n连接成功\nService found with UUID: %@ 180F\n100\n");
    EXPECT_EQ(battery->qvPeripheral->identifier(), kKeyboard.toStdString());
    EXPECT_EQ(fake->connectCalls(), 0);  // already connected by the system: attached only
    EXPECT_EQ(fake->readCalls(), 1);

    fake->setProperty(kBatteryLevel, "org.bluez.GattCharacteristic1", "Value", QByteArray("\xFF", 1));
    battery->readBatteryLevelIfConnected();
    ASSERT_TRUE(test::processEventsUntil([&] { return levels.size() == 2; }));
    EXPECT_EQ(levels.back(), 255);
}

TEST_F(BlueZCentralTest, ReadsBatteryPercentageWhereBlueZKeepsTheService) {
    adapter(true);
    device(kKeyboard, {{"Name", "RA VER IV"}});
    fake->addInterface(kKeyboard, "org.bluez.Battery1", {{"Percentage", QVariant::fromValue(uchar(77))}});
    startCentral();
    ASSERT_TRUE(test::processEventsUntil([&] { return !levels.empty(); }));
    EXPECT_EQ(levels, std::vector<int64_t>{77});

    fake->setProperty(kKeyboard, "org.bluez.Battery1", "Percentage", QVariant::fromValue(uchar(76)));
    battery->readBatteryLevelIfConnected();
    ASSERT_TRUE(test::processEventsUntil([&] { return levels.size() == 2; }));
    EXPECT_EQ(levels.back(), 76);
}

TEST_F(BlueZCentralTest, WaitsUntilTheServicesAreResolved) {
    adapter(true);
    device(kKeyboard, {{"Name", "RA VER IV"}, {"ServicesResolved", false}});
    startCentral();
    ASSERT_TRUE(test::processEventsUntil([&] { return battery->qvPeripheral != nullptr; }));
    barrier();
    EXPECT_TRUE(levels.empty());
    fake->setProperty(kKeyboard, "org.bluez.Device1", "ServicesResolved", true);
    barrier();
    EXPECT_TRUE(levels.empty());  // the advertised battery service is not there yet
    fake->addInterface(kKeyboard, "org.bluez.Battery1", {{"Percentage", QVariant::fromValue(uchar(40))}});
    ASSERT_TRUE(test::processEventsUntil([&] { return !levels.empty(); }));
    EXPECT_EQ(levels, std::vector<int64_t>{40});
}

TEST_F(BlueZCentralTest, ConnectsThroughBlueZWhenTheLinkIsDown) {
    adapter(true);
    device(kKeyboard, {{"Name", "RA VER IV"}});
    fake->addInterface(kKeyboard, "org.bluez.Battery1", {{"Percentage", QVariant::fromValue(uchar(12))}});
    startCentral();
    ASSERT_TRUE(test::processEventsUntil([&] { return !levels.empty(); }));
    EXPECT_EQ(fake->connectCalls(), 0);
    fake->setProperty(kKeyboard, "org.bluez.Device1", "Connected", false);
    ASSERT_TRUE(test::processEventsUntil([&] { return !battery->connectState; }));
    EXPECT_TRUE(central->retrieveConnectedPeripherals({kBatteryServiceUUID}).empty());

    central->connect(battery->qvPeripheral);  // asks BlueZ to connect, then carries on as before
    ASSERT_TRUE(test::processEventsUntil([&] { return levels.size() == 2; }));
    EXPECT_EQ(fake->connectCalls(), 1);
    EXPECT_TRUE(battery->connectState);
    EXPECT_EQ(levels.back(), 12);
}

TEST_F(BlueZCentralTest, DisconnectionAndBlueZLeaving) {
    adapter(true);
    device(kKeyboard, {{"Name", "RA VER IV"}});
    gattBattery(QByteArray("\x50", 1));
    startCentral();
    ASSERT_TRUE(test::processEventsUntil([&] { return !levels.empty(); }));
    ASSERT_TRUE(battery->batteryCharacteristic);

    testing::internal::CaptureStdout();
    fake->setProperty(kKeyboard, "org.bluez.Device1", "Connected", false);
    ASSERT_TRUE(test::processEventsUntil([&] { return !battery->connectState; }));
    EXPECT_EQ(battery->batteryCharacteristic, nullptr);
    EXPECT_NE(battery->qvPeripheral, nullptr);
    fake->stop();
    EXPECT_TRUE(waitForState(CentralState::unsupported));
    const std::string out = testing::internal::GetCapturedStdout();
    EXPECT_EQ(out, "断开连接\ncentralManagerDidUpdateState --> 状态 : unsupported\n");

    fake->setProperty(kKeyboard, "org.bluez.Device1", "Connected", true);
    fake->restart();
    ASSERT_TRUE(test::processEventsUntil([&] { return levels.size() == 2; }));
    EXPECT_EQ(levels.back(), 0x50);
}

TEST_F(BlueZCentralTest, PoweredOffAdapterAndFailedRead) {
    adapter(false);
    device(kKeyboard, {{"Name", "RA VER IV"}});
    gattBattery(QByteArray("\x50", 1));
    fake->failReads(QStringLiteral("org.bluez.Error.NotPermitted"));
    testing::internal::CaptureStdout();
    startCentral();
    ASSERT_TRUE(waitForState(CentralState::poweredOff));
    EXPECT_TRUE(central->retrieveConnectedPeripherals({kBatteryServiceUUID}).empty());
    fake->setProperty(kAdapter, "org.bluez.Adapter1", "Powered", true);
    ASSERT_TRUE(test::processEventsUntil([&] { return fake->readCalls() == 1; }));
    barrier();
    const std::string out = testing::internal::GetCapturedStdout();
    EXPECT_TRUE(levels.empty());
    EXPECT_EQ(out,
              "centralManagerDidUpdateState --> 状态 : poweredOff\n蓝牙中心开启状态\n连接成功\n"
              "Service found with UUID: %@ 180F\nError updating value for characteristic %@ error 2A19\n");
}

}  // namespace
}  // namespace keyloom
