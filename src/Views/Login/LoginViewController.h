#pragma once

#include <optional>

#include "Views/Login/AccountViewController.h"

class QCheckBox;
class QLineEdit;
class QPushButton;

namespace keyloom {

// The log-in screen: logs in against the account server (request type 1), remembers the log-in, logs in from the
// remembered one at its first appearance, leads to the forgotten-password and sign-up screens, and lets the user go
// on offline. Every way out to the home window is the transition "login".
//
// The password field holds the remembered digest (32 hexadecimal digits) when it was filled from the login store;
// any edit of the field ends that. Only then is its text sent and stored as a digest; a typed password is always
// hashed.
class LoginViewController : public AccountViewController {
    Q_OBJECT

  public:
    explicit LoginViewController(QWidget* parent = nullptr);

    void viewDidLoad() override;
    void viewDidAppear() override;
    void prepare(const QString& identifier, QWidget* destination, const std::any& sender) override;

    void LoginAction();
    void forgotPswViewAction();
    void offlineModeLoginAction();
    void signupAction();
    void httpRequestNotificationResult();

    // True while the password field holds the remembered digest, unedited.
    bool passwordIsRememberedDigest() const { return rememberedDigest_; }

    // 0 no verdict, 1 the server said yes, 2 no or unreachable, 100 remembered log-in.
    int64_t loginStatus = 0;
    // Shown in the e-mail and password fields when the screen appears.
    std::string emailText;
    std::string pswText;
    // The remember flag of the stored log-in (1 on).
    int64_t rememberStatus = 1;
    // True after the first appearance: the remembered log-in happens only before.
    bool initDB = false;

  protected:
    void answerArrived(int64_t type, const std::string& result) override;

  private:
    struct SentLogin {
        std::string email;
        std::string psw;
        bool digest = false;  // psw is the remembered digest, sent as it is
    };

    QLineEdit* loginEmailEdit = nullptr;
    QLineEdit* loginPswEdit = nullptr;
    QCheckBox* rememberCheck = nullptr;
    QPushButton* loginButton = nullptr;
    bool pswFromStore_ = false;      // pswText is the stored digest
    bool rememberedDigest_ = false;  // the password field still shows it
    std::optional<SentLogin> sent_;  // the log-in that the pending request carries
};

}  // namespace keyloom
