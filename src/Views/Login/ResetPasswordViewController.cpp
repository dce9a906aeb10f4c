#include "Views/Login/ResetPasswordViewController.h"

#include <QFormLayout>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

#include "Helper/HttpRequest.h"
#include "Helper/TextHelpers.h"
#include "Views/Login/AccountScreenLayout.h"
#include "Views/Login/LoginViewController.h"

namespace keyloom {

namespace {
const QString kTitle = QStringLiteral("RESET PASSWORD");
}

ResetPasswordViewController::ResetPasswordViewController(QWidget* parent) : PasswordViewController(parent) {
    setObjectName(QStringLiteral("ResetPasswordViewController"));
    QVBoxLayout* root = accountScreenLayout(this, kTitle, makeBackButton());
    auto* form = new QFormLayout;
    vcodeEditText = accountLineEdit(this, QStringLiteral("vcodeEditText"), QStringLiteral("Code from the email"));
    pswEditText = accountLineEdit(this, QStringLiteral("pswEditText"), QStringLiteral("New password"), true);
    form->addRow(QStringLiteral("Code"), vcodeEditText);
    form->addRow(QStringLiteral("New password"), pswEditText);
    root->addLayout(form);
    auto* reset = new QPushButton(QStringLiteral("Reset password"), this);
    reset->setObjectName(QStringLiteral("resetPswButton"));
    reset->setMinimumHeight(32);
    root->addWidget(reset);
    root->addStretch();
    connect(reset, &QPushButton::clicked, this, [this] { resetPswAction(); });
}

void ResetPasswordViewController::viewDidLoad() {
    observeAnswers();
}

void ResetPasswordViewController::resetPswAction() {
    const std::string code = vcodeEditText->text().toStdString();
    const std::string psw = pswEditText->text().toStdString();
    if (characterCount(code) != 5)
        return showAlert(kTitle, QStringLiteral("Verfication Code is invalid, please re-enter."));
    if (characterCount(psw) <= 7) return showAlert(kTitle, QStringLiteral("Password is invalid, please re-enter."));
    httpStatus = 0;
    expectAnswer(HttpRequest().resetPassword(emailText, psw, code));
}

void ResetPasswordViewController::answerArrived(int64_t type, const std::string& result) {
    if (type != 4) return;
    if (result.find("true") != std::string::npos)
        httpStatus = 1;
    else if (result.find("false") != std::string::npos)
        httpStatus = 2;
    else if (result.find("error token") != std::string::npos)
        httpStatus = 3;
    httpRequestNotificationResult();
}

void ResetPasswordViewController::httpRequestNotificationResult() {
    switch (httpStatus) {
        case 1:
            showAlert(
                kTitle,
                QStringLiteral("The password has been modified successfully. Please log in to your account again."),
                [this] {
                    performSegue(QStringLiteral("resetSucToLogin"),
                                 AccountSegueSender{{"email", emailText}, {"psw", pswEditText->text().toStdString()}});
                });
            break;
        case 2:
            showAlert(kTitle, QStringLiteral("Network Error."));
            break;
        case 3:
            showAlert(kTitle, QStringLiteral("Wrong verification code,please re-enter."));
            break;
        default:
            break;
    }
}

void ResetPasswordViewController::prepare(const QString& identifier, QWidget* destination, const std::any& sender) {
    if (identifier != QStringLiteral("resetSucToLogin")) return;
    auto* login = qobject_cast<LoginViewController*>(destination);
    const auto* handed = std::any_cast<AccountSegueSender>(&sender);
    if (!login || !handed) return;
    login->emailText = dictionaryText(*handed, "email");
    login->pswText = dictionaryText(*handed, "psw");
}

}  // namespace keyloom
