#pragma once

#include "Views/Login/PasswordViewController.h"

class QLineEdit;

namespace keyloom {

// The forgotten-password screen: asks the account server to mail a reset code (request type 3) and, when it agrees,
// moves on to the reset-password screen with "resetPasswordView", handing over the e-mail field's text.
class ForgotPasswordViewController : public PasswordViewController {
    Q_OBJECT

  public:
    explicit ForgotPasswordViewController(QWidget* parent = nullptr);

    void viewDidLoad() override;
    void prepare(const QString& identifier, QWidget* destination, const std::any& sender) override;
    void nextPageAction();
    void httpRequestNotificationResult() override;

    // httpStatus: 0 none, 1 code sent, 2 refused or network error, 3 e-mail not registered. emailText: handed over by
    // the log-in screen; fills the field when the screen loads.

  protected:
    void answerArrived(int64_t type, const std::string& result) override;

  private:
    QLineEdit* emailTextEdit = nullptr;
};

}  // namespace keyloom
