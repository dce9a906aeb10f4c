#include <gtest/gtest.h>

#include <QApplication>
#include <QLabel>
#include <QMessageBox>
#include <QPushButton>
#include <QTest>
#include <memory>

#include "Customized/SegueRegistry.h"
#include "LoopbackServer.h"
#include "USB/HIDDevice.h"
#include "Views/Home/AppState.h"
#include "Views/Home/HomeViewController.h"
#include "Views/Home/HomeWindowController.h"
#include "Views/Home/core/BTBattery.h"
#include "Views/Keyboard/KeyLayout/CurrentDevice.h"
#include "Views/Keyboard/KeyLayout/KeyModels.h"
#include "platform/NotificationCenter.h"
#include "platform/bluetooth/SimulatedCentral.h"
#include "platform/hid/SimulatedHid.h"
#include "resources/KeyloomImages.h"
#include "support/TestSupport.h"
#include "support/WaitIdle.h"

using namespace keyloom;
using namespace std::chrono_literals;

namespace {

bool sameNameMap(const KeyNameMap& a, const KeyNameMap& b) {
    if (a.size() != b.size()) return false;
    for (const auto& [name, row] : a) {
        const KeyMapRow* other = b.find(name);
        if (!other || !(*other == row)) return false;
    }
    return true;
}

class HomeScreen : public ::testing::Test {
  protected:
    void SetUp() override {
        SimulatedHid::instance().reset();
        SimulatedHid::instance().setActive(true);
        setenv("KEYLOOM_SERVER_URL", server.baseAddress().c_str(), 1);
        setenv("KEYLOOM_AES_KEY", test::kTestAesKey, 1);
        // A simulated Bluetooth central: with the keyboard "RA VER IV" connected (battery 80), or without Bluetooth.
        HomeViewController::centralFactory() = [bt = simulateBluetooth()](std::weak_ptr<CentralDelegate> d) {
            return std::shared_ptr<BluetoothCentral>(bt ? SimulatedCentral::createWithKeyboard(d)
                                                        : SimulatedCentral::create(d, CentralState::unsupported));
        };
        resetCurrentDevice();
        keyboardVersion().clear();
        window = std::make_unique<HomeWindowController>();
        home = window->contentViewController();
        QObject::connect(home, &HomeViewController::keyboardAccepted, [this] { ++accepted; });
        home->viewDidLoad();
        window->show();
        // The monitor opens its manager on its own thread; what is plugged before that is still announced, but
        // input reports would find no one to deliver to.
        ASSERT_TRUE(test::processEventsUntil([] { return SimulatedHid::instance().managerCount() > 0; }));
    }

    void TearDown() override {
        window.reset();
        KEYBOARD_VIEW.clear();
        SimulatedHid::instance().reset();
        unsetenv("KEYLOOM_SERVER_URL");
        unsetenv("KEYLOOM_AES_KEY");
        HomeViewController::centralFactory() = nullptr;
    }

    virtual bool simulateBluetooth() const { return false; }

    std::shared_ptr<SimulatedKeyboard> plugAndWait(std::shared_ptr<SimulatedKeyboard> kb) {
        const int before = accepted;
        SimulatedHid::instance().plug(kb);
        EXPECT_TRUE(test::processEventsUntil([&] { return accepted > before; })) << kb->product();
        return kb;
    }

    void unplugAndSettle(const std::shared_ptr<SimulatedKeyboard>& kb) {
        SimulatedHid::instance().unplug(kb);
        EXPECT_TRUE(test::waitUntilIdle());
    }

    // A control of the home screen, by its object name.
    template <typename W>
    W* find(const char* name) const {
        W* w = home->findChild<W*>(QString::fromLatin1(name));
        EXPECT_NE(w, nullptr) << name;
        return w;
    }

    // The usage reports that reached the server, decrypted. The main loop keeps turning meanwhile: the report
    // goes out after the version read has come back to the main thread.
    std::vector<std::string> usageReports(size_t atLeast) {
        std::vector<std::string> out;
        auto collect = [&] {
            out.clear();
            for (const auto& r : server.requests()) {
                if (r.path == "/software/info") out.push_back(test::decryptWithTestKey(r.header("token").value_or("")));
            }
            return out.size() >= atLeast;
        };
        EXPECT_TRUE(test::processEventsUntil(collect, 10s));
        return out;
    }

    QString image(const QWidget* w) const { return HomeViewController::imageNameOf(w); }

    test::TempDataHome data;
    test::LoopbackServer server;
    std::unique_ptr<HomeWindowController> window;
    HomeViewController* home = nullptr;
    int accepted = 0;
};

}  // namespace

TEST_F(HomeScreen, StartState) {
    EXPECT_FALSE(find<QWidget>("batteryView")->isVisible());
    // The 87's name map is current from the start; the code map and lists wait for a keyboard.
    EXPECT_TRUE(sameNameMap(*QV_SuperKeyNameMap(), findKeyModel(KeyModelId::Quorvath87)->nameMap()));
    EXPECT_TRUE(QV_SuperKeyCodeMap()->empty());
    EXPECT_TRUE(QV_FlagKeys().empty() && QV_NormalKeys().empty());
}

// Models through the real monitor (the identification table is tested on its own): type, texts, picture,
// current-device pair and key lists.
TEST_F(HomeScreen, IdentifiesEveryModelAndFillsTheCurrentDevice) {
    struct Case {
        std::shared_ptr<SimulatedKeyboard> kb;
        int64_t type;
        const char* desc;  // nullptr: the product name
        const char* image;
        KeyModelId model;
    };
    const Case cases[] = {
        {SimulatedKeyboard::quorvath87te(), 4, nullptr, "big_kb_te_87", KeyModelId::Quorvath87},
        {SimulatedKeyboard::quorvath91(), 3, nullptr, "big_kb_pro_91", KeyModelId::Quorvath91},
        {SimulatedKeyboard::marrowinv2max(), 7, "Marrowin V2 MAX", "big_kb_marrowinv2_pro", KeyModelId::MarrowinV2_71},
        {SimulatedKeyboard::ostrelte62(), 7, "Ostrel TE", "big_kb_ostrel_te", KeyModelId::OstrelTE62},
        {SimulatedKeyboard::secondGeneration(0x024F, "Some Board"), 7, "Marrowin V2 TE", "big_kb_marrowinv2",
         KeyModelId::MarrowinV2_71},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.kb->product());
        plugAndWait(c.kb);
        EXPECT_EQ(HIDDevice(home->kbHIDdevice()).productId, c.kb->productId());
        EXPECT_EQ(home->keyboardType(), c.type);
        const QString desc = c.desc ? QString(c.desc) : QString::fromStdString(c.kb->product());
        EXPECT_EQ(home->keyboardDesc(), desc);
        EXPECT_EQ(home->keyboardImage(), c.image);
        EXPECT_EQ(image(find<QPushButton>("deviceImage")), c.image);
        EXPECT_EQ(find<QLabel>("deviceNameText")->text(), desc);
        EXPECT_EQ(find<QLabel>("kbButtonText")->text(), desc);

        const KeyModel& model = *findKeyModel(c.model);
        EXPECT_TRUE(sameNameMap(*QV_SuperKeyNameMap(), model.nameMap()));
        EXPECT_EQ(QV_SuperKeyCodeMap()->size(), model.codeMap().size());
        // Every code of the name map is in exactly one list; flags are Caps Lock and the modifiers.
        EXPECT_EQ(QV_FlagKeys().size() + QV_NormalKeys().size(), model.nameMap().size());
        for (int64_t code : QV_FlagKeys()) EXPECT_TRUE(code == 57 || (code >= 224 && code <= 231)) << code;
        unplugAndSettle(c.kb);
        EXPECT_EQ(home->kbHIDdevice(), nullptr);
    }
}

// Keyboards plugged at once: the screen follows the last one, and the picture shown once the burst is handled is its
// picture; when they have all gone, the default one.
TEST_F(HomeScreen, KeyboardsPluggedAtOnceShowTheLastOnesPicture) {
    auto* picture = find<QPushButton>("deviceImage");
    const auto shows = [picture](const char* name) {
        const QPixmap drawn = keyloomImage(QString::fromLatin1(name));
        return picture->iconSize() == drawn.size() && picture->icon().pixmap(drawn.size()).toImage() == drawn.toImage();
    };
    const std::shared_ptr<SimulatedKeyboard> keyboards[] = {
        SimulatedKeyboard::ostrel61(), SimulatedKeyboard::quorvath91(), SimulatedKeyboard::tolmek84(),
        SimulatedKeyboard::vindle68()};
    for (const auto& kb : keyboards) SimulatedHid::instance().plug(kb);
    ASSERT_TRUE(test::processEventsUntil([&] { return accepted == int(std::size(keyboards)); }));
    EXPECT_TRUE(test::waitUntilIdle());
    EXPECT_EQ(HIDDevice(home->kbHIDdevice()).productId, keyboards[3]->productId());
    EXPECT_EQ(find<QLabel>("deviceNameText")->text(), "Vindle");
    EXPECT_EQ(image(picture), "big_kb_vindle");
    EXPECT_TRUE(test::processEventsUntil([&] { return shows("big_kb_vindle"); }));
    for (const auto& kb : keyboards) unplugAndSettle(kb);
    EXPECT_EQ(image(picture), "big_kb_pro_87");
    EXPECT_TRUE(test::processEventsUntil([&] { return shows("big_kb_pro_87"); }));
}

TEST_F(HomeScreen, SmartWirelessDeviceIsNeverTracked) {
    SimulatedHid::instance().plug(SimulatedKeyboard::firstGeneration(0xB57E, "Smart Wireless Device"));
    plugAndWait(SimulatedKeyboard::quorvath88());
    EXPECT_EQ(accepted, 1);
    EXPECT_EQ(home->keyboardType(), 2);
}

TEST_F(HomeScreen, SecondKeyboardReplacesFirstAndOnlyTrackedDisconnectionCounts) {
    auto first = plugAndWait(SimulatedKeyboard::quorvath87());
    auto second = plugAndWait(SimulatedKeyboard::ostrelte62());
    const HidHandleRef tracked = home->kbHIDdevice();
    EXPECT_EQ(HIDDevice(tracked).productId, 0x0250);
    EXPECT_EQ(home->keyboardDesc(), "Ostrel TE");

    unplugAndSettle(first);  // not the tracked one: nothing changes
    EXPECT_EQ(home->kbHIDdevice(), tracked);
    EXPECT_EQ(home->keyboardDesc(), "Ostrel TE");

    unplugAndSettle(second);
    EXPECT_EQ(home->kbHIDdevice(), nullptr);
    EXPECT_EQ(home->keyboardDesc(), "CONNECT YOUR DEVICE");
    EXPECT_EQ(home->keyboardImage(), "big_kb_pro_87");
    EXPECT_EQ(find<QLabel>("kbButtonText")->text(), "Keyboard");
    // Type and maps describe the last keyboard until the next one.
    EXPECT_EQ(home->keyboardType(), 7);
    EXPECT_TRUE(sameNameMap(*QV_SuperKeyNameMap(), findKeyModel(KeyModelId::OstrelTE62)->nameMap()));
    // The description is no model's any more: a type-7 keyboard page shows the plain keyboard.
    EXPECT_EQ(image(find<QPushButton>("keyboardButton")), "img_kb");
    EXPECT_EQ(home->disconnectSheet, nullptr);  // no editor open, no sheet
}

TEST_F(HomeScreen, DisconnectionWithEditorOpenShowsSheetAndClosesEditorOnOk) {
    auto kb = plugAndWait(SimulatedKeyboard::quorvath87());
    auto editor = std::make_unique<QWidget>();
    ScopedSegue open("showkeyboard", [&](QWidget*, const std::any&) {
        editor->show();
        KEYBOARD_VIEW = editor.get();
    });
    home->deviceImageAction();
    unplugAndSettle(kb);
    ASSERT_TRUE(test::processEventsUntil([&] { return home->disconnectSheet && home->disconnectSheet->isVisible(); }));
    EXPECT_EQ(home->disconnectSheet->text(), "Keyboard");
    EXPECT_EQ(home->disconnectSheet->informativeText(),
              "The keyboard is disconnected and the keyboard configuration window will close.");
    EXPECT_TRUE(editor->isVisible());
    QTest::mouseClick(home->disconnectSheet->button(QMessageBox::Ok), Qt::LeftButton);
    EXPECT_TRUE(test::processEventsUntil([&] { return !editor->isVisible(); }));
}

TEST_F(HomeScreen, VersionReadThenUsageReportInOrder) {
    auto q = SimulatedKeyboard::quorvath87();
    q->setFirmwareVersion("V1.8.180905");
    plugAndWait(q);
    auto reports = usageReports(1);
    ASSERT_EQ(reports.size(), 1u);
    EXPECT_EQ(reports[0], "#version:1.2.7#V1.8.180905#");
    EXPECT_EQ(keyboardVersion(), "V1.8.180905");

    // A version shorter than 5 characters becomes "Quorvath"; one of 5 stays.
    auto shortVersion = SimulatedKeyboard::quorvath88();
    shortVersion->setFirmwareVersion("V2.0");
    plugAndWait(shortVersion);
    reports = usageReports(2);
    ASSERT_EQ(reports.size(), 2u);
    EXPECT_EQ(reports[1], "#version:1.2.7#Quorvath#");

    auto second = plugAndWait(SimulatedKeyboard::vindle68());
    reports = usageReports(3);
    ASSERT_EQ(reports.size(), 3u);
    EXPECT_EQ(reports[2], "#version:1.2.7#velkor marrowin v2#");
}

TEST_F(HomeScreen, SameDeviceAnnouncedAgainChangesNothing) {
    plugAndWait(SimulatedKeyboard::quorvath87());
    HIDDevice rec(home->kbHIDdevice());
    NotificationCenter::defaultCenter().post(HIDDeviceConnected, NotificationDictionary{{"device", rec}});
    EXPECT_TRUE(test::waitUntilIdle());
    EXPECT_EQ(accepted, 1);
    EXPECT_EQ(usageReports(1).size(), 1u);
}

TEST_F(HomeScreen, PickerPages) {
    QTest::mouseClick(find<QPushButton>("keyboardButton"), Qt::LeftButton);  // already selected: nothing changes
    EXPECT_EQ(home->deviceType(), 2);
    // The hidden pages' pictures are named from the start and drawn when first shown.
    for (const char* hidden : {"deviceImage0", "deviceImage2"})
        EXPECT_TRUE(find<QPushButton>(hidden)->icon().isNull()) << hidden;
    EXPECT_EQ(image(find<QPushButton>("deviceImage0")), "big_mouse");

    QTest::mouseClick(find<QPushButton>("mouseButton"), Qt::LeftButton);
    EXPECT_EQ(home->deviceType(), 1);
    EXPECT_TRUE(find<QPushButton>("deviceImage0")->isVisible());
    EXPECT_FALSE(find<QPushButton>("deviceImage0")->icon().isNull());
    EXPECT_FALSE(find<QPushButton>("deviceImage")->isVisible());
    EXPECT_EQ(image(find<QPushButton>("mouseButton")), "img_mouse_check");
    EXPECT_EQ(image(find<QPushButton>("keyboardButton")), "img_kb");
    EXPECT_EQ(find<QLabel>("deviceNameText")->text(), "CONNECT YOUR DEVICE");

    // A keyboard arriving while the mouse page shows changes only the keyboard button and label.
    plugAndWait(SimulatedKeyboard::quorvath91());
    EXPECT_EQ(image(find<QPushButton>("keyboardButton")), "img_kb");
    EXPECT_EQ(find<QLabel>("kbButtonText")->text(), home->keyboardDesc());
    EXPECT_EQ(image(find<QPushButton>("deviceImage")), "big_kb_pro_87");
    EXPECT_EQ(find<QLabel>("deviceNameText")->text(), "CONNECT YOUR DEVICE");

    QTest::mouseClick(find<QPushButton>("mousePadButton"), Qt::LeftButton);
    EXPECT_EQ(home->deviceType(), 3);
    EXPECT_FALSE(find<QPushButton>("deviceImage0")->isVisible());
    EXPECT_TRUE(find<QPushButton>("deviceImage2")->isVisible());
    EXPECT_EQ(image(find<QPushButton>("mouseButton")), "img_mouse_none");
    EXPECT_EQ(image(find<QPushButton>("mousePadButton")), "img_mousepad_check");

    QTest::mouseClick(find<QPushButton>("keyboardButton"), Qt::LeftButton);
    EXPECT_EQ(home->deviceType(), 2);
    EXPECT_EQ(image(find<QPushButton>("mousePadButton")), "img_mousepad_none");
    EXPECT_TRUE(find<QPushButton>("deviceImage")->isVisible());
    EXPECT_EQ(image(find<QPushButton>("keyboardButton")), "img_kb_check");
    EXPECT_EQ(image(find<QPushButton>("deviceImage")), "big_kb_pro_87");  // the old picture until the next event
    EXPECT_EQ(find<QLabel>("deviceNameText")->text(), home->keyboardDesc());
}

TEST_F(HomeScreen, PickerImagesOfSecondGenerationModels) {
    struct Case {
        std::shared_ptr<SimulatedKeyboard> kb;
        const char *unselected, *refresh, *selected;
    };
    const Case cases[] = {
        {SimulatedKeyboard::marrowinv2_71(), "kb_marrowinv2_pro_check", "kb_marrowinv2_pro_check", "kb_marrowinv2_pro"},
        {SimulatedKeyboard::ostrel61(), "img_ostrel_pro", "img_ostrel_pro_check", "img_ostrel_pro_check"},
        {SimulatedKeyboard::vindle68(), "img_vindle_check", "img_vindle", "img_vindle"},
        {SimulatedKeyboard::marrowinv2te(), "img_marrowinv2", "img_marrowinv2", "img_marrowinv2_check"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.kb->product());
        plugAndWait(c.kb);
        EXPECT_EQ(image(find<QPushButton>("keyboardButton")), c.refresh);
        QTest::mouseClick(find<QPushButton>("mouseButton"), Qt::LeftButton);
        EXPECT_EQ(image(find<QPushButton>("keyboardButton")), c.unselected);
        QTest::mouseClick(find<QPushButton>("keyboardButton"), Qt::LeftButton);
        EXPECT_EQ(image(find<QPushButton>("keyboardButton")), c.selected);
        unplugAndSettle(c.kb);
    }
    // An unknown type-7 description shows "img_kb" once the keyboard has gone.
    EXPECT_EQ(image(find<QPushButton>("keyboardButton")), "img_kb");
}

namespace {
void postWireless(const char* name, int64_t type) {
    NotificationCenter::defaultCenter().post(name, NotificationDictionary{{"type", type}});
}
void postBattery(uint8_t type, uint8_t value) {
    NotificationCenter::defaultCenter().post("WirelessBatteryValue",
                                             NotificationDictionary{{"type", type}, {"value", value}});
}
}  // namespace

TEST_F(HomeScreen, BatteryBadgeLevels) {
    struct Case {
        uint8_t level;
        const char* text;  // "": hidden
        const char* icon;
    };
    const Case cases[] = {
        {0, "0%", "icon_battery_0"},    {10, "10%", "icon_battery_0"},     {11, "11%", "icon_battery_20"},
        {19, "19%", "icon_battery_20"}, {20, "20%", "icon_battery_40"},    {49, "49%", "icon_battery_40"},
        {50, "50%", "icon_battery_60"}, {79, "79%", "icon_battery_60"},    {80, "80%", "icon_battery_80"},
        {99, "99%", "icon_battery_80"}, {100, "100%", "icon_battery_100"}, {255, "", "icon_battery_charging"}};
    for (const Case& c : cases) {
        SCOPED_TRACE(int(c.level));
        postBattery(2, c.level);
        EXPECT_TRUE(test::waitUntilIdle());
        EXPECT_TRUE(find<QWidget>("batteryView")->isVisible());
        EXPECT_EQ(find<QLabel>("batteryText")->isVisible() ? find<QLabel>("batteryText")->text() : "", c.text);
        EXPECT_EQ(image(find<QLabel>("batteryIcon")), c.icon);
    }
    // 101..254 are ignored entirely.
    postBattery(2, 42);
    postBattery(2, 180);
    EXPECT_TRUE(test::waitUntilIdle());
    EXPECT_EQ(home->qvBatteryValue(), 42);
    EXPECT_EQ(find<QLabel>("batteryText")->text(), "42%");
    // A type or value that is not an integer changes nothing.
    NotificationCenter::defaultCenter().post("WirelessBatteryValue",
                                             NotificationDictionary{{"type", std::string("2")}, {"value", uint8_t{7}}});
    EXPECT_TRUE(test::waitUntilIdle());
    EXPECT_EQ(home->qvBatteryValue(), 42);
}

// The README's example: a keyboard and the simulated receiver show the 2.4 GHz badge with the receiver's level, which
// follows the keyboard's; a Bluetooth link takes the badge over while it lasts; the badge goes with the receiver and
// comes back when it is plugged in again.
TEST_F(HomeScreen, SimulatedReceiverShowsItsBattery) {
    plugAndWait(SimulatedKeyboard::quorvath87());
    auto receiver = SimulatedKeyboard::receiver24g();
    receiver->setBatteryLevel(std::nullopt);  // its keyboard off: no badge until the first report
    SimulatedHid::instance().plug(receiver);
    EXPECT_TRUE(test::waitUntilIdle());
    EXPECT_FALSE(find<QWidget>("batteryView")->isVisible());
    receiver->setBatteryLevel(87);
    ASSERT_TRUE(test::processEventsUntil([&] { return find<QWidget>("batteryView")->isVisible(); }));
    EXPECT_EQ(find<QLabel>("batteryText")->text(), "87%");
    EXPECT_EQ(image(find<QLabel>("batteryIcon")), "icon_battery_80");
    EXPECT_EQ(image(find<QLabel>("batteryMode")), "icon_battery_24ghz");
    receiver->setBatteryLevel(15);
    ASSERT_TRUE(test::processEventsUntil([&] { return find<QLabel>("batteryText")->text() == "15%"; }));
    EXPECT_EQ(image(find<QLabel>("batteryIcon")), "icon_battery_20");

    // A Bluetooth link shows its icon at once with the last level and clears the 2.4 GHz status; while it lasts it
    // wins over the receiver's reports.
    postWireless(HIDWirelessConnected, 1);
    EXPECT_TRUE(test::waitUntilIdle());
    EXPECT_TRUE(home->qvBluetoothStatus());
    EXPECT_FALSE(home->qv24GStatus());
    EXPECT_EQ(image(find<QLabel>("batteryMode")), "icon_battery_bluetooth");
    EXPECT_EQ(find<QLabel>("batteryText")->text(), "15%");
    postBattery(2, 60);
    EXPECT_TRUE(test::waitUntilIdle());
    EXPECT_EQ(image(find<QLabel>("batteryMode")), "icon_battery_bluetooth");
    postWireless(HIDWirelessDisconnected, 11);
    EXPECT_TRUE(test::waitUntilIdle());
    EXPECT_EQ(image(find<QLabel>("batteryMode")), "icon_battery_24ghz");

    SimulatedHid::instance().unplug(receiver);
    ASSERT_TRUE(test::processEventsUntil([&] { return !find<QWidget>("batteryView")->isVisible(); }));
    EXPECT_FALSE(home->qv24GStatus());
    receiver->setBatteryLevel(255);
    receiver->plug();
    ASSERT_TRUE(test::processEventsUntil([&] { return find<QWidget>("batteryView")->isVisible(); }));
    EXPECT_FALSE(find<QLabel>("batteryText")->isVisible());
    EXPECT_EQ(image(find<QLabel>("batteryIcon")), "icon_battery_charging");
}

class HomeScreenBluetooth : public HomeScreen {
  protected:
    bool simulateBluetooth() const override { return true; }
};

// A Bluetooth link announcement shows the badge at once with the last level; the reader then finds the keyboard,
// reads its level and the badge follows; the 9-second poll reads again.
TEST_F(HomeScreenBluetooth, LinkAnnouncementReadsTheKeyboardsLevel) {
    postWireless(HIDWirelessConnected, 1);
    EXPECT_TRUE(test::waitUntilIdle());
    EXPECT_TRUE(find<QWidget>("batteryView")->isVisible());
    EXPECT_EQ(image(find<QLabel>("batteryMode")), "icon_battery_bluetooth");
    ASSERT_TRUE(test::processEventsUntil([&] { return home->qvBatteryValue() == 80; }));
    EXPECT_EQ(find<QLabel>("batteryText")->text(), "80%");
    EXPECT_EQ(image(find<QLabel>("batteryIcon")), "icon_battery_80");
    EXPECT_TRUE(home->bluetoothBattery()->connectState);
}
