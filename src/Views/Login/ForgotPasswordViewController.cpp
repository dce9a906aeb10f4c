#include "Views/Login/ForgotPasswordViewController.h"

#include <QFormLayout>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

#include "Helper/HttpRequest.h"
#include "Helper/TextHelpers.h"
#include "Views/Login/AccountScreenLayout.h"
#include "Views/Login/ResetPasswordViewController.h"

namespace keyloom {

namespace {
const QString kTitle = QStringLiteral("FORGOT PASSWORD");
}

ForgotPasswordViewController::ForgotPasswordViewController(QWidget* parent) : PasswordViewController(parent) {
    setObjectName(QStringLiteral("ForgotPasswordViewController"));
    QVBoxLayout* root = accountScreenLayout(this, kTitle, makeBackButton());
    auto* form = new QFormLayout;
    emailTextEdit = accountLineEdit(this, QStringLiteral("emailTextEdit"), QStringLiteral("Email"));
    form->addRow(QStringLiteral("Email"), emailTextEdit);
    root->addLayout(form);
    auto* next = new QPushButton(QStringLiteral("Next"), this);
    next->setObjectName(QStringLiteral("nextPageButton"));
    next->setMinimumHeight(32);
    root->addWidget(next);
    root->addStretch();
    connect(next, &QPushButton::clicked, this, [this] { nextPageAction(); });
}

void ForgotPasswordViewController::viewDidLoad() {
    emailTextEdit->setText(QString::fromStdString(emailText));
    observeAnswers();
}

void ForgotPasswordViewController::nextPageAction() {
    const std::string email = emailTextEdit->text().toStdString();
    if (!validateEmail(email)) return showAlert(kTitle, QStringLiteral("Email is invalid, please re-enter."));
    httpStatus = 0;
    expectAnswer(HttpRequest().Login(3, email, std::string()));
}

void ForgotPasswordViewController::answerArrived(int64_t type, const std::string& result) {
    if (type != 3) return;
    if (result.find("true") != std::string::npos)
        httpStatus = 1;
    else if (result.find("not found user") != std::string::npos)
        httpStatus = 3;
    else if (result.find("false") != std::string::npos)
        httpStatus = 2;
    httpRequestNotificationResult();
}

void ForgotPasswordViewController::httpRequestNotificationResult() {
    switch (httpStatus) {
        case 1:
            performSegue(QStringLiteral("resetPasswordView"), emailTextEdit->text().toStdString());
            break;
        case 2:
            showAlert(kTitle, QStringLiteral("Network Error."));
            break;
        case 3:
            showAlert(kTitle, QStringLiteral("This Email does not exist"));
            break;
        default:
            break;
    }
}

void ForgotPasswordViewController::prepare(const QString& identifier, QWidget* destination, const std::any& sender) {
    if (identifier != QStringLiteral("resetPasswordView")) return;
    auto* reset = qobject_cast<ResetPasswordViewController*>(destination);
    const auto* email = std::any_cast<std::string>(&sender);
    if (reset && email) reset->emailText = *email;
}

}  // namespace keyloom
