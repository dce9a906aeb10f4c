#include <QLineEdit>

#include "AssignmentFixture.h"

using namespace keyloom;
using namespace keyloom::test;

namespace {

using Codes = std::vector<int64_t>;

class Capture : public AssignmentFixture {
  public:
    void captureOnKeyTab() {
        openEditor();
        clickKey("c");
        clickNode(keys(), "Keyboard function");
        ASSERT_TRUE(keys()->bindText->isVisible());
    }
    size_t monitors() const { return NotificationCenter::defaultCenter().observerCount(kHeldKeysChanged); }
    Codes captured() const { return keys()->capture().currentModifyKeys; }
};

// Counts the key presses a widget receives.
class KeySpy : public QObject {
  public:
    std::vector<int> presses;
    bool eventFilter(QObject*, QEvent* e) override {
        if (e->type() == QEvent::KeyPress) presses.push_back(static_cast<QKeyEvent*>(e)->key());
        return false;
    }
};

// Held keys of the simulated keyboard, step by step: what the bind field shows and the codes kept.
TEST_F(Capture, CombinationFollowsTheHeldKeys) {
    struct Step {
        uint32_t usage;
        int64_t value;
        const char* text;  // shown after the step
    };
    struct Case {
        const char* name;
        std::vector<Step> steps;
        Codes codes;
        const char* codesText;
    };
    const Case cases[] = {
        {"Left Control then C", {{0xE0, 1, "Left Control"}, {0x06, 1, "Left Control + C"}}, {224, 6}, "224,6"},
        {"C alone", {{0x06, 1, "C"}}, {6}, "6"},
        {"A held, then B", {{0x04, 1, "A"}, {0x05, 1, "A"}}, {4}, "4"},
        {"Left Shift then Left Control",
         {{0xE1, 1, "Left Shift"}, {0xE0, 1, "Left Shift + Left Control"}},
         {225, 224},
         "225,224"},
        {"releases keep the combination",
         {{0xE0, 1, "Left Control"},
          {0x06, 1, "Left Control + C"},
          {0x06, 0, "Left Control + C"},
          {0xE0, 0, "Left Control + C"}},
         {224, 6},
         "224,6"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        captureOnKeyTab();
        for (const Step& s : c.steps) {
            key(s.usage, s.value);
            EXPECT_EQ(keys()->bindText->text().toStdString(), s.text);
        }
        EXPECT_EQ(captured(), c.codes);
        EXPECT_EQ(keys()->capture().currentModifyKeysStr, c.codesText);
        for (const Step& s : c.steps) key(s.usage, 0);
        closeEditor();
        keyboard->unplug();
    }
}

// Keys typed into our window: recorded by the key capture first, shown, and still delivered to the focused widget.
TEST_F(Capture, WindowKeyEventsAreCapturedAndStillDelivered) {
    captureOnKeyTab();
    QWidget* focused = QApplication::focusWidget();
    ASSERT_EQ(focused, keys()->bindText) << "the tree's type-ahead would take the keys";
    KeySpy spy;
    focused->installEventFilter(&spy);
    // QTest presses Shift first, then D, and lets go in reverse order.
    QTest::keyPress(window->windowHandle(), Qt::Key_D, Qt::ShiftModifier);
    EXPECT_EQ(keys()->bindText->text(), "Left Shift + D");
    QTest::keyRelease(window->windowHandle(), Qt::Key_D, Qt::ShiftModifier);
    EXPECT_EQ(spy.presses, (std::vector<int>{Qt::Key_Shift, Qt::Key_D}));
    EXPECT_EQ(captured(), (Codes{225, 7}));
    EXPECT_EQ(selectedName(keys()), "Keyboard function");
    click("customKeySave");
    EXPECT_EQ(keyRows(), (std::vector<StoredRow>{{6, 3, 225, "Left Shift + D", 0}}));
}

// Another node removes the monitor; closing the editor removes it too.
TEST_F(Capture, MonitorStopsWithAnotherNodeAndWithTheWindow) {
    captureOnKeyTab();
    EXPECT_TRUE(keys()->capture().running());
    EXPECT_EQ(monitors(), 1u);
    key(0x04, 1);
    key(0x04, 0);
    clickNode(keys(), "Disable");
    EXPECT_FALSE(keys()->capture().running());
    EXPECT_EQ(monitors(), 0u);
    EXPECT_FALSE(keys()->bindText->isVisible());
    key(0x05, 1);
    EXPECT_EQ(keys()->bindText->text(), "A");
    EXPECT_EQ(captured(), Codes{4});
    key(0x05, 0);

    clickNode(keys(), "Keyboard function");
    EXPECT_EQ(monitors(), 1u);
    closeEditor();
    EXPECT_EQ(monitors(), 0u);
}

// Only the tab that captures takes keys, and only while it is shown; the two tabs share one monitor.
TEST_F(Capture, OnlyTheCapturingTabWhileShown) {
    captureOnKeyTab();
    key(0x04, 1);
    key(0x04, 0);
    QTest::mouseClick(find<QPushButton>("SettingsBtn"), Qt::LeftButton);
    QLineEdit* sleep = find<QLineEdit>("usbSleepTime");
    sleep->setFocus();
    QTest::keyClick(window->windowHandle(), Qt::Key_End);
    QTest::keyClick(window->windowHandle(), Qt::Key_5);
    EXPECT_EQ(sleep->text(), "3005");
    EXPECT_EQ(captured(), Codes{4});
    EXPECT_EQ(keys()->bindText->text(), "A");

    QTest::mouseClick(find<QPushButton>("CairnolKnobBtn"), Qt::LeftButton);
    clickKnob("knobForwardButton");
    clickNode(knob(), "Keyboard function");
    EXPECT_EQ(monitors(), 1u);
    key(0xE2, 1);  // left alt
    key(0x1E, 1);  // 1
    EXPECT_EQ(knob()->bindText->text(), "Option + 1");
    EXPECT_EQ(keys()->bindText->text(), "A");
    click("knobSave");
    key(0x1E, 0);
    key(0xE2, 0);
    EXPECT_EQ(knobRows(), (std::vector<StoredRow>{{252, 3, 226, "Option + 1", 0}}));
    const auto reports = outputReports();
    ASSERT_EQ(reports.size(), 42u);
    EXPECT_EQ(reports[0], recordHead(89, {0x01, 0xE2, 0x01, 0x1E, 0x01, 0xE2, 0x80, 0x1E, 0x80})[0]);

    // Back on the key tab its capture goes on.
    QTest::mouseClick(find<QPushButton>("KeyCustomBtn"), Qt::LeftButton);
    key(0x05, 1);
    EXPECT_EQ(keys()->bindText->text(), "B");
    EXPECT_EQ(knob()->bindText->text(), "Option + 1");
    key(0x05, 0);
}

}  // namespace
