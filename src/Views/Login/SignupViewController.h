#pragma once

#include "Views/Login/AccountViewController.h"

class QLineEdit;

namespace keyloom {

// The sign-up screen: checks the e-mail and the password twice, asks the account server to create the account
// (request type 2) and, once it has, leads back to a log-in screen with "createSucToLogin".
class SignupViewController : public AccountViewController {
    Q_OBJECT

  public:
    explicit SignupViewController(QWidget* parent = nullptr);

    void viewDidLoad() override;
    void createAccountAction();
    void httpRequestNotificationResult();

    // 0 none, 1 account created, 2 refused or network error, 3 e-mail already registered.
    int64_t httpStatus = 0;

  protected:
    void answerArrived(int64_t type, const std::string& result) override;

  private:
    QLineEdit* emailEditView = nullptr;
    QLineEdit* pswEditView = nullptr;
    QLineEdit* confirmPswEditView = nullptr;
};

}  // namespace keyloom
