#include <QCheckBox>

#include "AccountTestSupport.h"
#include "Customized/PresentCustomAnimator.h"
#include "Customized/SegueRegistry.h"
#include "Helper/LoginEmail.h"
#include "Helper/TextHelpers.h"
#include "Views/Login/AccountSegues.h"
#include "Views/Login/ForgotPasswordViewController.h"
#include "Views/Login/LoginViewController.h"
#include "Views/Login/LoginWindowController.h"
#include "Views/Login/ResetPasswordViewController.h"
#include "Views/Login/SignupViewController.h"
#include "platform/DataPaths.h"
#include "support/WriteLockHolder.h"

namespace keyloom {
namespace {

using namespace test;
using namespace std::chrono_literals;

const std::string kEmail = "user.name+x@mail-host.example.com";
const std::string kNeither = "neither word";

// n characters of "e" with a combining acute: three bytes and two code points each.
std::string accented(int n) {
    std::string s;
    for (int i = 0; i < n; ++i) s += "e\xCC\x81";
    return s;
}

// The account screens with their real transitions between them; "login" only counts here. Every request is held
// at the server until the test answers it.
class AccountScreens : public AccountEnvironment {
  protected:
    AccountScreens() { server.holdAnswers(true); }

    LoginViewController* openLogin() {
        window = std::make_unique<LoginWindowController>();
        window->show();
        return window->contentViewController();
    }
    // The screen of type T presented over `under`, once it is there.
    template <class T>
    static T* presentedOver(QWidget* under) {
        T* screen = nullptr;
        EXPECT_TRUE(processEventsUntil([&] {
            screen = under->findChild<T*>(QString(), Qt::FindDirectChildrenOnly);
            return screen && screen->isVisible();
        }));
        return screen;
    }
    // The alert the screen shows ("" when none), closed again.
    static std::string alertShown(AccountViewController* screen) {
        const std::string shown = alertOf(screen->alertSheet());
        if (screen->alertSheet()) screen->alertSheet()->close();
        return shown;
    }
    // Presses the button; the alert it gives, or "sent:" and the decrypted request it sends.
    std::string act(AccountViewController* screen, const char* button) {
        const size_t before = server.requests().size();
        click(screen, button);
        if (screen->waitsForAnswer()) return "sent:" + decryptedBody(before);
        EXPECT_EQ(server.requests().size(), before);
        return alertShown(screen);
    }
    // Answers the oldest held request with `body`, then returns the alert the screen shows.
    std::string answer(AccountViewController* screen, const std::string& path, const std::string& body) {
        untilAnswered([&] { releaseNext(path, body); });
        return alertShown(screen);
    }
    void releaseNext(const std::string& path, const std::string& body) {
        server.setAnswer(path, {200, body});
        ASSERT_TRUE(server.waitForRequests(answered + 1));
        server.release(answered++);
    }

    AccountSegues segues;
    int logins = 0;
    ScopedSegue login{QStringLiteral("login"), [this](QWidget*, const std::any&) { ++logins; }};
    std::unique_ptr<LoginWindowController> window;
    size_t answered = 0;  // held requests released so far, in arrival order
};

TEST_F(AccountScreens, LogInChecksComeInOrderAndLengthsAreCharacters) {
    LoginViewController* screen = openLogin();
    const struct {
        std::string email, psw, expected;
    } cases[] = {
        {"not an email", "", "SIGN IN/Email is invalid, please re-enter."},
        {kEmail, "", "SIGN IN/Password is invalid, please re-enter."},
        {kEmail, "1234567", "SIGN IN/Password is invalid, please re-enter."},
        {kEmail, accented(7), "SIGN IN/Password is invalid, please re-enter."},
        {kEmail, accented(8), "sent:" + kEmail + "#" + upperMd5(accented(8))},
        // A typed password of 32 characters is a password like any other.
        {kEmail, std::string(32, 'a'), "sent:" + kEmail + "#" + upperMd5(std::string(32, 'a'))},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.psw);
        fill(screen, "loginEmailEdit", c.email);
        fill(screen, "loginPswEdit", c.psw);
        EXPECT_EQ(act(screen, "loginButton"), c.expected);
        if (!screen->waitsForAnswer()) continue;
        EXPECT_FALSE(control<QPushButton>(screen, "loginButton")->isEnabled());
        EXPECT_EQ(loginEmail(), kEmail);  // at once, before any answer
        EXPECT_EQ(answer(screen, "/user/login", kNeither), "");
        EXPECT_TRUE(control<QPushButton>(screen, "loginButton")->isEnabled());
    }
    EXPECT_EQ(logins, 0);
    EXPECT_EQ(storedLogin(), LoginData{});
}

// Each answer's verdict; on success the row holds what was sent, even when the fields changed meanwhile.
TEST_F(AccountScreens, LogInAnswersAreClassifiedAndSuccessStoresWhatWasSent) {
    LoginViewController* screen = openLogin();
    const struct {
        std::string answer;  // "": the server cannot be reached
        bool remember;
        std::string alert;
        bool moves;
    } cases[] = {
        {"true", true, "", true},
        {"xx true yy false", false, "", true},
        {"false", true, "SIGN IN/Email error or network error.", false},
        {"True", true, "", false},
        {"", true, "SIGN IN/Email error or network error.", false},
    };
    int expectedLogins = 0;
    for (const auto& c : cases) {
        SCOPED_TRACE(c.answer);
        storeLogin("before@example.org", "", 0);
        if (c.answer.empty()) setenv("KEYLOOM_SERVER_URL", "", 1);
        const std::string psw = "pass word " + c.answer;
        fill(screen, "loginEmailEdit", kEmail);
        fill(screen, "loginPswEdit", psw);
        control<QCheckBox>(screen, "rememberCheck")->setChecked(c.remember);
        std::string alert;
        if (c.answer.empty()) {
            untilAnswered([&] { click(screen, "loginButton"); });
            alert = alertShown(screen);
        } else {
            click(screen, "loginButton");
            ASSERT_TRUE(screen->waitsForAnswer());
            fill(screen, "loginEmailEdit", "changed@example.org");
            fill(screen, "loginPswEdit", "changed password");
            alert = answer(screen, "/user/login", c.answer);
        }
        EXPECT_EQ(alert, c.alert);
        expectedLogins += c.moves;
        EXPECT_EQ(logins, expectedLogins);
        const LoginData expected = c.moves ? LoginData{0, kEmail, c.remember ? md5(psw) : "", c.remember ? 1 : 0, 0}
                                           : LoginData{0, "before@example.org", "", 0, 0};
        EXPECT_EQ(storedLogin(), expected);
        EXPECT_TRUE(control<QPushButton>(screen, "loginButton")->isEnabled());
    }
}

// Signed in all the same when "Remember me" cannot be kept: the alert says why, home only once it is put away, the
// earlier log-in stays. Writable again, the next sign-in is remembered without a word.
TEST_F(AccountScreens, SignInThatCannotBeRememberedSaysWhyAndGoesHomeWhenTheAlertIsPutAway) {
    FullDiskHome disk;  // the data folder for every case, so that the last one can fill it
    const auto pressEscape = [](QMessageBox* sheet) { QTest::keyClick(sheet, Qt::Key_Escape); };
    const auto closeSheet = [](QMessageBox* sheet) { sheet->close(); };
    const struct {
        std::string reason;
        std::function<std::shared_ptr<void>()> block;  // local.sqlite3 cannot be written while this lives
        std::function<void(QMessageBox*)> putAway;
        bool fullDisk = false;
    } cases[] = {
        {"another program is using the log-in file",
         [] { return std::make_shared<WriteLockHolder>(databaseFolder() + "/local.sqlite3"); }, pressOK},
        {"the log-in file or folder is read-only", [] { return std::make_shared<ReadOnlyFolder>(databaseFolder()); },
         closeSheet},
        {"the disk is full",
         [&disk] {
             disk.fill();
             return std::shared_ptr<void>(nullptr, [&disk](void*) { disk.makeRoom(); });
         },
         pressEscape, true},
    };
    LoginViewController* screen = openLogin();
    fill(screen, "loginEmailEdit", kEmail);
    fill(screen, "loginPswEdit", "pass word");
    control<QCheckBox>(screen, "rememberCheck")->setChecked(true);
    const LoginData earlier{0, "before@example.org", md5("earlier password"), 1, 0};
    int expectedLogins = 0;
    for (const auto& c : cases) {
        SCOPED_TRACE(c.reason);
        if (c.fullDisk) {
            SKIP_WITHOUT_FULL_DISK(disk);
        }
        storeLogin(earlier.email, earlier.psw, earlier.remember);
        std::shared_ptr<void> blocked = c.block();
        click(screen, "loginButton");
        untilAnswered([&] { releaseNext("/user/login", "true"); });
        processEventsFor(50ms);
        EXPECT_EQ(alertOf(screen->alertSheet()),
                  "SIGN IN/You are signed in, but your log-in could not be remembered: " + c.reason +
                      ". You will be asked to sign in again at the next start.");
        EXPECT_EQ(logins, expectedLogins);
        if (QMessageBox* sheet = screen->alertSheet()) c.putAway(sheet);
        EXPECT_TRUE(processEventsUntil([&] { return logins > expectedLogins; }));
        processEventsFor(50ms);
        EXPECT_EQ(logins, ++expectedLogins);
        blocked.reset();
        EXPECT_EQ(storedLogin(), earlier);

        click(screen, "loginButton");
        EXPECT_EQ(answer(screen, "/user/login", "true"), "");
        EXPECT_EQ(logins, ++expectedLogins);
        EXPECT_EQ(storedLogin(), (LoginData{0, kEmail, md5("pass word"), 1, 0}));
    }
}

// The field filled from the store holds the remembered digest: sent and kept as it is. Edited, it is a typed
// password: hashed like any other.
TEST_F(AccountScreens, RememberedDigestIsSentAsItIsUntilTheFieldIsEdited) {
    const std::string digest = md5("my secret password");
    storeLogin(kEmail, digest, 1);
    LoginViewController* screen = openLogin();
    ASSERT_TRUE(processEventsUntil([&] { return logins == 1; }));  // the remembered log-in, without a request
    EXPECT_EQ(loginEmail(), kEmail);
    EXPECT_TRUE(server.requests().empty());
    EXPECT_EQ(text(screen, "loginPswEdit"), digest);
    EXPECT_TRUE(control<QCheckBox>(screen, "rememberCheck")->isChecked());
    EXPECT_TRUE(screen->passwordIsRememberedDigest());

    EXPECT_EQ(act(screen, "loginButton"),
              "sent:" + kEmail + "#" + QString::fromStdString(digest).toUpper().toStdString());
    EXPECT_EQ(answer(screen, "/user/login", "true"), "");
    EXPECT_EQ(storedLogin(), (LoginData{0, kEmail, digest, 1, 0}));

    // Deleting the last digit and typing it again leaves the same text, but it is typed now.
    QLineEdit* field = control<QLineEdit>(screen, "loginPswEdit");
    QTest::keyClick(field, Qt::Key_End);
    QTest::keyClick(field, Qt::Key_Backspace);
    QTest::keyClicks(field, QString::fromStdString(digest.substr(31)));
    EXPECT_EQ(field->text().toStdString(), digest);
    EXPECT_FALSE(screen->passwordIsRememberedDigest());
    EXPECT_EQ(act(screen, "loginButton"), "sent:" + kEmail + "#" + upperMd5(digest));
    EXPECT_EQ(answer(screen, "/user/login", "true"), "");
    EXPECT_EQ(storedLogin(), (LoginData{0, kEmail, md5(digest), 1, 0}));
    EXPECT_EQ(logins, 3);
}

// A screen acts only on the answer to its own request: of two stacked log-in screens each stores once, its own
// log-in; a screen that is gone acts on nothing.
TEST_F(AccountScreens, StackedLogInScreensEachActOnlyOnTheirOwnAnswer) {
    LoginViewController* bottom = openLogin();
    fill(bottom, "loginEmailEdit", "bottom@example.org");
    fill(bottom, "loginPswEdit", "bottom password");
    click(bottom, "loginButton");
    ASSERT_TRUE(server.waitForRequests(1));  // arrival 0
    ASSERT_TRUE(SegueRegistry::shared().perform(QStringLiteral("createSucToLogin"), bottom));
    auto* top = presentedOver<LoginViewController>(bottom);
    ASSERT_TRUE(top);
    fill(top, "loginEmailEdit", kEmail);
    fill(top, "loginPswEdit", "top password");
    click(top, "loginButton");
    ASSERT_TRUE(server.waitForRequests(2));

    untilAnswered([&] { server.release(1); });
    EXPECT_EQ(logins, 1);
    EXPECT_EQ(storedLogin().email, kEmail);
    EXPECT_TRUE(bottom->waitsForAnswer());
    EXPECT_FALSE(control<QPushButton>(bottom, "loginButton")->isEnabled());

    untilAnswered([&] { server.release(0); });
    EXPECT_EQ(logins, 2);
    EXPECT_EQ(storedLogin().email, "bottom@example.org");

    // A third request, from a screen dismissed before its answer.
    click(top, "loginButton");
    ASSERT_TRUE(server.waitForRequests(3));
    QPointer<LoginViewController> gone = top;
    ASSERT_TRUE(dismissViewController(top));
    ASSERT_TRUE(processEventsUntil([&] { return !gone; }));
    untilAnswered([&] { server.release(2); });
    EXPECT_EQ(logins, 2);
    EXPECT_EQ(storedLogin().email, "bottom@example.org");
}

TEST_F(AccountScreens, SignUpChecksPayloadAnswersAndHandOver) {
    LoginViewController* login = openLogin();
    click(login, "signupButton");
    auto* screen = presentedOver<SignupViewController>(login);
    ASSERT_TRUE(screen);
    EXPECT_TRUE(control<QPushButton>(screen, "backButton")->isVisible());
    const std::string a32(32, 'a');
    const struct {
        std::string email, psw, confirm, expected;
    } checks[] = {
        {"bad", "short", "short", "JOIN VELKOR/Email is invalid, please re-enter."},
        {kEmail, "1234567", "1234567", "JOIN VELKOR/Use 8 or more characters with a mix of letters, numbers & symbols"},
        {kEmail, "", "", "JOIN VELKOR/Use 8 or more characters with a mix of letters, numbers & symbols"},
        {kEmail, "12345678", "12345679", "JOIN VELKOR/Those passwords didn't match. Try again."},
        {kEmail, a32, a32, "sent:" + kEmail + "#" + upperMd5(a32)},
    };
    for (const auto& c : checks) {
        SCOPED_TRACE(c.expected);
        fill(screen, "emailEditView", c.email);
        fill(screen, "pswEditView", c.psw);
        fill(screen, "confirmPswEditView", c.confirm);
        EXPECT_EQ(act(screen, "createAccountButton"), c.expected);
    }
    EXPECT_EQ(server.requests().back().path, "/user/create");
    EXPECT_EQ(answer(screen, "/user/create", "user exists, false"), "JOIN VELKOR/This Email has already existed");
    const std::pair<std::string, std::string> answers[] = {
        {"false", "JOIN VELKOR/Network Error."},
        {kNeither, ""},
    };
    for (const auto& [body, alert] : answers) {
        click(screen, "createAccountButton");
        EXPECT_EQ(answer(screen, "/user/create", body), alert) << body;
    }

    // Success: "OK" hands over the fields as they are when it is pressed.
    std::any handed;
    ScopedSegue toLogin(QStringLiteral("createSucToLogin"), [&](QWidget*, const std::any& s) { handed = s; });
    click(screen, "createAccountButton");
    untilAnswered([&] { releaseNext("/user/create", "true user exists"); });
    EXPECT_EQ(alertOf(screen->alertSheet()),
              "JOIN VELKOR/Registration is successful. Please click the activation link in your mailbox to activate "
              "your account.");
    fill(screen, "emailEditView", "later@example.org");
    fill(screen, "pswEditView", "later password");
    pressOK(screen->alertSheet());
    const auto* sender = std::any_cast<AccountSegueSender>(&handed);
    ASSERT_TRUE(sender);
    EXPECT_EQ(*sender, (AccountSegueSender{{"email", "later@example.org"}, {"psw", "later password"}}));
}

// Log-in → forgotten password → reset password → a new log-in screen, with every hand-over on the way.
TEST_F(AccountScreens, ForgottenAndResetPasswordScreens) {
    storeLogin("stored@example.org", "", 0);
    LoginViewController* login = openLogin();
    fill(login, "loginEmailEdit", kEmail);
    click(login, "forgotButton");
    auto* forgot = presentedOver<ForgotPasswordViewController>(login);
    ASSERT_TRUE(forgot);
    EXPECT_EQ(text(forgot, "emailTextEdit"), kEmail);

    fill(forgot, "emailTextEdit", "nope");
    EXPECT_EQ(act(forgot, "nextPageButton"), "FORGOT PASSWORD/Email is invalid, please re-enter.");
    fill(forgot, "emailTextEdit", kEmail);
    const std::pair<std::string, std::string> forgotAnswers[] = {
        {"not found user, false", "FORGOT PASSWORD/This Email does not exist"},
        {"false", "FORGOT PASSWORD/Network Error."},
        {kNeither, ""},
    };
    for (const auto& [body, alert] : forgotAnswers) {
        EXPECT_EQ(act(forgot, "nextPageButton"), "sent:" + kEmail);
        EXPECT_EQ(answer(forgot, "/user/getresetpasswordtoken", body), alert) << body;
    }
    // The field's text when the answer comes is what moves on.
    click(forgot, "nextPageButton");
    fill(forgot, "emailTextEdit", "edited@example.org");
    EXPECT_EQ(answer(forgot, "/user/getresetpasswordtoken", "true"), "");
    auto* reset = presentedOver<ResetPasswordViewController>(forgot);
    ASSERT_TRUE(reset);
    EXPECT_EQ(reset->emailText, "edited@example.org");

    const struct {
        std::string code, psw, expected;
    } checks[] = {
        {"1234", "1234567", "RESET PASSWORD/Verfication Code is invalid, please re-enter."},
        {"123456", "12345678", "RESET PASSWORD/Verfication Code is invalid, please re-enter."},
        {"", "12345678", "RESET PASSWORD/Verfication Code is invalid, please re-enter."},
        {accented(5), "1234567", "RESET PASSWORD/Password is invalid, please re-enter."},
        {"abcde", std::string(32, 'b'), "sent:edited@example.org#" + upperMd5(std::string(32, 'b')) + "#abcde"},
    };
    for (const auto& c : checks) {
        fill(reset, "vcodeEditText", c.code);
        fill(reset, "pswEditText", c.psw);
        EXPECT_EQ(act(reset, "resetPswButton"), c.expected) << c.code;
    }
    EXPECT_EQ(answer(reset, "/user/resetpassword", "false, error token"), "RESET PASSWORD/Network Error.");
    click(reset, "resetPswButton");
    EXPECT_EQ(answer(reset, "/user/resetpassword", "error token"),
              "RESET PASSWORD/Wrong verification code,please re-enter.");

    click(reset, "resetPswButton");
    untilAnswered([&] { releaseNext("/user/resetpassword", "true"); });
    EXPECT_EQ(alertOf(reset->alertSheet()),
              "RESET PASSWORD/The password has been modified successfully. Please log in to your account again.");
    fill(reset, "pswEditText", "new password at OK");
    pressOK(reset->alertSheet());
    // The new log-in screen loads the stored e-mail over the handed-over one; with remember off it keeps the
    // handed-over password, as typed (not a remembered digest).
    auto* again = presentedOver<LoginViewController>(reset);
    ASSERT_TRUE(again);
    EXPECT_EQ(text(again, "loginEmailEdit"), "stored@example.org");
    EXPECT_EQ(text(again, "loginPswEdit"), "new password at OK");
    EXPECT_FALSE(again->passwordIsRememberedDigest());
    EXPECT_EQ(logins, 0);

    // Each presented screen can be left again; the one under it is as it was.
    click(again, "backButton");
    ASSERT_TRUE(processEventsUntil([&] { return !reset->findChild<LoginViewController*>(); }));
    EXPECT_EQ(text(reset, "pswEditText"), "new password at OK");
}

}  // namespace
}  // namespace keyloom
