#include <gtest/gtest.h>

#include <QApplication>
#include <QLineEdit>
#include <QTest>
#include <memory>

#include "Keylogger/KeyState.h"
#include "Keylogger/Keylogger.h"
#include "Keylogger/LocalKeyMonitor.h"
#include "Views/Keyboard/KeyLayout/CurrentDevice.h"
#include "Views/Keyboard/KeyLayout/KeyModels.h"
#include "platform/input/QtKeyEventSource.h"
#include "platform/input/SimulatedKeySource.h"
#include "support/SimulatedKeyCapture.h"

namespace keyloom {
namespace {

using Codes = std::vector<int64_t>;

// The key capture over a simulated keyboard and our windows' key events, the Quorvath 87's key lists current, and a
// window of ours with a line edit in it.
class LocalKeyMonitorTest : public ::testing::Test {
  protected:
    void SetUp() override {
        resetKeyState();
        makeCurrentDevice(*findKeyModel(KeyModelId::Quorvath87));
        test::SimulatedKeyCapture capture = test::startSimulatedKeyCapture(true);
        source = capture.source;
        keylogger = std::move(capture.keylogger);
        keyboard = capture.keyboard;
        window = std::make_unique<QLineEdit>();
        window->show();
        window->activateWindow();
        ASSERT_TRUE(QTest::qWaitForWindowActive(window.get()));
    }
    void TearDown() override {
        window.reset();
        keylogger.reset();
        resetCurrentDevice();
        resetKeyState();
    }
    void key(uint32_t usage, int64_t value) { source->sendValue(keyboard, {0x07, usage, value}); }

    SimulatedKeySource* source = nullptr;
    std::unique_ptr<Keylogger> keylogger;
    uint64_t keyboard = 0;
    std::unique_ptr<QLineEdit> window;
};

// Each recorded change reaches the handler once, with the key already in the lists; releases too.
TEST_F(LocalKeyMonitorTest, HandlerSeesEachRecordedKeyAfterTheCapture) {
    std::vector<std::pair<std::string, Codes>> seen;
    LocalKeyMonitor monitor([&] { seen.emplace_back(lastKeyOperate(), heldKeyCombination()); });
    key(0xE0, 1);  // left control
    key(0x06, 1);  // C
    key(0x05, 1);  // B: a second normal key is not part of the combination
    key(0x06, 0);
    key(0x06, 2);  // neither press nor release: nothing recorded
    const std::vector<std::pair<std::string, Codes>> expected = {
        {"down", {224}}, {"down", {224, 6}}, {"down", {224, 6}}, {"up", {224, 5}}};
    EXPECT_EQ(seen, expected);
}

// Keys typed while none of our windows has the focus belong to another program.
TEST_F(LocalKeyMonitorTest, KeysOutsideOurWindowsAreNotSeen) {
    int calls = 0;
    LocalKeyMonitor monitor([&] { ++calls; });
    window.reset();
    ASSERT_TRUE(QTest::qWaitFor([] { return QGuiApplication::focusWindow() == nullptr; }));
    key(0x04, 1);
    EXPECT_EQ(calls, 0);
    EXPECT_EQ(pressedNormalKey(), Codes{4});  // the capture itself still records it
}

// Our own window's key event: recorded by the capture before the handler reads it, and still delivered to the
// focused widget.
TEST_F(LocalKeyMonitorTest, WindowKeyEventIsRecordedFirstAndNotConsumed) {
    Codes seen;
    LocalKeyMonitor monitor([&] {
        if (lastKeyOperate() == "down") seen = heldKeyCombination();
    });
    QTest::keyPress(window->windowHandle(), Qt::Key_Shift, Qt::NoModifier);
    QTest::keyPress(window->windowHandle(), Qt::Key_X, Qt::ShiftModifier);
    EXPECT_EQ(seen, (Codes{225, 27}));
    QTest::keyRelease(window->windowHandle(), Qt::Key_X, Qt::ShiftModifier);
    QTest::keyRelease(window->windowHandle(), Qt::Key_Shift, Qt::NoModifier);
    EXPECT_EQ(seen, (Codes{225, 27}));
    EXPECT_EQ(window->text(), "x");
}

// Removed when destroyed, also from inside its own handler; the next monitor works on its own.
TEST_F(LocalKeyMonitorTest, DestroyedMonitorIsGone) {
    int calls = 0;
    std::unique_ptr<LocalKeyMonitor> monitor;
    monitor = std::make_unique<LocalKeyMonitor>([&] {
        ++calls;
        monitor.reset();
    });
    key(0x04, 1);
    key(0x04, 0);
    EXPECT_EQ(calls, 1);
    EXPECT_EQ(monitor, nullptr);
    {
        LocalKeyMonitor second([&] { ++calls; });
        key(0x04, 1);
    }
    key(0x04, 0);
    EXPECT_EQ(calls, 2);
}

}  // namespace
}  // namespace keyloom
