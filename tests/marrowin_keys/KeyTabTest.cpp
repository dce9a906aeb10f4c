#include <gtest/gtest.h>

#include <QAbstractButton>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QMessageBox>
#include <QPushButton>
#include <QTest>
#include <QTreeView>

#include "CustomControl/KeyView.h"
#include "CustomControl/KeyboardView.h"
#include "Customized/SegueRegistry.h"
#include "Keylogger/KeyState.h"
#include "Keylogger/Keylogger.h"
#include "SQLite/MarrowinDeviceSQLite.h"
#include "Views/Home/AppState.h"
#include "Views/Keyboard/DataSource/TreeNodeItemModel.h"
#include "Views/Keyboard/KeyLayout/CurrentDevice.h"
#include "Views/Keyboard/KeyLayout/KeyModels.h"
#include "Views/Keyboard/Marrowin/MarrowinKeyCustomView.h"
#include "Views/Keyboard/Marrowin/MarrowinViewController.h"
#include "Views/Keyboard/Marrowin/MarrowinWindowViewController.h"
#include "Views/Keyboard/Marrowin/core/MarrowinEditorContext.h"
#include "marrowin_lighting/LightingTestSupport.h"
#include "platform/hid/SimulatedHidScope.h"
#include "platform/input/SimulatedKeySource.h"
#include "support/PictureClicks.h"
#include "support/SimulatedKeyCapture.h"
#include "support/TestSupport.h"

using namespace keyloom;

namespace {

constexpr const char* kFile = "ostrelpro_device.sqlite3";

// The second-generation key tab on an Ostrel PRO, with key capture over a simulated keyboard whose key lists are
// the Quorvath 87's (what the home screen made current): Delete and the arrows are keys there, not on the Ostrel.
class KeyTab : public ::testing::Test {
  protected:
    void SetUp() override {
        resetCurrentDevice();
        resetKeyState();
        makeCurrentDevice(*findKeyModel(KeyModelId::Quorvath87));
        KEYBOARD_VIEW.clear();
        registerMarrowinEditorSegue();
        test::SimulatedKeyCapture capture = test::startSimulatedKeyCapture(false);
        keys = capture.source;
        keylogger = std::move(capture.keylogger);
        hand = capture.keyboard;
    }

    void TearDown() override {
        closeEditor();
        SegueRegistry::shared().unregisterSegue(QStringLiteral("showmarrowinkb"));
        keylogger.reset();
        resetKeyState();
        resetCurrentDevice();
    }

    void open() {
        keyboard = SimulatedHid::instance().plug(SimulatedKeyboard::ostrel61());
        ASSERT_TRUE(SegueRegistry::shared().perform(QStringLiteral("showmarrowinkb"), nullptr,
                                                    KeyboardSegueSender{keyboard->device(), "Ostrel PRO"}));
        window = qobject_cast<MarrowinWindowViewController*>(KEYBOARD_VIEW.data());
        ASSERT_TRUE(window);
        window->activateWindow();
        ASSERT_TRUE(QTest::qWaitForWindowActive(window));
        editor = window->contentViewController();
        panel = editor->KeyCustomView;
        tree = panel->keycustomTree;
        picture = panel->customKeyboardView;
        ASSERT_TRUE(picture);
        idle();
        keyboard->clearTransfers();  // what opening sent (the lighting) is not this tab's
    }

    void closeEditor() {
        if (!KEYBOARD_VIEW) return;
        QPointer<QWidget> w = KEYBOARD_VIEW;
        w->close();
        test::processEventsUntil([&] { return w.isNull(); });
    }

    void idle() {
        editor->context().waitForExchanges();
        QApplication::processEvents();
    }

    // A key of the simulated keyboard, by its usage, as the user presses (1) or lets go (0).
    void key(uint32_t usage, int64_t value) { keys->sendValue(hand, {0x07, usage, value}); }
    void hold(std::initializer_list<uint32_t> usages) {
        for (uint32_t u : usages) key(u, 1);
    }
    void releaseAll() {
        for (int64_t code : std::vector<int64_t>(pressedFlags())) key(uint32_t(code), 0);
        for (int64_t code : std::vector<int64_t>(pressedNormalKey())) key(uint32_t(code), 0);
    }

    void clickCap(const std::string& name) { test::clickCap(picture, name); }

    // A real click on the row named name; a function's group is opened first, as the user does.
    void clickRow(const QString& name) {
        QAbstractItemModel* model = tree->model();
        QModelIndex found;
        for (int r = 0; r < model->rowCount() && !found.isValid(); ++r) {
            const QModelIndex top = model->index(r, 0);
            if (top.data().toString() == name) found = top;
            for (int c = 0; c < model->rowCount(top) && !found.isValid(); ++c)
                if (model->index(c, 0, top).data().toString() == name) found = model->index(c, 0, top);
        }
        ASSERT_TRUE(found.isValid()) << name.toStdString();
        if (found.parent().isValid()) tree->expand(found.parent());
        tree->scrollTo(found);
        QTest::mouseClick(tree->viewport(), Qt::LeftButton, {}, tree->visualRect(found).center());
    }

    void save() { QTest::mouseClick(panel->customKeySaveBtn, Qt::LeftButton); }
    void cancel() { QTest::mouseClick(panel->customKeyCancelBtn, Qt::LeftButton); }

    bool marked(const std::string& name) const {
        for (const KeyData& cap : picture->keyDataArrayHover())
            if (cap.keyname == name) return picture->keyView(cap.index)->keyCheck();
        return false;
    }

    std::vector<MarrowinKey> rows(int64_t code) {
        std::vector<MarrowinKey> found;
        MarrowinDeviceSQLite(kFile).queryKeyProfile(1, code, found);
        return found;
    }

    // The key table of the one upload the keyboard received since the last clear: bytes 0..639.
    std::vector<uint8_t> uploadedTable() {
        idle();
        const auto reports = keyboard->sentReports(HidReportType::Feature);
        EXPECT_EQ(reports.size(), 13u) << "commands 04 18 and 04 11, ten blocks, command 04 02";
        std::vector<uint8_t> table;
        if (reports.size() != 13) return table;
        EXPECT_EQ(reports[0], command("04 18"));
        EXPECT_EQ(reports[1], command("04 11 00 00 00 00 00 00 0A"));
        EXPECT_EQ(reports[12], command("04 02"));
        for (size_t k = 2; k < 12; ++k) table.insert(table.end(), reports[k].begin(), reports[k].end());
        return table;
    }

    static std::vector<uint8_t> command(const char* head) {
        auto bytes = test::hex(head);
        bytes.resize(64, 0);
        return bytes;
    }

    size_t captures() const { return NotificationCenter::defaultCenter().observerCount(kHeldKeysChanged); }

    test::TempDataHome home;
    SimulatedHidScope simulation;
    SimulatedKeySource* keys = nullptr;
    std::unique_ptr<Keylogger> keylogger;
    uint64_t hand = 0;
    std::shared_ptr<SimulatedKeyboard> keyboard;
    MarrowinWindowViewController* window = nullptr;
    MarrowinViewController* editor = nullptr;
    MarrowinKeyCustomView* panel = nullptr;
    QTreeView* tree = nullptr;
    KeyboardView* picture = nullptr;
};

// Holding keys while "Keyboard function" is chosen: the field follows the key presses, never the releases.
TEST_F(KeyTab, CaptureFollowsThePressedKeys) {
    open();
    clickCap("q");
    clickRow("Keyboard function");
    ASSERT_TRUE(panel->keycustomText->isVisible());
    const struct {
        const char* what;
        std::vector<uint32_t> usages;
        QString text;
        std::string codes;
    } cases[] = {
        {"Left Control then C", {0xE0, 0x06}, "Left Control + C", "224,6"},
        {"two letters keep the first", {0x04, 0x05}, "A", "4"},
        {"three keys", {0xE0, 0xE1, 0x06}, "Left Control + Left Shift + C", "224,225,6"},
        {"Left Shift alone", {0xE1}, "Left Shift", "225"},
        {"Delete on an Ostrel is ignored", {0x4C}, "", ""},
        {"Delete, then C", {0x4C, 0x06}, "C", "6"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        for (uint32_t u : c.usages) key(u, 1);
        EXPECT_EQ(panel->keycustomText->text(), c.text);
        EXPECT_EQ(panel->currentModifyKeysStr, c.codes);
        releaseAll();  // releases change nothing
        EXPECT_EQ(panel->keycustomText->text(), c.text);
        EXPECT_EQ(panel->currentModifyKeysStr, c.codes);
    }
    EXPECT_TRUE(keyboard->transfers().empty()) << "capturing sends nothing";
}

// Each function saved on an Ostrel key: the stored row, the labels, the mark, and the slot the keyboard receives at
// 4 x layout_index.
TEST_F(KeyTab, SlotBytesOfEveryKindOfFunction) {
    open();
    const struct {
        const char* cap;
        int64_t code;
        size_t offset;
        QString row;
        std::vector<uint32_t> held;
        int64_t type, value, value2;
        QString function, macro;
        std::string slot;
    } cases[] = {
        {"a", 4, 224, "Disable", {}, 2, 1, 0, "Disable", "Disable", "05 03 00 00"},
        {"fn", 255, 392, "Scroll Down", {}, 6, 6, 0, "Mouse function", "Scroll Down", "01 03 FF 00"},
        {"menu", 101, 384, "Mute", {}, 7, 7, 0, "Multi-media", "Mute", "03 E2 00 00"},
        {"escape", 41, 4, "Copy", {}, 8, 4, 0, "Mac shortcuts", "Copy", "02 08 06 00"},
        {"i1", 30, 80, "Brightness_decrement", {}, 8, 1, 0, "Mac shortcuts", "Brightness_decrement", "02 00 47 00"},
        {"w",
         26,
         156,
         "Keyboard function",
         {0xE0, 0x06},
         3,
         6,
         224,
         "Keyboard function",
         "Left Control + C",
         "02 01 06 00"},
        {"e", 8, 160, "Keyboard function", {0xE1}, 3, 225, 0, "Keyboard function", "Left Shift", "02 02 00 00"},
        {"r",
         21,
         164,
         "Keyboard function",
         {0xE0, 0xE1},
         3,
         225,
         224,
         "Keyboard function",
         "Left Control + Left Shift",
         "02 03 00 00"},
        {"t",
         23,
         168,
         "Keyboard function",
         {0xE0, 0xE1, 0x06},
         3,
         6,
         224,
         "Keyboard function",
         "Left Control + Left Shift + C",
         "02 03 06 00"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.cap);
        keyboard->clearTransfers();
        clickCap(c.cap);
        clickRow(c.row);
        for (uint32_t u : c.held) key(u, 1);
        releaseAll();
        save();
        const auto stored = rows(c.code);
        ASSERT_EQ(stored.size(), 1u);
        EXPECT_EQ(stored[0].macroType, c.type);
        EXPECT_EQ(stored[0].macroValue, c.value);
        EXPECT_EQ(stored[0].macro2Value, c.value2);
        EXPECT_EQ(QString::fromStdString(stored[0].macroDesc), c.macro);
        EXPECT_EQ(panel->keyFunctionText->text(), c.function);
        EXPECT_EQ(panel->keyMacroText->text(), c.macro);
        EXPECT_TRUE(marked(c.cap));
        const auto table = uploadedTable();
        ASSERT_EQ(table.size(), 640u);
        EXPECT_EQ(test::bytesAt(table, c.offset, 4), test::hex(c.slot));
        EXPECT_EQ(test::bytesAt(table, 638, 2), test::hex("AA 55"));
    }
    // Default removes the row and zeroes the slot; the cap shows its own name, unmarked.
    keyboard->clearTransfers();
    clickCap("a");
    clickRow("Default");
    save();
    EXPECT_TRUE(rows(4).empty());
    EXPECT_FALSE(marked("a"));
    EXPECT_EQ(panel->keyFunctionText->text(), "Keyboard");
    EXPECT_EQ(panel->keyMacroText->text(), "A");
    const auto table = uploadedTable();
    ASSERT_EQ(table.size(), 640u);
    EXPECT_EQ(test::bytesAt(table, 224, 4), test::hex("00 00 00 00"));
    EXPECT_EQ(test::bytesAt(table, 392, 4), test::hex("01 03 FF 00")) << "the others stay";
    for (int r = 0; r < tree->model()->rowCount(); ++r) EXPECT_FALSE(tree->isExpanded(tree->model()->index(r, 0)));
}

// Cancel puts the key back, uploads, and chooses "Default" with the field hidden and the capture stopped.
TEST_F(KeyTab, CancelStoresTheDefaultAndUploads) {
    open();
    clickCap("w");
    clickRow("Keyboard function");
    hold({0xE0, 0x06});
    releaseAll();
    save();
    ASSERT_TRUE(marked("w"));
    ASSERT_EQ(captures(), 1u);
    idle();
    keyboard->clearTransfers();

    cancel();
    EXPECT_TRUE(rows(26).empty());
    EXPECT_FALSE(marked("w"));
    EXPECT_EQ(panel->keyFunctionText->text(), "Keyboard");
    EXPECT_EQ(panel->keyMacroText->text(), "W");
    EXPECT_EQ(selectedVisibleRow(tree), 0);
    EXPECT_FALSE(panel->keycustomText->isVisible());
    EXPECT_EQ(captures(), 0u);
    const auto table = uploadedTable();
    ASSERT_EQ(table.size(), 640u);
    EXPECT_EQ(test::bytesAt(table, 156, 4), test::hex("00 00 00 00"));

    // Keys held now change nothing.
    hold({0x04});
    EXPECT_EQ(panel->keycustomText->text(), "Left Control + C");
    releaseAll();

    // Without a key: nothing stored or sent, "Default" chosen.
    closeEditor();
    keyboard->clearTransfers();
    open();
    clickRow("Mute");
    cancel();
    idle();
    EXPECT_TRUE(keyboard->transfers().empty());
    EXPECT_EQ(selectedVisibleRow(tree), 0);
}

// The four alerts, and Save with no row; none stores or sends anything.
TEST_F(KeyTab, AlertsAndNothingDone) {
    {
        MarrowinDeviceSQLite db(kFile);
        MarrowinKey stored;
        stored.profId = 1;
        stored.keyValue = 22;  // s: Left Control + C stored earlier
        stored.macroType = 3;
        stored.macroValue = 6;
        stored.macro2Value = 224;
        stored.macroDesc = "Left Control + C";
        ASSERT_GT(db.addKeyProfile(stored), 0);
    }
    open();
    const struct {
        const char* what;
        std::function<void()> setUp;
        QString text;  // empty: no alert
    } cases[] = {
        {"Save with no key", [] {}, "Press any key on the right keyboard picture."},
        {"Keyboard function with nothing held",
         [&] {
             clickCap("q");
             clickRow("Keyboard function");
         },
         "Press a key in your keyboard."},
        {"a key that shows its stored combination: the previous key's capture is gone",
         [&] {
             clickCap("q");
             clickRow("Keyboard function");
             hold({0xE0, 0x05});
             releaseAll();
             clickCap("s");
             ASSERT_EQ(panel->keycustomText->text(), "Left Control + C");
         },
         "Press a key in your keyboard."},
        {"Macro",
         [&] {
             clickCap("q");
             clickRow("Macro");
         },
         "Function is being tested."},
        {"a group",
         [&] {
             clickCap("q");
             clickRow("Multimedia");
         },
         "Please select the next level option."},
        {"no row",
         [&] {
             clickCap("q");
             tree->selectionModel()->clearSelection();
         },
         ""},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        keyboard->clearTransfers();
        c.setUp();
        save();
        if (c.text.isEmpty()) {
            EXPECT_FALSE(panel->alertSheet);
        } else {
            QMessageBox* box = panel->alertSheet;
            ASSERT_TRUE(box);
            EXPECT_TRUE(box->isVisible());
            EXPECT_EQ(box->windowModality(), Qt::WindowModal);
            EXPECT_EQ(box->icon(), QMessageBox::Warning);
            EXPECT_EQ(box->text(), "Key Assignment");
            EXPECT_EQ(box->informativeText(), c.text);
            EXPECT_EQ(box->buttons().size(), 1);
            EXPECT_EQ(box->buttons().front()->text().remove('&'), "OK");
            QPointer<QMessageBox> closing = box;
            box->buttons().front()->click();
            ASSERT_TRUE(test::processEventsUntil([&] { return closing.isNull(); }));
        }
        idle();
        EXPECT_TRUE(keyboard->transfers().empty());
        EXPECT_TRUE(rows(20).empty());
        EXPECT_EQ(rows(22).size(), 1u);
    }
}

// The capture reads keys only while the editor is the active window; it is installed once and leaves with the
// editor. No control takes keyboard focus, so held keys cannot move the tree.
TEST_F(KeyTab, CaptureOnlyInTheActiveEditorAndRemovedWithIt) {
    {
        MarrowinDeviceSQLite db(kFile);
        for (int64_t code : {22, 7}) {
            MarrowinKey stored;
            stored.profId = 1;
            stored.keyValue = code;
            stored.macroType = 3;
            stored.macroValue = 4;
            stored.macroDesc = "A";
            ASSERT_GT(db.addKeyProfile(stored), 0);
        }
    }
    open();
    clickCap("s");  // a stored combination: "Keyboard function" is chosen and the capture runs
    ASSERT_TRUE(panel->keycustomText->isVisible());
    panel->startLocalEventMoniter();
    EXPECT_EQ(captures(), 1u);

    QWidget other;
    other.show();
    other.activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(&other));
    hold({0xE0});
    EXPECT_EQ(panel->keycustomText->text(), "A") << "keys typed elsewhere";
    releaseAll();
    window->activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(window));
    hold({0xE0});
    EXPECT_EQ(panel->keycustomText->text(), "Left Control");
    releaseAll();

    QList<QWidget*> controls = panel->findChildren<QWidget*>();
    controls << editor->KeyCustomBtn << editor->RadiRGBBtn;
    for (QWidget* w : controls) {
        if (qobject_cast<QAbstractButton*>(w) || qobject_cast<QComboBox*>(w) || qobject_cast<QTreeView*>(w) ||
            qobject_cast<QLineEdit*>(w)) {
            EXPECT_EQ(w->focusPolicy(), Qt::NoFocus) << w->objectName().toStdString();
        }
    }
    clickRow("Keyboard function");  // a click on the tree gives it no focus either
    EXPECT_NE(QApplication::focusWidget(), tree);
    const int row = selectedVisibleRow(tree);
    QWidget* target = QApplication::focusWidget() ? QApplication::focusWidget() : window;
    QTest::keyClick(target, Qt::Key_Down);
    QTest::keyClick(target, Qt::Key_M);
    EXPECT_EQ(selectedVisibleRow(tree), row);

    closeEditor();
    EXPECT_EQ(captures(), 0u);
}

// Without the profile database nothing is stored and nothing is sent: an empty table would erase every key.
TEST_F(KeyTab, NothingSentWithoutTheDatabase) {
    testing::internal::CaptureStdout();
    test::breakStore(test::Broken::NoConnection, kFile);
    open();
    testing::internal::GetCapturedStdout();
    clickCap("a");
    clickRow("Disable");
    save();
    cancel();
    idle();
    EXPECT_TRUE(keyboard->transfers().empty());
    EXPECT_EQ(panel->keyFunctionText->text(), "Keyboard");
    EXPECT_FALSE(marked("a"));
}

}  // namespace
