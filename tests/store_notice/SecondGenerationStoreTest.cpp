#include <gtest/gtest.h>

#include <QAbstractButton>
#include <QApplication>
#include <QCheckBox>
#include <QColorDialog>
#include <QComboBox>
#include <QLabel>
#include <QListWidget>
#include <QPushButton>
#include <QSlider>
#include <QTest>
#include <QTreeView>
#include <filesystem>
#include <functional>

#include "CustomControl/KeyView.h"
#include "CustomControl/KeyboardView.h"
#include "Customized/SegueRegistry.h"
#include "SQLite/SQLiteConnection.h"
#include "StoreNoticeSupport.h"
#include "VelkorDevice/MarrowinV2.h"
#include "Views/Home/AppState.h"
#include "Views/Keyboard/DataSource/TreeNodeItemModel.h"
#include "Views/Keyboard/KeyLayout/CurrentDevice.h"
#include "Views/Keyboard/Marrowin/MarrowinKeyCustomView.h"
#include "Views/Keyboard/Marrowin/MarrowinRadiRGBView.h"
#include "Views/Keyboard/Marrowin/MarrowinViewController.h"
#include "Views/Keyboard/Marrowin/MarrowinWindowViewController.h"
#include "Views/Keyboard/Marrowin/core/MarrowinEditorContext.h"
#include "Views/Keyboard/Shared/SharedColorPanel.h"
#include "platform/DataPaths.h"
#include "platform/hid/SimulatedHidScope.h"
#include "support/PictureClicks.h"
#include "support/TestSupport.h"

using namespace keyloom;
using namespace keyloom::test;

namespace {

using Bytes = std::vector<uint8_t>;

// The second-generation editor on a MarrowinV2 (71 keys, with its layout choice), worked as a user works it.
class SecondGeneration : public ::testing::Test {
  public:
    void SetUp() override {
        resetCurrentDevice();
        registerMarrowinEditorSegue();
    }
    void TearDown() override {
        close();
        SegueRegistry::shared().unregisterSegue(QStringLiteral("showmarrowinkb"));
        resetCurrentDevice();
    }

    void open() {
        keyboard = SimulatedHid::instance().plug(SimulatedKeyboard::marrowinv2_71());
        ASSERT_TRUE(SegueRegistry::shared().perform(QStringLiteral("showmarrowinkb"), nullptr,
                                                    KeyboardSegueSender{keyboard->device(), "Marrowin"}));
        window = qobject_cast<MarrowinWindowViewController*>(KEYBOARD_VIEW.data());
        ASSERT_TRUE(window);
        editor = window->contentViewController();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(window));
        settle();
        // Later uploads without the keyboard's pauses.
        ctx().deviceComm = std::make_shared<MarrowinV2>(keyboard->device(), [](std::chrono::milliseconds) {});
        keyboard->clearTransfers();
    }
    void close() {
        closeSharedColorPanel();
        if (!window) return;
        window->close();
        EXPECT_TRUE(processEventsUntil([&] { return window.isNull(); }));
        keyboard->unplug();
    }
    void settle() {
        ctx().waitForExchanges();
        QCoreApplication::processEvents();
    }
    MarrowinEditorContext& ctx() { return editor->context(); }
    MarrowinRadiRGBView* lighting() { return editor->RadiRGBView; }
    MarrowinKeyCustomView* keys() { return editor->KeyCustomView; }
    std::string dbPath() { return databaseFolder() + "/" + editor->deviceDBfile(); }
    uint64_t commits() { return SQLiteConnection::committedTransactions(dbPath()); }

    template <typename W>
    W* find(const char* name) {
        W* w = editor->findChild<W*>(QString::fromLatin1(name));
        EXPECT_NE(w, nullptr) << name;
        return w;
    }
    void click(const char* name) {
        QTest::mouseClick(find<QAbstractButton>(name), Qt::LeftButton);
        settle();
    }
    void key(const char* name, Qt::Key k) {
        QTest::keyClick(find<QWidget>(name), k);
        settle();
    }
    void clickMode(int64_t mode) {
        QListWidget* list = lighting()->lightModeTable;
        QTest::mouseClick(list->viewport(), Qt::LeftButton, {},
                          list->visualItemRect(list->item(int(mode - 1))).center());
        settle();
    }
    void pickColour(const QColor& colour) {
        if (!sharedColorPanelVisible()) QTest::mouseClick(lighting()->lightRandomColorWell, Qt::LeftButton);
        sharedColorPanel()->setCurrentColor(colour);
        settle();
    }
    void clickLightingCap(const std::string& name) {
        clickCap(lighting()->radiKeyboardView, name);
        settle();
    }
    QColor capColour(const std::string& name) {
        KeyboardView* picture = lighting()->radiKeyboardView;
        for (const KeyData& key : picture->keyDataArrayHover())
            if (key.keyname == name) return picture->keyView(key.index)->backgroundColor();
        return {};
    }
    void clickRow(const QString& name) {
        QTreeView* tree = keys()->keycustomTree;
        for (int r = 0; r < tree->model()->rowCount(); ++r) {
            const QModelIndex row = tree->model()->index(r, 0);
            if (row.data().toString() == name)
                QTest::mouseClick(tree->viewport(), Qt::LeftButton, {}, tree->visualRect(row).center());
        }
    }
    void chooseKey(const std::string& name, const QString& row) {
        clickCap(keys()->customKeyboardView, name);
        clickRow(row);
    }
    std::string chosenRow() {
        const TreeNodeModel* node = selectedNode(keys()->keycustomTree);
        return node && node->name ? *node->name : "";
    }
    std::vector<std::string> labels() {
        return {keys()->keyNameText->text().toStdString(), keys()->keyFunctionText->text().toStdString(),
                keys()->keyMacroText->text().toStdString()};
    }
    bool marked(const std::string& name) {
        KeyboardView* picture = keys()->customKeyboardView;
        for (const KeyData& cap : picture->keyDataArrayHover())
            if (cap.keyname == name) return picture->keyView(cap.index)->keyCheck();
        return false;
    }
    void chooseLayout(int index) {
        QComboBox* combo = keys()->keyLayoutSelect;
        combo->setFocus();
        for (int i = combo->currentIndex(); i < index; ++i) QTest::keyClick(combo, Qt::Key_Down);
        settle();
    }

    // Uploads begun since the last clear (lighting blocks and key tables both start with 04 18), and the active mode
    // of the last lighting block.
    size_t uploads() const {
        Bytes start(64, 0);
        start[0] = 0x04;
        start[1] = 0x18;
        size_t n = 0;
        for (const Bytes& report : keyboard->sentReports(HidReportType::Feature)) n += report == start;
        return n;
    }
    int activeModeSent() const {
        const auto reports = keyboard->sentReports(HidReportType::Feature);
        if (reports.size() < 22) return -1;
        return reports[reports.size() - 20 + 1088 / 64][1088 % 64];
    }

    TempDataHome home;
    SimulatedHidScope simulation;
    std::shared_ptr<SimulatedKeyboard> keyboard;
    QPointer<MarrowinWindowViewController> window;
    MarrowinViewController* editor = nullptr;
};

// Every user action of the second-generation editor while another program holds the profile's write lock: nothing
// of it is kept, the keyboard receives what it receives without the lock (a mode choice and a key's Save or Cancel
// upload what is stored; the lighting controls send nothing), the control shows what is stored, and the notice says
// the change was not stored, and why. Then the lock goes: the next action is stored and sent, and the notice is gone.
TEST_F(SecondGeneration, ActionsWhileAnotherProgramHoldsTheProfile) {
    using Act = std::function<void(SecondGeneration&)>;
    struct Case {
        const char* name;
        bool keyTab;
        Act setup;  // before the lock, not counted
        Act act;    // while the lock is held
        size_t uploads;
        Act shows;   // what the controls show afterwards
        Act next;    // after the lock has gone; nullptr: act again
        bool sends;  // the next action sends (a layout is only drawn)
    };
    const Act noSetup = [](SecondGeneration&) {};
    const Act escapeFramed = [](SecondGeneration& t) {
        t.clickMode(20);
        t.clickLightingCap("escape");
    };
    // clang-format off
    const Case cases[] = {
        {"mode Falling chosen", false, noSetup, [](SecondGeneration& t) { t.clickMode(5); }, 1,
         [](SecondGeneration& t) {
             EXPECT_EQ(t.activeModeSent(), 1) << "the upload carries the stored mode";
             EXPECT_EQ(t.lighting()->lightModeTable->currentRow(), 0);
             EXPECT_EQ(t.lighting()->currentLightMode(), 1);
         },
         [](SecondGeneration& t) { t.clickMode(5); }, true},
        {"brightness", false, noSetup, [](SecondGeneration& t) { t.key("lightbrightnessSlider", Qt::Key_Left); }, 0,
         [](SecondGeneration& t) { EXPECT_EQ(t.lighting()->lightbrightnessSlider->value(), 15); }, nullptr, true},
        {"speed", false, [](SecondGeneration& t) { t.clickMode(2); },
         [](SecondGeneration& t) { t.key("lightspeedLevel", Qt::Key_Right); }, 0,
         [](SecondGeneration& t) { EXPECT_EQ(t.lighting()->lightspeedLevel->value(), 11); }, nullptr, true},
        {"random colours", false, noSetup, [](SecondGeneration& t) { t.click("lightRandomCheck"); }, 0,
         [](SecondGeneration& t) { EXPECT_TRUE(t.lighting()->lightRandomCheck->isChecked()); }, nullptr, true},
        {"direction", false, [](SecondGeneration& t) { t.clickMode(11); },
         [](SecondGeneration& t) { t.click("lightDirection610"); }, 0,
         [](SecondGeneration& t) {
             EXPECT_FALSE(t.find<QPushButton>("lightDirection610")->isChecked());
             EXPECT_TRUE(t.find<QPushButton>("lightDirection611")->isChecked());
         }, nullptr, true},
        {"colour", false, noSetup, [](SecondGeneration& t) { t.pickColour(QColor(12, 34, 56)); }, 0,
         [](SecondGeneration& t) { EXPECT_EQ(t.capColour("q"), QColor(255, 225, 0)); },
         [](SecondGeneration& t) { t.pickColour(QColor(56, 34, 12)); }, true},
        {"per-key colour", false, escapeFramed, [](SecondGeneration& t) { t.pickColour(Qt::red); }, 0,
         [](SecondGeneration& t) { EXPECT_EQ(t.capColour("escape"), QColor(Qt::black)); },
         [](SecondGeneration& t) { t.pickColour(Qt::green); }, true},
        {"Reset", false,
         [escapeFramed](SecondGeneration& t) {
             escapeFramed(t);
             t.pickColour(Qt::red);
         },
         [](SecondGeneration& t) { t.click("resetAllKeys"); }, 0,
         [](SecondGeneration& t) { EXPECT_EQ(t.capColour("escape"), QColor(Qt::red)); }, nullptr, true},
        {"key Save", true, [](SecondGeneration& t) { t.chooseKey("a", "Disable"); },
         [](SecondGeneration& t) { t.click("customKeySaveButton"); }, 1,
         [](SecondGeneration& t) {
             EXPECT_EQ(t.labels(), (std::vector<std::string>{"A", "Keyboard", "A"}));
             EXPECT_FALSE(t.marked("a"));
             EXPECT_EQ(t.chosenRow(), "Default") << "what is stored, and what the keyboard keeps";
         },
         [](SecondGeneration& t) {
             t.clickRow("Disable");
             t.click("customKeySaveButton");
         }, true},
        {"key Cancel", true,
         [](SecondGeneration& t) {
             t.chooseKey("a", "Disable");
             t.click("customKeySaveButton");
         },
         [](SecondGeneration& t) { t.click("customKeyCancelButton"); }, 1,
         [](SecondGeneration& t) {
             EXPECT_EQ(t.labels(), (std::vector<std::string>{"A", "Disable", "Disable"}));
             EXPECT_TRUE(t.marked("a"));
             EXPECT_EQ(t.chosenRow(), "Disable");
         }, nullptr, true},
        {"layout", true, noSetup, [](SecondGeneration& t) { t.chooseLayout(1); }, 0,
         [](SecondGeneration& t) {
             EXPECT_EQ(t.keys()->keyLayoutSelect->currentIndex(), 0);
             EXPECT_EQ(t.lighting()->radiKBLayoutSelect->currentIndex(), 0);
             EXPECT_EQ(t.keys()->customKeyboardView->keyDataArrayHover().size(), 71u);
         }, nullptr, false},
    };
    // clang-format on
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        open();
        if (!c.keyTab) QTest::mouseClick(editor->RadiRGBBtn, Qt::LeftButton);
        c.setup(*this);
        settle();
        keyboard->clearTransfers();
        const std::vector<std::string> rows = databaseRows(dbPath());
        const uint64_t before = commits();
        {
            WriteLockHolder other(dbPath());
            c.act(*this);
            settle();
            EXPECT_EQ(databaseRows(dbPath()), rows) << "nothing half-kept";
            EXPECT_EQ(commits(), before);
            EXPECT_EQ(uploads(), c.uploads);
            c.shows(*this);
            expectBusyNotice(editor, false);
        }
        keyboard->clearTransfers();
        (c.next ? c.next : c.act)(*this);
        settle();
        EXPECT_GT(commits(), before) << "stored";
        EXPECT_EQ(uploads(), c.sends ? 1u : 0u);
        EXPECT_FALSE(noticeShown(editor));
        if (!c.sends) {
            EXPECT_EQ(keys()->customKeyboardView->keyDataArrayHover().size(), 72u);
        }
        const std::string file = dbPath();
        close();
        std::filesystem::remove(file);
    }
}

}  // namespace
