#include <gtest/gtest.h>

#include <QComboBox>
#include <QLabel>
#include <QPushButton>
#include <QTest>
#include <filesystem>
#include <memory>

#include "Customized/SegueRegistry.h"
#include "SQLite/MarrowinDeviceSQLite.h"
#include "VelkorDevice/MarrowinV2.h"
#include "Views/Home/AppState.h"
#include "Views/Keyboard/KeyLayout/CurrentDevice.h"
#include "Views/Keyboard/MarrowinEditorContext.h"
#include "Views/Keyboard/MarrowinKeyCustomView.h"
#include "Views/Keyboard/MarrowinRadiRGBView.h"
#include "Views/Keyboard/MarrowinViewController.h"
#include "Views/Keyboard/MarrowinWindowViewController.h"
#include "platform/DataPaths.h"
#include "platform/hid/SimulatedHidScope.h"
#include "support/TestSupport.h"

using namespace keyloom;

namespace {

class MarrowinEditor : public ::testing::Test {
  protected:
    void SetUp() override {
        resetCurrentDevice();
        KEYBOARD_VIEW.clear();
        registerMarrowinEditorSegue();
    }

    void TearDown() override {
        closeEditor();
        SegueRegistry::shared().unregisterSegue(QStringLiteral("showmarrowinkb"));
    }

    // Opens the editor as the home screen does, for a plugged keyboard.
    MarrowinViewController* open(const std::shared_ptr<SimulatedKeyboard>& kb, const QString& title = "Keyboard") {
        keyboard = SimulatedHid::instance().plug(kb);
        EXPECT_TRUE(SegueRegistry::shared().perform(QStringLiteral("showmarrowinkb"), nullptr,
                                                    KeyboardSegueSender{keyboard->device(), title}));
        auto* window = qobject_cast<MarrowinWindowViewController*>(KEYBOARD_VIEW.data());
        if (!window) return nullptr;
        EXPECT_TRUE(QTest::qWaitForWindowExposed(window));
        // Opening sends the profile's lighting once; what a test does afterwards is checked from a clean record.
        MarrowinViewController* editor = window->contentViewController();
        editor->context().waitForExchanges();
        openingReports = keyboard->sentReports(HidReportType::Feature);
        keyboard->clearTransfers();
        return editor;
    }

    void closeEditor() {
        if (KEYBOARD_VIEW) {
            QPointer<QWidget> window = KEYBOARD_VIEW;
            window->close();
            test::processEventsUntil([&] { return window.isNull(); });
        }
    }

    std::string stored(const std::string& file, const std::string& key = "keyboardLayout") {
        return MarrowinDeviceSQLite(file).getConfigData(1, key);
    }

    test::TempDataHome home;
    SimulatedHidScope simulation;
    std::shared_ptr<SimulatedKeyboard> keyboard;
    std::vector<std::vector<uint8_t>> openingReports;
};

std::shared_ptr<SimulatedKeyboard> withoutProductName() {
    auto kb = SimulatedKeyboard::secondGeneration(0x024F, "");
    kb->setProperty("Product", std::monostate{});
    return kb;
}

TEST_F(MarrowinEditor, ModelChoiceForEverySimulatedModel) {
    const struct {
        std::function<std::shared_ptr<SimulatedKeyboard>()> make;
        int64_t type;
        std::string file;
        MarrowinLayoutCombos combos;
        size_t caps;
    } cases[] = {
        {&SimulatedKeyboard::marrowinv2_71, 1, "marrowinv2pro_device.sqlite3", MarrowinLayoutCombos::MarrowinV2, 71},
        {&SimulatedKeyboard::marrowinv2_72, 1, "marrowinv2pro_device.sqlite3", MarrowinLayoutCombos::MarrowinV2, 71},
        {&SimulatedKeyboard::marrowinv2max, 1, "marrowinv2max_device.sqlite3", MarrowinLayoutCombos::MarrowinV2, 71},
        {&SimulatedKeyboard::marrowinv2te, 1, "marrowinv2te_device.sqlite3", MarrowinLayoutCombos::MarrowinV2, 71},
        {&SimulatedKeyboard::vindle68, 102, "vindle_device.sqlite3", MarrowinLayoutCombos::None, 68},
        {&SimulatedKeyboard::tolmek84, 101, "tolmekv2te_device.sqlite3", MarrowinLayoutCombos::None, 84},
        {&SimulatedKeyboard::ostrel61, 100, "ostrelpro_device.sqlite3", MarrowinLayoutCombos::None, 61},
        {&SimulatedKeyboard::ostrelmax, 103, "ostrelmax_device.sqlite3", MarrowinLayoutCombos::None, 61},
        {&SimulatedKeyboard::ostrelte61, 105, "ostrelte61_device.sqlite3", MarrowinLayoutCombos::None, 61},
        {&SimulatedKeyboard::ostrelte62, 106, "ostrelte62_device.sqlite3", MarrowinLayoutCombos::OstrelTE62, 62},
        {[] { return SimulatedKeyboard::secondGeneration(593, "Ostrel TE"); }, 1, "marrowinv2_device.sqlite3",
         MarrowinLayoutCombos::MarrowinV2, 71},
        {&withoutProductName, 1, "marrowinv2_device.sqlite3", MarrowinLayoutCombos::MarrowinV2, 71},
    };
    for (const auto& c : cases) {
        auto kb = c.make();
        const std::string label = kb->product() + " " + std::to_string(kb->productId());
        MarrowinViewController* editor = open(kb, QString::fromStdString(label));
        ASSERT_TRUE(editor) << label;
        EXPECT_EQ(editor->deviceType(), c.type) << label;
        EXPECT_EQ(editor->deviceDBfile(), c.file) << label;
        EXPECT_TRUE(std::filesystem::exists(databaseFolder() + "/" + c.file)) << label;
        EXPECT_EQ(editor->window()->windowTitle(), QString::fromStdString(label));
        EXPECT_EQ(editor->context().caps().size(), c.caps) << label;
        EXPECT_EQ(editor->viewType(), 1);

        auto visible = [&](const char* name) { return !editor->findChild<QComboBox*>(name)->isHidden(); };
        const bool v2 = c.combos == MarrowinLayoutCombos::MarrowinV2;
        const bool te62 = c.combos == MarrowinLayoutCombos::OstrelTE62;
        EXPECT_EQ(visible("keyLayoutSelect"), v2) << label;
        EXPECT_EQ(visible("radiKBLayoutSelect"), v2) << label;
        EXPECT_EQ(visible("ostrel62KBLayoutSelect"), te62) << label;
        EXPECT_EQ(visible("ostrel62LightKBLayoutSelect"), te62) << label;
        // Opening reads nothing from the keyboard and sends only the lighting: 4 commands around 18 block reports.
        EXPECT_EQ(openingReports.size(), 22u) << label;

        closeEditor();
        EXPECT_TRUE(KEYBOARD_VIEW.isNull());
        SimulatedHid::instance().unplug(keyboard);
    }
}

TEST_F(MarrowinEditor, OneEditorAtATimeAndASecondAppearanceBuildsNothing) {
    MarrowinViewController* editor = open(SimulatedKeyboard::ostrel61(), "Ostrel PRO");
    ASSERT_TRUE(editor);
    QWidget* window = KEYBOARD_VIEW;
    MarrowinV2* channel = editor->context().deviceComm.get();
    MarrowinDeviceSQLite* db = editor->context().deviceDB.get();

    // A second transition brings the open editor forward and makes no other.
    auto other = SimulatedHid::instance().plug(SimulatedKeyboard::vindle68());
    SegueRegistry::shared().perform(QStringLiteral("showmarrowinkb"), nullptr,
                                    KeyboardSegueSender{other->device(), QStringLiteral("Vindle")});
    EXPECT_EQ(KEYBOARD_VIEW.data(), window);
    EXPECT_EQ(editor->deviceType(), 100);

    window->hide();
    window->show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(window));
    EXPECT_EQ(editor->context().deviceComm.get(), channel);
    EXPECT_EQ(editor->context().deviceDB.get(), db);
    EXPECT_EQ(window->windowTitle(), QStringLiteral("Ostrel PRO"));

    // Closing another window leaves the editor registered.
    QWidget stray;
    stray.show();
    stray.close();
    EXPECT_EQ(KEYBOARD_VIEW.data(), window);
}

TEST_F(MarrowinEditor, WithoutAKeyboardNothingIsBuilt) {
    MarrowinWindowViewController window;
    window.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&window));
    EXPECT_FALSE(window.contentViewController()->context().isOpen());
    EXPECT_TRUE(window.contentViewController()->context().caps().empty());
    EXPECT_FALSE(std::filesystem::exists(databaseFolder() + "/marrowinv2_device.sqlite3"));
}

TEST_F(MarrowinEditor, StoredLayoutIsShown) {
    const struct {
        std::string stored;
        int64_t index;
        size_t caps;
    } cases[] = {{"8", 8, 72}, {"08", 0, 71}, {"", 0, 71}, {"3", 3, 72}};
    for (const auto& c : cases) {
        {
            MarrowinDeviceSQLite db("marrowinv2te_device.sqlite3");
            ASSERT_TRUE(db.updateConfigData(1, "keyboardLayout", c.stored));
        }
        MarrowinViewController* editor = open(SimulatedKeyboard::marrowinv2te());
        ASSERT_TRUE(editor);
        EXPECT_EQ(editor->context().layoutIndex, c.index) << '"' << c.stored << '"';
        EXPECT_EQ(editor->context().caps().size(), c.caps) << '"' << c.stored << '"';
        auto* key = editor->findChild<QComboBox*>("keyLayoutSelect");
        auto* radi = editor->findChild<QComboBox*>("radiKBLayoutSelect");
        const int shown = c.index < key->count() ? int(c.index) : -1;  // beyond the items: no item shown
        EXPECT_EQ(key->currentIndex(), shown);
        EXPECT_EQ(radi->currentIndex(), shown);
        EXPECT_EQ(stored("marrowinv2te_device.sqlite3"), c.stored);  // showing stores nothing
        closeEditor();
        SimulatedHid::instance().unplug(keyboard);
    }
}

TEST_F(MarrowinEditor, ChoosingALayoutStoresItAndRebuildsWithoutSending) {
    MarrowinViewController* editor = open(SimulatedKeyboard::marrowinv2_71());
    ASSERT_TRUE(editor);
    auto* key = editor->findChild<QComboBox*>("keyLayoutSelect");
    auto* radi = editor->findChild<QComboBox*>("radiKBLayoutSelect");
    ASSERT_EQ(key->currentIndex(), 0);

    key->setFocus();
    QTest::keyClick(key, Qt::Key_Down);  // English (UK): the 72-key keyboard
    EXPECT_EQ(key->currentIndex(), 1);
    EXPECT_EQ(radi->currentIndex(), 1);
    EXPECT_EQ(stored("marrowinv2pro_device.sqlite3"), "1");
    EXPECT_EQ(editor->context().caps().size(), 72u);
    EXPECT_EQ(editor->context().keyModel()->id, KeyModelId::MarrowinV2_72);
    EXPECT_EQ(QV_SuperKeyCodeMap()->size(), findKeyModel(KeyModelId::MarrowinV2_72)->codeMap().size());

    // The lighting tab's combo drives the key tab's; back to the 71-key keyboard.
    editor->ShowRadiRGBView();
    radi->setFocus();
    QTest::keyClick(radi, Qt::Key_Up);
    EXPECT_EQ(key->currentIndex(), 0);
    EXPECT_EQ(stored("marrowinv2pro_device.sqlite3"), "0");
    EXPECT_EQ(editor->context().caps().size(), 71u);
    EXPECT_TRUE(keyboard->transfers().empty());

    // A combo without a choice does nothing.
    {
        QSignalBlocker blocker(key);
        key->setCurrentIndex(-1);
    }
    editor->KeyboardLayoutSelectAction(key);
    EXPECT_EQ(radi->currentIndex(), 0);
    EXPECT_EQ(editor->context().caps().size(), 71u);
    EXPECT_EQ(stored("marrowinv2pro_device.sqlite3"), "0");
}

TEST_F(MarrowinEditor, OstrelTE62UsesItsOwnCombos) {
    {
        MarrowinDeviceSQLite db("ostrelte62_device.sqlite3");
        ASSERT_TRUE(db.updateConfigData(1, "keyboardLayout", "2"));
    }
    MarrowinViewController* editor = open(SimulatedKeyboard::ostrelte62());
    ASSERT_TRUE(editor);
    auto* te62 = editor->findChild<QComboBox*>("ostrel62KBLayoutSelect");
    auto* te62Light = editor->findChild<QComboBox*>("ostrel62LightKBLayoutSelect");
    EXPECT_EQ(te62->currentIndex(), 2);
    EXPECT_EQ(te62Light->currentIndex(), 2);
    EXPECT_EQ(editor->findChild<QComboBox*>("keyLayoutSelect")->currentIndex(), 0);

    te62->setFocus();
    QTest::keyClick(te62, Qt::Key_Down);
    EXPECT_EQ(te62Light->currentIndex(), 3);
    EXPECT_EQ(stored("ostrelte62_device.sqlite3"), "3");
    EXPECT_EQ(editor->context().caps().size(), 62u);
    EXPECT_TRUE(keyboard->transfers().empty());
}

TEST_F(MarrowinEditor, TabsSwitchPanelsAndImages) {
    MarrowinViewController* editor = open(SimulatedKeyboard::vindle68());
    ASSERT_TRUE(editor);
    auto* keyTab = editor->findChild<QPushButton*>("KeyCustomBtn");
    auto* radiTab = editor->findChild<QPushButton*>("RadiRGBBtn");
    auto image = [](QPushButton* b) { return b->property("keyloomImageName").toString(); };
    EXPECT_TRUE(editor->KeyCustomView->isVisible());
    EXPECT_FALSE(editor->RadiRGBView->isVisible());
    EXPECT_EQ(image(keyTab), "icon_menu_customkey_check");

    QTest::mouseClick(radiTab, Qt::LeftButton);
    EXPECT_EQ(editor->viewType(), 2);
    EXPECT_FALSE(editor->KeyCustomView->isVisible());
    EXPECT_TRUE(editor->RadiRGBView->isVisible());
    EXPECT_EQ(image(keyTab), "icon_menu_customkey");
    EXPECT_EQ(image(radiTab), "icon_menu_radi_check");

    QTest::mouseClick(radiTab, Qt::LeftButton);  // the shown tab: nothing changes
    EXPECT_TRUE(editor->RadiRGBView->isVisible());
    QTest::mouseClick(keyTab, Qt::LeftButton);
    EXPECT_EQ(editor->viewType(), 1);
    EXPECT_TRUE(editor->KeyCustomView->isVisible());
    EXPECT_EQ(editor->KeyCustomView->pos(), QPoint(MarrowinViewController::kTabColumnWidth, 0));
}

}  // namespace

namespace {

// The foundation of every upload: one worker per keyboard, in order, only the latest waiting job of a kind.
TEST_F(MarrowinEditor, ExchangesRunInOrderAndOnlyTheLatestOfAKindWaits) {
    keyboard = SimulatedHid::instance().plug(SimulatedKeyboard::ostrel61());
    int done = 0;
    {
        MarrowinEditorContext context;
        context.open(keyboard->device());
        auto command = [](uint8_t value) {
            return [value](MarrowinV2& channel) {
                std::vector<uint8_t> report(65, 0);
                report[0] = 4;
                report[1] = value;
                channel.sendDeviceData(report);
            };
        };
        keyboard->holdTransfer(1);
        context.exchange("lighting", command(1), [&] { ++done; });
        ASSERT_TRUE(keyboard->waitForHeldTransfer());
        context.exchange("keys", command(2), [&] { ++done; });
        context.exchange("keys", command(3), [&] { ++done; });  // replaces the waiting 2
        context.exchange("lighting", command(4), [&] { ++done; });
        keyboard->releaseHeldTransfer();
        context.waitForExchanges();
        ASSERT_TRUE(test::processEventsUntil([&] { return done == 3; }));
        std::vector<uint8_t> sent;
        for (const auto& report : keyboard->sentReports(HidReportType::Feature)) sent.push_back(report.at(1));
        EXPECT_EQ(sent, (std::vector<uint8_t>{1, 3, 4}));

        // Closing finishes what was handed over, without waiting for it.
        keyboard->clearTransfers();
        context.exchange("keys", command(5), [&] { ++done; });
    }
    ASSERT_TRUE(keyboard->waitForTransfers(2));  // the command and its read-back
    EXPECT_EQ(keyboard->sentReports(HidReportType::Feature).at(0).at(1), 5);
    test::processEventsFor(std::chrono::milliseconds(50));
    EXPECT_EQ(done, 3);  // a closed editor hears nothing back
}

}  // namespace
