#include <gtest/gtest.h>

#include <QAction>
#include <QCoreApplication>
#include <QElapsedTimer>
#include <QMenu>
#include <QMessageBox>
#include <QTimer>
#include <QWindow>
#include <string>
#include <vector>

#include "AppDelegate.h"
#include "Keylogger/Keylogger.h"
#include "Views/Home/HomeWindowController.h"
#include "support/TestSupport.h"

using namespace keyloom;
using namespace std::chrono_literals;

namespace {

// Key capture without devices, so the start-up does not touch the machine's keyboards.
void useQuietKeylogger() {
    AppDelegate::setKeylogger(std::make_unique<Keylogger>(
        std::make_unique<KeyCaptureManager>(std::vector<std::unique_ptr<KeyInputSource>>{})));
}

}  // namespace

// Untrusted: one prompt at launch, then "ACCESS_ENABLEDfalse" each tick until access is given; the tick that finds
// it prints "ACCESS_ENABLEDtrue" and the closing line and stops the watch.
TEST(AppDelegate, PrivilegeWatchPrintsUntilTrusted) {
    useQuietKeylogger();
    bool trusted = false;
    int prompts = 0;
    AppDelegate delegate([&](bool prompt) {
        if (prompt && !trusted) ++prompts;
        return trusted;
    });
    test::QuietStdout quiet;
    delegate.applicationDidFinishLaunching();
    delegate.privilegeTimer().setInterval(5);
    test::processEventsFor(30ms);
    trusted = true;
    EXPECT_TRUE(test::processEventsUntil([&] { return !delegate.privilegeTimer().isActive(); }));
    const std::string out = quiet.finish();

    EXPECT_EQ(prompts, 1);
    EXPECT_EQ(out.rfind("startPrivilegeMonitor\n", 0), 0u) << out;
    EXPECT_NE(out.find("ACCESS_ENABLEDfalse\n"), std::string::npos);
    const std::string tail = "ACCESS_ENABLEDtrue\n有权限,开启键盘事件监控\n";
    ASSERT_GE(out.size(), tail.size());
    EXPECT_EQ(out.substr(out.size() - tail.size()), tail) << out;
    EXPECT_EQ(out.find("ACCESS_ENABLEDtrue"), out.rfind("ACCESS_ENABLEDtrue"));  // stops after the first true
    EXPECT_TRUE(AppDelegate::keylogger().manager->scheduled());
}

TEST(AppDelegate, QuitItemEndsTheEventLoop) {
    useQuietKeylogger();
    AppDelegate delegate([](bool) { return true; });
    testing::internal::CaptureStdout();
    delegate.applicationDidFinishLaunching();
    testing::internal::GetCapturedStdout();
    ASSERT_NE(delegate.quickQuit(), nullptr);
    bool quit = false;
    QObject scope;  // ends the connection with the test: later tests quit the loop too
    QObject::connect(qApp, &QCoreApplication::aboutToQuit, &scope, [&] { quit = true; });
    QTimer::singleShot(0, delegate.quickQuit(), &QAction::trigger);
    QCoreApplication::exec();  // returns once the item has quit the loop
    EXPECT_TRUE(quit);
}

// The access prompt, asked for at start before the home window shows, comes up above it as part of it; closing the
// home window then ends the event loop as it does without the prompt.
TEST(AppDelegate, AccessPromptBelongsToTheHomeWindow) {
    useQuietKeylogger();
    AppDelegate* self = nullptr;
    AppDelegate delegate([&](bool prompt) {
        if (prompt) self->requestTrustPrompt();
        return false;
    });
    self = &delegate;
    HomeWindowController window;
    delegate.setMainWindow(&window);
    test::QuietStdout quiet;
    delegate.applicationDidFinishLaunching();
    window.show();
    ASSERT_TRUE(
        test::processEventsUntil([&] { return delegate.trustPrompt() && delegate.trustPrompt()->isVisible(); }));
    quiet.finish();
    QMessageBox* prompt = delegate.trustPrompt();
    EXPECT_EQ(prompt->parentWidget(), &window);
    ASSERT_TRUE(prompt->windowHandle());
    EXPECT_EQ(prompt->windowHandle()->transientParent(), window.windowHandle());
    EXPECT_FALSE(prompt->isModal());
    // It goes along when the program's window changes (the log-in window gives way to the home window).
    QWidget loginWindow;
    loginWindow.show();
    delegate.setMainWindow(&loginWindow);
    EXPECT_EQ(prompt->parentWidget(), &loginWindow);
    EXPECT_TRUE(prompt->isVisible());
    delegate.setMainWindow(&window);
    loginWindow.close();
    EXPECT_EQ(prompt->parentWidget(), &window);
    EXPECT_TRUE(prompt->isVisible());

    QTimer::singleShot(0, &window, &QWidget::close);
    QTimer stuck;  // ends the loop with another code if closing the window does not
    stuck.setSingleShot(true);
    QObject::connect(&stuck, &QTimer::timeout, [] { QCoreApplication::exit(1); });
    stuck.start(5000);
    EXPECT_EQ(QCoreApplication::exec(), 0);
}

// The prompt waits for the main window's first paint, whichever window that turns out to be (a log-in window that
// gives way before it painted hands the wait on), and without any paint for the fallback delay only.
TEST(AppDelegate, AccessPromptWaitsForTheFirstPaint) {
    struct Case {
        const char* name;
        bool firstShown;    // the first main window is shown (else it never paints)
        bool secondWindow;  // a second main window takes over and is shown
        int fallbackMs;
    } const cases[] = {
        {"the window paints", true, false, 60000},
        {"the window in front changes before it paints", false, true, 60000},
        {"nothing paints", false, false, 150},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        useQuietKeylogger();
        AppDelegate* self = nullptr;
        AppDelegate delegate([&](bool prompt) {
            if (prompt) self->requestTrustPrompt();
            return false;
        });
        self = &delegate;
        delegate.firstPaintFallback().setInterval(c.fallbackMs);
        QWidget first;
        QWidget second;
        for (QWidget* w : {&first, &second}) w->resize(200, 100);
        QWidget* expectedParent = c.secondWindow ? &second : &first;

        // The order in which the windows painted and the prompt showed.
        std::vector<std::string> order;
        struct Recorder : QObject {
            std::function<void(QObject*, QEvent*)> seen;
            bool eventFilter(QObject* o, QEvent* e) override {
                seen(o, e);
                return false;
            }
        } recorder;
        recorder.seen = [&](QObject* o, QEvent* e) {
            if (!o->isWidgetType()) return;
            auto* w = static_cast<QWidget*>(o);
            if (e->type() == QEvent::Paint && (w == &first || w == &second))
                order.push_back(w == &first ? "first painted" : "second painted");
            if (e->type() == QEvent::Show && qobject_cast<QMessageBox*>(w)) order.push_back("prompt");
        };
        qApp->installEventFilter(&recorder);

        QElapsedTimer clock;
        clock.start();
        delegate.setMainWindow(&first);
        test::QuietStdout quiet;
        delegate.applicationDidFinishLaunching();
        if (c.firstShown) first.show();
        if (c.secondWindow) {
            test::processEventsFor(20ms);  // the first window stays unpainted meanwhile
            EXPECT_EQ(delegate.trustPrompt(), nullptr);
            delegate.setMainWindow(&second);
            second.show();
        }
        EXPECT_TRUE(
            test::processEventsUntil([&] { return delegate.trustPrompt() && delegate.trustPrompt()->isVisible(); }));
        quiet.finish();
        qApp->removeEventFilter(&recorder);

        ASSERT_NE(delegate.trustPrompt(), nullptr);
        EXPECT_EQ(delegate.trustPrompt()->parentWidget(), expectedParent);
        ASSERT_FALSE(order.empty());
        EXPECT_EQ(order.back(), "prompt");
        const std::string cameFirst = c.firstShown ? "first painted" : c.secondWindow ? "second painted" : "prompt";
        EXPECT_EQ(order.front(), cameFirst);
        if (cameFirst == "prompt") {
            EXPECT_GE(clock.elapsed(), c.fallbackMs * 9 / 10);  // a coarse timer may fire up to 5 % early
        }
        delete delegate.trustPrompt();
    }
}
