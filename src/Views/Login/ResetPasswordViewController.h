#pragma once

#include "Views/Login/PasswordViewController.h"

class QLineEdit;

namespace keyloom {

// The reset-password screen: sends the mailed code with a new password (request type 4) and, after the success
// alert, leads to a log-in screen with "resetSucToLogin", handing over the e-mail and the new password.
class ResetPasswordViewController : public PasswordViewController {
    Q_OBJECT

  public:
    explicit ResetPasswordViewController(QWidget* parent = nullptr);

    void viewDidLoad() override;
    void prepare(const QString& identifier, QWidget* destination, const std::any& sender) override;
    void resetPswAction();
    void httpRequestNotificationResult() override;

    // httpStatus: 0 none, 1 password changed, 2 refused or network error, 3 wrong code. emailText: handed over by the
    // forgotten-password screen; not shown.

  protected:
    void answerArrived(int64_t type, const std::string& result) override;

  private:
    QLineEdit* vcodeEditText = nullptr;
    QLineEdit* pswEditText = nullptr;
};

}  // namespace keyloom
