#include <QLabel>
#include <QMessageBox>
#include <QPushButton>
#include <QRadioButton>

#include "Customized/SegueRegistry.h"
#include "EditorFixture.h"
#include "Views/Home/HomeViewController.h"
#include "Views/Home/HomeWindowController.h"
#include "Views/Keyboard/KeyLayout/CurrentDevice.h"
#include "Views/Keyboard/KeyLayout/KeyModels.h"
#include "Views/Keyboard/Quorvath/KeyPanel.h"
#include "Views/Keyboard/Quorvath/KnobPanel.h"
#include "Views/Keyboard/Quorvath/LightingPanel.h"
#include "Views/Keyboard/Quorvath/SettingsPanel.h"
#include "Views/Keyboard/Shared/SharedColorPanel.h"
#include "platform/bluetooth/SimulatedCentral.h"

using namespace keyloom;
using namespace keyloom::test;

namespace {

using Editor = EditorFixture;

// Every first-generation model: device type, caps, pictures, database file; the version read is the first exchange.
TEST_F(Editor, OpensEveryFirstGenerationModel) {
    struct Case {
        std::shared_ptr<SimulatedKeyboard> kb;
        int64_t deviceType;
        size_t caps;
        const char* file;
    };
    auto noIds = SimulatedKeyboard::quorvath91();
    noIds->setProperty("VendorID", std::monostate{});
    noIds->setProperty("ProductID", std::monostate{});
    const Case cases[] = {
        {SimulatedKeyboard::quorvath87(), 1, 87, "670046462_device.sqlite3"},
        {SimulatedKeyboard::quorvath88(), 2, 88, "670046478_device.sqlite3"},
        {SimulatedKeyboard::quorvath91(), 3, 91, "670046526_device.sqlite3"},
        {SimulatedKeyboard::quorvath87te(), 4, 87, "670046367_device.sqlite3"},
        {SimulatedKeyboard::quorvath88te(), 5, 88, "670046479_device.sqlite3"},
        {SimulatedKeyboard::quorvath91te(), 6, 91, "670046527_device.sqlite3"},
        // Unknown product id: type 1 and the 87-key picture. Missing ids count as 0.
        {SimulatedKeyboard::firstGeneration(0xB5FF, "Other"), 1, 87, "670046591_device.sqlite3"},
        {noIds, 1, 87, "00_device.sqlite3"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.file);
        open(c.kb, "Title " + QString::fromLatin1(c.file));
        ASSERT_NE(controller, nullptr);
        EXPECT_EQ(window->windowTitle(), "Title " + QString::fromLatin1(c.file));
        EXPECT_EQ(ctx().deviceType(), c.deviceType);
        EXPECT_EQ(ctx().deviceDBfile(), c.file);
        EXPECT_TRUE(std::filesystem::exists(databaseFolder() + "/" + c.file));
        EXPECT_EQ(controller->keyDataArray().size(), c.caps);
        // One picture on each tab that has one.
        for (const char* picture : {"customKeyboardView", "radiKeyboardView", "settingsKeyboardView"})
            EXPECT_NE(controller->findChild<QWidget*>(picture), nullptr) << picture;
        EXPECT_EQ(ctx().nameMap().size(), findKeyModel(ctx().keyModel().id)->nameMap().size());
        EXPECT_EQ(controller->viewType(), 1);
        const auto transfers = keyboard->transfers();
        ASSERT_FALSE(transfers.empty());
        EXPECT_EQ(transfers[0].bytes, kVersionRead);
        EXPECT_EQ(ctx().versionType(), 2);
        closeEditor();
        EXPECT_EQ(KEYBOARD_VIEW, nullptr);
        keyboard->unplug();
    }
}

TEST_F(Editor, FirmwareOf180905SwitchesTheBulkLayoutAndSilentKeyboardKeepsIt) {
    auto kb = SimulatedKeyboard::quorvath87();
    kb->setFirmwareVersion("V1.8.180905");
    open(kb);
    EXPECT_EQ(ctx().versionType(), 1);
    closeEditor();
    keyboard->unplug();

    auto silent = SimulatedKeyboard::quorvath88();
    silent->failTransfer(1);  // the version request
    open(silent);
    EXPECT_EQ(ctx().versionType(), 2);
    EXPECT_EQ(ctx().deviceType(), 2);
}

TEST_F(Editor, TabsSwitchPanelsAndTheirButtonImages) {
    open(SimulatedKeyboard::quorvath87());
    struct Case {
        const char* button;
        int viewType;
        QWidget* panel;
        const char* image;
    };
    const Case cases[] = {
        {"SettingsBtn", 4, controller->SettingsView, "icon_menu_set"},
        {"RadiRGBBtn", 3, controller->RadiRGBView, "icon_menu_radi"},
        {"CairnolKnobBtn", 2, controller->CairnelKnobView, "icon_menu_knob"},
        {"KeyCustomBtn", 1, controller->KeyCustomView, "icon_menu_customkey"},
    };
    const QWidget* panels[] = {controller->KeyCustomView, controller->CairnelKnobView, controller->RadiRGBView,
                               controller->SettingsView};
    for (const Case& c : cases) {
        SCOPED_TRACE(c.button);
        QTest::mouseClick(find<QPushButton>(c.button), Qt::LeftButton);
        EXPECT_EQ(controller->viewType(), c.viewType);
        for (const QWidget* p : panels) EXPECT_EQ(p->isVisible(), p == c.panel);
        for (const Case& other : cases)
            EXPECT_EQ(KeyboardViewController::imageNameOf(find<QPushButton>(other.button)),
                      QString::fromLatin1(other.image) + (&other == &c ? "_check" : ""));
    }
    // The tab already shown: nothing is removed, an open colour panel stays open; another tab closes it.
    openSharedColorPanel(controller, Qt::red, [](const QColor&) {});
    QTest::mouseClick(find<QPushButton>("KeyCustomBtn"), Qt::LeftButton);
    EXPECT_TRUE(sharedColorPanelVisible());
    EXPECT_TRUE(controller->KeyCustomView->isVisible());
    QTest::mouseClick(find<QPushButton>("SettingsBtn"), Qt::LeftButton);
    EXPECT_FALSE(sharedColorPanelVisible());
}

TEST_F(Editor, LaterAppearancesOnlySetTheTitle) {
    open(SimulatedKeyboard::quorvath87());
    KeyboardEditorContext* first = controller->context();
    const size_t transfers = keyboard->transfers().size();
    window->hide();
    controller->keyboardTitle = "Again";
    window->show();
    settle();
    EXPECT_EQ(controller->context(), first);
    EXPECT_EQ(window->windowTitle(), "Again");
    EXPECT_EQ(keyboard->transfers().size(), transfers);
}

TEST_F(Editor, ClosingClearsTheSlotAndStillSendsWhatWasQueued) {
    open(SimulatedKeyboard::quorvath87());
    QWidget other;
    other.show();
    other.close();
    EXPECT_EQ(KEYBOARD_VIEW, window.data()) << "another window closing changes nothing";

    keyboard->clearTransfers();
    keyboard->holdTransfer(1);  // the restore report waits at the keyboard while the window closes
    QTest::mouseClick(find<QPushButton>("restoreKeyboard"), Qt::LeftButton);
    ASSERT_TRUE(keyboard->waitForHeldTransfer());
    window->close();
    EXPECT_EQ(KEYBOARD_VIEW, nullptr);
    EXPECT_TRUE(processEventsUntil([&] { return window.isNull(); })) << "closing does not wait for the keyboard";
    keyboard->releaseHeldTransfer();
    EXPECT_TRUE(keyboard->waitForTransfers(1));
    EXPECT_EQ(featureReports(), std::vector<Bytes>{kResetReport});
}

// The home screen with a simulated central, for the click and the disconnection sheet.
class HomeAndEditor : public EditorFixture {
  protected:
    void SetUp() override {
        EditorFixture::SetUp();
        HomeViewController::centralFactory() = [](std::weak_ptr<CentralDelegate> d) {
            return std::shared_ptr<BluetoothCentral>(SimulatedCentral::create(d, CentralState::unsupported));
        };
        registerKeyboardEditorSegue();
        homeWindow = std::make_unique<HomeWindowController>();
        home = homeWindow->contentViewController();
        QObject::connect(home, &HomeViewController::keyboardAccepted, [this] { ++accepted; });
        home->viewDidLoad();
        homeWindow->show();
    }
    void TearDown() override {
        EditorFixture::TearDown();
        homeWindow.reset();
        SegueRegistry::shared().unregisterSegue("showkeyboard");
        HomeViewController::centralFactory() = nullptr;
        resetCurrentDevice();
    }
    std::shared_ptr<SimulatedKeyboard> plug(std::shared_ptr<SimulatedKeyboard> kb) {
        const int before = accepted;
        SimulatedHid::instance().plug(kb);
        EXPECT_TRUE(processEventsUntil([&] { return accepted > before; }));
        return kb;
    }
    void clickPicture() {
        QTest::mouseClick(home->deviceImage, Qt::LeftButton);
        window = qobject_cast<KeyboardWindowViewController*>(KEYBOARD_VIEW.data());
        controller = window ? window->contentViewController() : nullptr;
        settle();
    }
    int editorWindows() const {
        int n = 0;
        for (QWidget* w : QApplication::topLevelWidgets())
            n += qobject_cast<KeyboardWindowViewController*>(w) != nullptr;
        return n;
    }
    bool sheetShown() const { return home->disconnectSheet && home->disconnectSheet->isVisible(); }

    std::unique_ptr<HomeWindowController> homeWindow;
    HomeViewController* home = nullptr;
    int accepted = 0;
};

TEST_F(HomeAndEditor, ClickOpensOneEditorWithTheLabelAsTitle) {
    clickPicture();
    EXPECT_EQ(KEYBOARD_VIEW, nullptr) << "no keyboard, nothing opens";

    keyboard = plug(SimulatedKeyboard::quorvath88());
    clickPicture();
    ASSERT_NE(controller, nullptr);
    EXPECT_EQ(window->windowTitle(), home->kbButtonText->text());
    EXPECT_EQ(controller->kbHIDdevice, home->kbHIDdevice());
    EXPECT_EQ(ctx().deviceType(), 2);
    clickPicture();
    EXPECT_EQ(editorWindows(), 1);
    EXPECT_EQ(KEYBOARD_VIEW, window.data());
}

TEST_F(HomeAndEditor, TypeSevenTakesTheSecondGenerationTransition) {
    KeyboardSegueSender received;
    int performed = 0;
    ScopedSegue marrowin("showmarrowinkb", [&](QWidget*, const std::any& sender) {
        ++performed;
        received = std::any_cast<KeyboardSegueSender>(sender);
    });
    plug(SimulatedKeyboard::vindle68());
    clickPicture();
    EXPECT_EQ(performed, 1);
    EXPECT_EQ(received.kbHIDdevice, home->kbHIDdevice());
    EXPECT_EQ(received.keyboardTitle, "Vindle");
    EXPECT_EQ(editorWindows(), 0);
}

// The sheet follows the editor's own keyboard, not the tracked one; the editor keeps its own model's maps.
TEST_F(HomeAndEditor, DisconnectionSheetFollowsTheEditorsKeyboard) {
    keyboard = plug(SimulatedKeyboard::quorvath87());
    clickPicture();
    ASSERT_NE(controller, nullptr);
    const KeyNameMap* ownMap = &ctx().nameMap();

    auto second = plug(SimulatedKeyboard::ostrelte62());
    EXPECT_EQ(QV_SuperKeyNameMap()->size(), findKeyModel(KeyModelId::OstrelTE62)->nameMap().size());
    EXPECT_EQ(&ctx().nameMap(), ownMap);
    EXPECT_EQ(&ctx().nameMap(), &findKeyModel(KeyModelId::Quorvath87)->nameMap());

    SimulatedHid::instance().unplug(second);  // the tracked keyboard, not the editor's
    settle();
    EXPECT_EQ(home->kbHIDdevice(), nullptr);
    EXPECT_FALSE(sheetShown());
    EXPECT_TRUE(window->isVisible());

    plug(SimulatedKeyboard::quorvath91());  // tracked now, while the editor still edits the 87
    SimulatedHid::instance().unplug(keyboard);
    settle();
    ASSERT_TRUE(sheetShown());
    EXPECT_EQ(home->disconnectSheet->informativeText(),
              "The keyboard is disconnected and the keyboard configuration window will close.");
    QTest::mouseClick(home->disconnectSheet->button(QMessageBox::Ok), Qt::LeftButton);
    EXPECT_TRUE(processEventsUntil([&] { return window.isNull(); }));
    EXPECT_EQ(KEYBOARD_VIEW, nullptr);
}

// Unplugged while an exchange waits at the keyboard and another is queued: the sheet closes the editor at once, the
// waiting exchange fails cleanly and the queued one never reaches the keyboard.
TEST_F(HomeAndEditor, UnplugDuringAnExchangeClosesTheEditorWithItsAlert) {
    keyboard = plug(SimulatedKeyboard::quorvath87());
    clickPicture();
    ASSERT_NE(controller, nullptr);
    QTest::mouseClick(find<QPushButton>("SettingsBtn"), Qt::LeftButton);
    keyboard->clearTransfers();
    keyboard->holdTransfer(1);
    QTest::mouseClick(find<QPushButton>("restoreKeyboard"), Qt::LeftButton);
    ASSERT_TRUE(keyboard->waitForHeldTransfer());
    QTest::mouseClick(find<QRadioButton>("reportRate4"), Qt::LeftButton);

    SimulatedHid::instance().unplug(keyboard);
    ASSERT_TRUE(processEventsUntil([&] { return sheetShown(); }));
    QTest::mouseClick(home->disconnectSheet->button(QMessageBox::Ok), Qt::LeftButton);
    EXPECT_TRUE(processEventsUntil([&] { return window.isNull(); })) << "closing does not wait for the keyboard";
    EXPECT_EQ(KEYBOARD_VIEW, nullptr);

    keyboard->releaseHeldTransfer();
    ASSERT_TRUE(keyboard->waitForTransfers(1));
    EXPECT_TRUE(waitUntilIdle());
    const auto transfers = keyboard->transfers();
    ASSERT_EQ(transfers.size(), 1u);
    EXPECT_EQ(transfers[0].status, kHidErrorNotAttached);
}

}  // namespace
