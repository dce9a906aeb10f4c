#pragma once

#include "Views/Login/AccountViewController.h"

class QLineEdit;

namespace keyloom {

// The forgotten-password screen: asks the account server to mail a reset code (request type 3) and, when it agrees,
// moves on to the reset-password screen with "resetPasswordView", handing over the e-mail field's text.
class ForgotPasswordViewController : public AccountViewController {
    Q_OBJECT

  public:
    explicit ForgotPasswordViewController(QWidget* parent = nullptr);

    void viewDidLoad() override;
    void prepare(const QString& identifier, QWidget* destination, const std::any& sender) override;
    void nextPageAction();
    void httpRequestNotificationResult();

    // 0 none, 1 code sent, 2 refused or network error, 3 e-mail not registered.
    int64_t httpStatus = 0;
    // The e-mail handed over by the log-in screen; fills the field when the screen loads.
    std::string emailText;

  protected:
    void answerArrived(int64_t type, const std::string& result) override;

  private:
    QLineEdit* emailTextEdit = nullptr;
};

}  // namespace keyloom
