#include <QCheckBox>
#include <QElapsedTimer>

#include "AccountTestSupport.h"
#include "Customized/PresentCustomAnimator.h"
#include "Helper/LoginEmail.h"
#include "Helper/TextHelpers.h"
#include "Views/Home/FeedbackWindowController.h"
#include "Views/Home/HomeViewController.h"
#include "Views/Home/HomeWindowController.h"
#include "Views/Login/AccountFlow.h"
#include "Views/Login/LoginViewController.h"
#include "Views/Login/LoginWindowController.h"
#include "platform/DataPaths.h"
#include "platform/bluetooth/SimulatedCentral.h"
#include "platform/hid/SimulatedHid.h"
#include "platform/hid/SimulatedKeyboard.h"

namespace keyloom {
namespace {

using namespace test;
using namespace std::chrono_literals;

TEST(Fade, PresentedViewFadesInOverThePresenterAndLeavesOnlyAfterFadingOut) {
    QWidget presenting;
    presenting.resize(300, 200);
    presenting.show();
    QPointer<QWidget> presented = new QWidget;  // owned by `presenting` once presented
    QElapsedTimer clock;
    clock.start();
    presentViewController(&presenting, presented);
    EXPECT_EQ(presentedOpacity(presented), 0.0);
    EXPECT_EQ(presented->parentWidget(), &presenting);
    EXPECT_EQ(presented->geometry(), presenting.rect());
    ASSERT_TRUE(processEventsUntil([&] { return presentedOpacity(presented) == 1.0; }));
    EXPECT_GE(clock.elapsed(), 450);
    presenting.resize(400, 300);
    EXPECT_EQ(presented->geometry(), presenting.rect());

    clock.restart();
    ASSERT_TRUE(dismissViewController(presented));
    EXPECT_FALSE(dismissViewController(&presenting));  // not presented
    processEventsUntil([&] { return presentedOpacity(presented) < 1.0; });
    EXPECT_TRUE(presented && presented->isVisible());  // still there while it fades
    ASSERT_TRUE(processEventsUntil([&] { return !presented; }));
    EXPECT_GE(clock.elapsed(), 450);
}

// The start: the log-in window first; the home window comes at "login", here from the remembered log-in.
class Start : public AccountEnvironment {
  protected:
    Start() {
        SimulatedHid::instance().reset();
        SimulatedHid::instance().setActive(true);
        HomeViewController::centralFactory() = [](std::weak_ptr<CentralDelegate> d) {
            return std::shared_ptr<BluetoothCentral>(SimulatedCentral::create(d, CentralState::unsupported));
        };
    }
    ~Start() override {
        flow.reset();
        SimulatedHid::instance().reset();
        HomeViewController::centralFactory() = nullptr;
    }
    std::unique_ptr<AccountFlow> flow = std::make_unique<AccountFlow>();
};

TEST_F(Start, LogInWindowFirstAndTheRememberedLogInGoesHomeWithoutARequest) {
    const struct {
        bool stored;
        int64_t remember;
        std::string email, psw;
    } cases[] = {{false, 0, "", ""}, {true, 0, "kept@example.org", ""}};
    for (const auto& c : cases) {
        if (c.stored) storeLogin(c.email, "ignored", c.remember);
        flow.reset();  // one flow at a time: each puts back what was registered before it
        flow = std::make_unique<AccountFlow>();
        flow->showLoginWindow();
        LoginWindowController* window = flow->loginWindow();
        ASSERT_TRUE(window && window->isVisible());
        // A title bar with the close button only.
        EXPECT_EQ(window->windowFlags() & (Qt::WindowMinimizeButtonHint | Qt::WindowMaximizeButtonHint |
                                           Qt::WindowCloseButtonHint | Qt::CustomizeWindowHint),
                  Qt::WindowCloseButtonHint | Qt::CustomizeWindowHint);
        LoginViewController* screen = window->contentViewController();
        EXPECT_EQ(text(screen, "loginEmailEdit"), c.email);
        EXPECT_EQ(text(screen, "loginPswEdit"), c.psw);
        EXPECT_FALSE(control<QCheckBox>(screen, "rememberCheck")->isChecked());
        EXPECT_FALSE(flow->homeWindow());
    }

    // Remembered: home at once, no request, the e-mail set; a keyboard's usage report carries it.
    storeLogin("remembered@example.org", md5("password"), 1);
    flow.reset();
    flow = std::make_unique<AccountFlow>();
    flow->showLoginWindow();
    ASSERT_TRUE(processEventsUntil([&] { return flow->homeWindow() && !flow->loginWindow(); }));
    EXPECT_TRUE(flow->homeWindow()->isVisible());
    EXPECT_EQ(loginEmail(), "remembered@example.org");
    EXPECT_TRUE(server.requests().empty());
    {
        // The same from a folder the user made read-only, which stays as it was.
        ReadOnlyFolder readOnly(databaseFolder());
        const std::vector<std::string> before = folderState(databaseFolder());
        setLoginEmail("");
        flow.reset();
        flow = std::make_unique<AccountFlow>();
        flow->showLoginWindow();
        ASSERT_TRUE(processEventsUntil([&] { return flow->homeWindow() && !flow->loginWindow(); }));
        EXPECT_EQ(loginEmail(), "remembered@example.org");
        EXPECT_EQ(folderState(databaseFolder()), before);
    }

    SimulatedHid::instance().plug(SimulatedKeyboard::marrowinv2_71());
    // The report leaves once the arrival has reached the main thread: keep the loop turning.
    ASSERT_TRUE(processEventsUntil([&] { return !server.requests().empty(); }));
    const RecordedRequest report = server.requests().front();
    EXPECT_EQ(report.path, "/software/info");
    EXPECT_EQ(decryptWithTestKey(report.header("token").value_or("")),
              "remembered@example.org#version:1.2.7#velkor marrowin v2#");

    // The same from a full disk, where the write-ahead log's shared memory finds no room.
    FullDiskHome disk;
    SKIP_WITHOUT_FULL_DISK(disk);
    storeLogin("full@example.org", md5("password"), 1);
    disk.fill();
    setLoginEmail("");
    flow.reset();
    flow = std::make_unique<AccountFlow>();
    flow->showLoginWindow();
    EXPECT_TRUE(processEventsUntil([&] { return flow->homeWindow() && !flow->loginWindow(); }));
    EXPECT_EQ(loginEmail(), "full@example.org");
    for (const RecordedRequest& r : server.requests()) EXPECT_NE(r.path, "/user/login");
    flow.reset();  // before its data folder goes
}

TEST_F(Start, OfflineGoesHomeAndFeedbackOpensOnce) {
    flow->showLoginWindow();
    click(flow->loginWindow()->contentViewController(), "offlineButton");
    ASSERT_TRUE(processEventsUntil([&] { return flow->homeWindow() && !flow->loginWindow(); }));
    EXPECT_EQ(loginEmail(), "");
    HomeViewController* home = flow->homeWindow()->contentViewController();
    QPushButton* feedback = home->findChild<QPushButton*>("feedbackButton");
    ASSERT_TRUE(feedback);
    QTest::mouseClick(feedback, Qt::LeftButton);
    FeedbackWindowController* first = home->feedbackWindow();
    ASSERT_TRUE(first && first->isVisible());
    first->close();
    QTest::mouseClick(feedback, Qt::LeftButton);
    EXPECT_EQ(home->feedbackWindow(), first);
    EXPECT_TRUE(first->isVisible());

    // A second start of the program brings the home window back.
    flow->homeWindow()->hide();
    flow->bringToFront();
    EXPECT_TRUE(flow->homeWindow()->isVisible());
}

}  // namespace
}  // namespace keyloom
