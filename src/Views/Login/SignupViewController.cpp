#include "Views/Login/SignupViewController.h"

#include <QFormLayout>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

#include "Helper/HttpRequest.h"
#include "Helper/TextHelpers.h"
#include "Views/Login/AccountScreenLayout.h"

namespace keyloom {

namespace {
const QString kTitle = QStringLiteral("JOIN VELKOR");
}

SignupViewController::SignupViewController(QWidget* parent) : AccountViewController(parent) {
    setObjectName(QStringLiteral("SignupViewController"));
    QVBoxLayout* root = accountScreenLayout(this, kTitle, makeBackButton());
    auto* form = new QFormLayout;
    emailEditView = accountLineEdit(this, QStringLiteral("emailEditView"), QStringLiteral("Email"));
    pswEditView = accountLineEdit(this, QStringLiteral("pswEditView"), QStringLiteral("Password"), true);
    confirmPswEditView =
        accountLineEdit(this, QStringLiteral("confirmPswEditView"), QStringLiteral("Confirm password"), true);
    form->addRow(QStringLiteral("Email"), emailEditView);
    form->addRow(QStringLiteral("Password"), pswEditView);
    form->addRow(QStringLiteral("Confirm"), confirmPswEditView);
    root->addLayout(form);
    auto* create = new QPushButton(QStringLiteral("Create account"), this);
    create->setObjectName(QStringLiteral("createAccountButton"));
    create->setMinimumHeight(32);
    root->addWidget(create);
    root->addStretch();
    connect(create, &QPushButton::clicked, this, [this] { createAccountAction(); });
}

void SignupViewController::viewDidLoad() {
    observeAnswers();
}

void SignupViewController::createAccountAction() {
    const std::string email = emailEditView->text().toStdString();
    const std::string psw = pswEditView->text().toStdString();
    const std::string confirm = confirmPswEditView->text().toStdString();
    if (!validateEmail(email)) return showAlert(kTitle, QStringLiteral("Email is invalid, please re-enter."));
    if (characterCount(psw) <= 7)
        return showAlert(kTitle, QStringLiteral("Use 8 or more characters with a mix of letters, numbers & symbols"));
    if (psw != confirm) return showAlert(kTitle, QStringLiteral("Those passwords didn't match. Try again."));
    httpStatus = 0;
    expectAnswer(HttpRequest().Login(2, email, psw));
}

void SignupViewController::answerArrived(int64_t type, const std::string& result) {
    if (type != 2) return;
    if (result.find("true") != std::string::npos)
        httpStatus = 1;
    else if (result.find("user exists") != std::string::npos)
        httpStatus = 3;
    else if (result.find("false") != std::string::npos)
        httpStatus = 2;
    httpRequestNotificationResult();
}

void SignupViewController::httpRequestNotificationResult() {
    switch (httpStatus) {
        case 1:
            showAlert(kTitle,
                      QStringLiteral("Registration is successful. Please click the activation link in your mailbox "
                                     "to activate your account."),
                      [this] {
                          performSegue(QStringLiteral("createSucToLogin"),
                                       AccountSegueSender{{"email", emailEditView->text().toStdString()},
                                                          {"psw", pswEditView->text().toStdString()}});
                      });
            break;
        case 2:
            showAlert(kTitle, QStringLiteral("Network Error."));
            break;
        case 3:
            showAlert(kTitle, QStringLiteral("This Email has already existed"));
            break;
        default:
            break;
    }
}

}  // namespace keyloom
