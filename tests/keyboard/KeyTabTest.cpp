#include <QLineEdit>
#include <QTimer>
#include <functional>
#include <thread>

#include "AssignmentFixture.h"

using namespace keyloom;
using namespace keyloom::test;

namespace {

using KeyTab = AssignmentFixture;
using Codes = std::vector<int64_t>;

constexpr int kSlotC87 = 66;  // key C of the 87-key keyboard, key profile 0

// "Copy" on key C: the row, the mark, one commit, and the record in both bulk layouts.
TEST_F(KeyTab, CopyOnKeyCInBothBulkLayouts) {
    const struct {
        const char* firmware;
        size_t reports;
        std::vector<Bytes> head;
    } cases[] = {
        {"V1.0", 42, recordHead(kSlotC87, {0x01, 0xE3, 0x01, 0x06, 0x01, 0xE3, 0x80, 0x06, 0x80})},
        {"V1.8.180905", 36, {{5, 0xFF, 0x00, 4, 0x20, 0x01, 0xE3, 0x01}, {5, 0x06, 0x01, 0xE3, 0x80, 0x06, 0x80, 0}}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.firmware);
        auto kb = SimulatedKeyboard::quorvath87();
        kb->setFirmwareVersion(c.firmware);
        reopenFresh(kb);
        clickKey("c");
        EXPECT_EQ(labels(keys()), (std::vector<std::string>{"C", "Keyboard", "C"}));
        EXPECT_EQ(keys()->currentKeyValue, 6);
        EXPECT_EQ(selectedName(keys()), "Default");
        clickNode(keys(), "Mac shortcuts", "Copy");
        const uint32_t before = commits();
        click("customKeySave");
        EXPECT_EQ(commits() - before, 1u);
        EXPECT_EQ(keyRows(), (std::vector<StoredRow>{{6, 8, 1, "Copy", 4}}));
        EXPECT_EQ(labels(keys()), (std::vector<std::string>{"C", "Mac shortcuts", "Copy"}));
        EXPECT_TRUE(keyView("c")->keyCheck());
        const auto reports = outputReports();
        ASSERT_EQ(reports.size(), c.reports);
        EXPECT_EQ(Bytes(reports[0]), c.head[0]);
        EXPECT_EQ(Bytes(reports[1]), c.head[1]);
        EXPECT_TRUE(std::all_of(reports.begin() + 2, reports.end(), [](const Bytes& r) {
            return std::all_of(r.begin() + 2, r.end(), [](uint8_t b) { return b == 0; });
        }));
        EXPECT_EQ(takeAlert(), "");
    }
}

// Each kind of node saved on key C: stored row, mark, labels and the record's head; alerts store and send nothing.
TEST_F(KeyTab, EveryKindOfNodeSaved) {
    using Act = std::function<void(KeyTab&)>;
    const Act disableFirst = [](KeyTab& t) {
        t.clickNode(t.keys(), "Disable");
        t.click("customKeySave");
    };
    const Act leftControlC = [](KeyTab& t) {
        t.key(0xE0, 1);
        t.key(0x06, 1);
        t.key(0x06, 0);
        t.key(0xE0, 0);
    };
    struct Case {
        const char* name;
        Act before;  // after the click on C; not counted
        const char* top;
        const char* leaf;
        Act afterChoice;
        std::vector<StoredRow> rows;
        bool marked;
        std::vector<std::string> labels;
        std::vector<Bytes> head;  // the first two reports; empty: nothing sent
        const char* alert;
    };
    const Case cases[] = {
        {"Default removes the row",
         disableFirst,
         "Default",
         "",
         nullptr,
         {},
         false,
         {"C", "Keyboard", "C"},
         recordHead(kSlotC87, {}),
         ""},
        {"Disable",
         nullptr,
         "Disable",
         "",
         nullptr,
         {{6, 2, 1, "Disable", 0}},
         true,
         {"C", "Disable", "Disable"},
         recordHead(kSlotC87, Bytes(9, 0xFF)),
         ""},
        {"Keyboard function after Left Control + C",
         nullptr,
         "Keyboard function",
         "",
         leftControlC,
         {{6, 3, 224, "Left Control + C", 0}},
         true,
         {"C", "Keyboard function", "Left Control + C"},
         recordHead(kSlotC87, {0x01, 224, 0x01, 6, 0x01, 224, 0x80, 6, 0x80}),
         ""},
        {"Left Click",
         nullptr,
         "Mouse function",
         "Left Click",
         nullptr,
         {{6, 6, 165, "Left Click", 1}},
         true,
         {"C", "Mouse function", "Left Click"},
         recordHead(kSlotC87, {0x01, 0xA5, 0x01, 0xA5, 0x80}),
         ""},
        {"Scroll Down",
         nullptr,
         "Mouse function",
         "Scroll Down",
         nullptr,
         {{6, 6, 168, "Scroll Down", 6}},
         true,
         {"C", "Mouse function", "Scroll Down"},
         recordHead(kSlotC87, {0x01, 0xA8, 0x01, 0xA8, 0x80}),
         ""},
        {"Prev",
         nullptr,
         "Multimedia",
         "Prev",
         nullptr,
         {{6, 7, 1, "Prev", 3}},
         true,
         {"C", "Multi-media", "Prev"},
         recordHead(kSlotC87, {0x01, 0xF1, 0x01, 0xF1, 0x80}),
         ""},
        {"Paste",
         nullptr,
         "Mac shortcuts",
         "Paste",
         nullptr,
         {{6, 8, 1, "Paste", 5}},
         true,
         {"C", "Mac shortcuts", "Paste"},
         recordHead(kSlotC87, {0x01, 0xE3, 0x01, 0x19, 0x01, 0xE3, 0x80, 0x19, 0x80}),
         ""},
        {"Keyboard function with nothing captured",
         nullptr,
         "Keyboard function",
         "",
         nullptr,
         {},
         false,
         {"C", "Keyboard", "C"},
         {},
         "Press a key in your keyboard."},
        {"Macro", nullptr, "Macro", "", nullptr, {}, false, {"C", "Keyboard", "C"}, {}, "Function is being tested."},
        {"a category",
         nullptr,
         "Multimedia",
         "",
         nullptr,
         {},
         false,
         {"C", "Keyboard", "C"},
         {},
         "Please select the next level option."},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        reopenFresh();
        clickKey("c");
        if (c.before) c.before(*this);
        clearSent();
        clickNode(keys(), c.top, c.leaf);
        if (c.afterChoice) c.afterChoice(*this);
        const uint32_t before = commits();
        click("customKeySave");
        EXPECT_EQ(takeAlert(), c.alert);
        EXPECT_EQ(commits() - before, c.alert[0] ? 0u : 1u);
        EXPECT_EQ(keyRows(), c.rows);
        EXPECT_EQ(keyView("c")->keyCheck(), c.marked);
        EXPECT_EQ(labels(keys()), c.labels);
        const auto reports = outputReports();
        if (c.head.empty()) {
            EXPECT_TRUE(reports.empty());
        } else {
            ASSERT_EQ(reports.size(), 42u);
            EXPECT_EQ(reports[0], c.head[0]);
            EXPECT_EQ(reports[1], c.head[1]);
        }
    }
}

// Save and Cancel before a key is chosen, and Save without a selected row.
TEST_F(KeyTab, NothingChosenStoresAndSendsNothing) {
    openEditor();
    for (const char* button : {"customKeySave", "customKeyCancel"}) {
        SCOPED_TRACE(button);
        click(button);
        EXPECT_EQ(takeAlert(), "Press any key on the right keyboard picture.");
    }
    clickKey("c");
    keys()->tree->selectionModel()->clear();
    click("customKeySave");
    EXPECT_EQ(takeAlert(), "");
    EXPECT_TRUE(keyRows().empty());
    EXPECT_TRUE(outputReports().empty());
}

// Cancel gives the key back its default: the row goes, the mark too, "Default" is selected in the collapsed tree.
TEST_F(KeyTab, CancelPutsTheKeyBackToItsDefault) {
    openEditor();
    clickKey("c");
    clickNode(keys(), "Multimedia", "Mute");
    click("customKeySave");
    ASSERT_TRUE(keyView("c")->keyCheck());
    clearSent();
    click("customKeyCancel");
    EXPECT_TRUE(keyRows().empty());
    EXPECT_FALSE(keyView("c")->keyCheck());
    EXPECT_EQ(labels(keys()), (std::vector<std::string>{"C", "Keyboard", "C"}));
    EXPECT_EQ(selectedName(keys()), "Default");
    EXPECT_EQ(numberOfVisibleRows(keys()->tree), 7);
    const auto reports = outputReports();
    ASSERT_EQ(reports.size(), 42u);
    EXPECT_EQ(reports[0], recordHead(kSlotC87, {})[0]);
}

// A click on a key shows its stored choice: the labels, and the choice selected in the tree.
TEST_F(KeyTab, StoredChoiceIsShownAgain) {
    struct Case {
        StoredRow row;
        std::vector<std::string> labels;
        const char* selected;
        int selectedRow;
        int visibleRows;
        bool bindShown;
    };
    const Case cases[] = {
        {{6, 7, 1, "Prev", 3}, {"C", "Multi-media", "Prev"}, "Prev", 8, 14, false},
        {{6, 6, 168, "Scroll Down", 6}, {"C", "Mouse function", "Scroll Down"}, "Scroll Down", 10, 15, false},
        {{6, 2, 1, "Disable", 0}, {"C", "Disable", "Disable"}, "Disable", 1, 7, false},
        {{6, 3, 225, "Left Shift + A", 0},
         {"C", "Keyboard function", "Left Shift + A"},
         "Keyboard function",
         2,
         7,
         true},
        // Shown nowhere in the tree: the collapse took the hidden leaf's selection with it.
        {{6, 4, 1, "recorded", 0}, {"C", "Macro", "recorded"}, "", -1, 7, false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.row.macroDesc);
        reopenFresh();
        clickKey("a");                              // nothing stored: Default
        clickNode(keys(), "Mac shortcuts", "Cut");  // expanded and selected, to be replaced
        storeRow("t_keyprofile", c.row);
        clickKey("c");
        EXPECT_EQ(labels(keys()), c.labels);
        EXPECT_EQ(selectedName(keys()), c.selected);
        EXPECT_EQ(selectedVisibleRow(keys()->tree), c.selectedRow);
        EXPECT_EQ(numberOfVisibleRows(keys()->tree), c.visibleRows);
        EXPECT_EQ(keys()->bindText->isVisible(), c.bindShown);
        if (c.bindShown) {
            EXPECT_EQ(keys()->bindText->text().toStdString(), c.row.macroDesc);
        }
    }
}

// A stored combination shown for one key is this key's: Save without a new capture does not write the combination
// captured for another key under it.
TEST_F(KeyTab, ShownCombinationIsNotReplacedByAnotherKeysCapture) {
    openEditor();
    clickKey("a");
    clickNode(keys(), "Keyboard function");
    key(0xE1, 1);
    key(0x04, 1);
    key(0x04, 0);
    key(0xE1, 0);
    click("customKeySave");
    ASSERT_EQ(keyRows(), (std::vector<StoredRow>{{4, 3, 225, "Left Shift + A", 0}}));
    storeRow("t_keyprofile", {6, 3, 224, "Left Control + C", 0});
    clickKey("c");
    EXPECT_EQ(keys()->bindText->text(), "Left Control + C");
    clearSent();
    click("customKeySave");
    EXPECT_EQ(takeAlert(), "Press a key in your keyboard.");
    EXPECT_EQ(keyRows()[1], (StoredRow{6, 3, 224, "Left Control + C", 0}));
    EXPECT_TRUE(outputReports().empty());
}

// A name the editor's map does not know changes nothing; a store that fails still writes the keyboard, and the screen
// shows what the keyboard has.
TEST_F(KeyTab, UnknownKeyNameAndFailedStore) {
    openEditor();
    clickKey("c");
    NotificationCenter::defaultCenter().post(kCustomKeyAction, std::string("noSuchKey"));
    EXPECT_EQ(keys()->currentKeyValue, 6);
    EXPECT_EQ(labels(keys()), (std::vector<std::string>{"C", "Keyboard", "C"}));

    SQLite::Database other(dbPath(), SQLite::OPEN_READWRITE);
    other.exec("BEGIN EXCLUSIVE");
    clickNode(keys(), "Disable");
    click("customKeySave");
    EXPECT_TRUE(keyView("c")->keyCheck());
    EXPECT_EQ(labels(keys()), (std::vector<std::string>{"C", "Disable", "Disable"}));
    const auto reports = outputReports();
    ASSERT_EQ(reports.size(), 42u);
    EXPECT_EQ(reports[0], recordHead(kSlotC87, Bytes(9, 0xFF))[0]);
    other.exec("ROLLBACK");
    EXPECT_TRUE(keyRows().empty());
}

// Opening marks the keys and knob actions with a stored row; a key put back to its default has none.
TEST_F(KeyTab, OpeningMarksStoredAssignments) {
    openEditor();
    for (const char* name : {"c", "a"}) {
        clickKey(name);
        clickNode(keys(), "Disable");
        click("customKeySave");
    }
    click("customKeyCancel");  // A back to its default
    QTest::mouseClick(find<QPushButton>("CairnolKnobBtn"), Qt::LeftButton);
    clickKnob("knobBackwardButton");
    clickNode(knob(), "Multimedia", "Mute");
    click("knobSave");
    closeEditor();
    keyboard->unplug();

    openEditor();
    EXPECT_TRUE(keyView("c")->keyCheck());
    EXPECT_FALSE(keyView("a")->keyCheck());
    EXPECT_FALSE(keyView("b")->keyCheck());
    const std::vector<QString> images = {"img_knobbutton_normal", "img_knobbutton_normal", "img_knobbutton_normal",
                                         "img_knobbutton_check"};
    for (size_t i = 0; i < 4; ++i) EXPECT_EQ(KnobPanel::imageOf(knob()->knobButtons[i]), images[i]) << i;
    EXPECT_TRUE(outputReports().empty());
}

// A keyboard that takes a millisecond for every report.
class SlowHandle : public HidHandle {
  public:
    explicit SlowHandle(HidHandleRef inner) : inner_(std::move(inner)) {}
    HidPropertyValue property(std::string_view key) const override { return inner_->property(key); }
    int setReport(HidReportType type, int64_t reportId, const uint8_t* bytes, size_t length) override {
        std::this_thread::sleep_for(std::chrono::milliseconds(1));
        return inner_->setReport(type, reportId, bytes, length);
    }
    int getReport(HidReportType type, int64_t reportId, uint8_t* buffer, size_t& length) override {
        return inner_->getReport(type, reportId, buffer, length);
    }
    bool removed() const override { return inner_->removed(); }

  private:
    HidHandleRef inner_;
};

// Quitting right after a Save, the editor open or just closed, lets the record finish: the keyboard never keeps half
// a key record.
TEST_F(KeyTab, QuittingLetsTheLastRecordFinish) {
    for (const bool closed : {false, true}) {
        SCOPED_TRACE(closed ? "closed" : "open");
        keyboard = SimulatedHid::instance().plug(SimulatedKeyboard::quorvath87());
        showKeyboardEditor({std::make_shared<SlowHandle>(keyboard->device()), "Quorvath"});
        window = qobject_cast<KeyboardWindowViewController*>(KEYBOARD_VIEW.data());
        ASSERT_NE(window, nullptr);
        controller = window->contentViewController();
        settle();
        clickKey("c");
        clickNode(keys(), "Disable");
        keyboard->clearTransfers();
        click("customKeySave");  // the record is on its way: 42 reports of a millisecond each
        if (closed) {
            window->close();
            controller = nullptr;
        }
        QTimer::singleShot(0, qApp, &QCoreApplication::quit);
        qApp->exec();
        EXPECT_EQ(keyboard->sentReports(HidReportType::Output).size(), 42u);
        closeEditor();
        keyboard->unplug();
    }
}

}  // namespace
