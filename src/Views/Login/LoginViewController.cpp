#include "Views/Login/LoginViewController.h"

#include <QCheckBox>
#include <QFormLayout>
#include <QHBoxLayout>
#include <QLineEdit>
#include <QMessageBox>
#include <QPushButton>
#include <QVBoxLayout>

#include "Helper/HttpRequest.h"
#include "Helper/LoginEmail.h"
#include "Helper/TextHelpers.h"
#include "SQLite/LocalSQLite.h"
#include "Views/Login/AccountScreenLayout.h"
#include "Views/Login/ForgotPasswordViewController.h"

namespace keyloom {

namespace {

const QString kTitle = QStringLiteral("SIGN IN");

// Why "Remember me" could not be kept, in the user's words.
QString notRememberedText(StoreFailure why) {
    const char* reason = "the log-in file could not be written";
    switch (why) {
        case StoreFailure::Busy:
            reason = "another program is using the log-in file";
            break;
        case StoreFailure::DiskFull:
            reason = "the disk is full";
            break;
        case StoreFailure::ReadOnly:
            reason = "the log-in file or folder is read-only";
            break;
        case StoreFailure::NoDatabase:
            reason = "the log-in file cannot be opened";
            break;
        case StoreFailure::None:
        case StoreFailure::Other:
            break;
    }
    return QStringLiteral(
               "You are signed in, but your log-in could not be remembered: %1. You will be asked to sign "
               "in again at the next start.")
        .arg(QString::fromLatin1(reason));
}

}  // namespace

LoginViewController::LoginViewController(QWidget* parent) : AccountViewController(parent) {
    setObjectName(QStringLiteral("LoginViewController"));
    QVBoxLayout* root = accountScreenLayout(this, kTitle, makeBackButton());
    auto* form = new QFormLayout;
    loginEmailEdit = accountLineEdit(this, QStringLiteral("loginEmailEdit"), QStringLiteral("Email"));
    loginPswEdit = accountLineEdit(this, QStringLiteral("loginPswEdit"), QStringLiteral("Password"), true);
    form->addRow(QStringLiteral("Email"), loginEmailEdit);
    form->addRow(QStringLiteral("Password"), loginPswEdit);
    root->addLayout(form);

    rememberCheck = new QCheckBox(QStringLiteral("Remember me"), this);
    rememberCheck->setObjectName(QStringLiteral("rememberCheck"));
    auto* forgot = new QPushButton(QStringLiteral("Forgot password?"), this);
    forgot->setObjectName(QStringLiteral("forgotButton"));
    forgot->setFlat(true);
    auto* row = new QHBoxLayout;
    row->addWidget(rememberCheck);
    row->addStretch();
    row->addWidget(forgot);
    root->addLayout(row);
    root->addSpacing(8);

    loginButton = new QPushButton(QStringLiteral("Sign in"), this);
    loginButton->setObjectName(QStringLiteral("loginButton"));
    loginButton->setMinimumHeight(32);
    root->addWidget(loginButton);
    auto* signup = new QPushButton(QStringLiteral("Create an account"), this);
    signup->setObjectName(QStringLiteral("signupButton"));
    root->addWidget(signup);
    root->addStretch();
    auto* offline = new QPushButton(QStringLiteral("Offline mode"), this);
    offline->setObjectName(QStringLiteral("offlineButton"));
    offline->setFlat(true);
    root->addWidget(offline, 0, Qt::AlignHCenter);

    connect(loginButton, &QPushButton::clicked, this, [this] { LoginAction(); });
    connect(forgot, &QPushButton::clicked, this, [this] { forgotPswViewAction(); });
    connect(offline, &QPushButton::clicked, this, [this] { offlineModeLoginAction(); });
    connect(signup, &QPushButton::clicked, this, [this] { signupAction(); });
    // Any edit by the user means the field no longer holds the remembered digest.
    connect(loginPswEdit, &QLineEdit::textEdited, this, [this] { rememberedDigest_ = false; });
}

void LoginViewController::viewDidLoad() {
    LoginData record;
    LocalSQLite().getLoginData(record);
    rememberStatus = record.remember;
    emailText = record.email;
    if (rememberStatus == 1) {
        pswText = record.psw;
        pswFromStore_ = true;
    }
    observeAnswers();
}

void LoginViewController::viewDidAppear() {
    loginEmailEdit->setText(QString::fromStdString(emailText));
    loginPswEdit->setText(QString::fromStdString(pswText));
    rememberCheck->setChecked(rememberStatus == 1);
    rememberedDigest_ = pswFromStore_ && !pswText.empty();
    if (rememberStatus == 1 && !initDB) {
        loginStatus = 100;
        setLoginEmail(emailText);
        performOnMain([this] { httpRequestNotificationResult(); });
    }
    initDB = true;
}

void LoginViewController::LoginAction() {
    const std::string email = loginEmailEdit->text().toStdString();
    const std::string psw = loginPswEdit->text().toStdString();
    if (!validateEmail(email)) return showAlert(kTitle, QStringLiteral("Email is invalid, please re-enter."));
    if (characterCount(psw) <= 7) return showAlert(kTitle, QStringLiteral("Password is invalid, please re-enter."));
    loginStatus = 0;
    const bool digest = rememberedDigest_;
    expectAnswer(HttpRequest().Login(1, email, psw,
                                     digest ? HttpRequest::Password::rememberedDigest : HttpRequest::Password::typed));
    sent_ = SentLogin{email, psw, digest};
    loginButton->setEnabled(false);
    setLoginEmail(email);
}

void LoginViewController::answerArrived(int64_t type, const std::string& result) {
    if (type != 1) return;
    if (result.find("true") != std::string::npos)
        loginStatus = 1;
    else if (result.find("false") != std::string::npos)
        loginStatus = 2;
    httpRequestNotificationResult();
}

void LoginViewController::httpRequestNotificationResult() {
    if (loginStatus == 100) {
        performSegue(QStringLiteral("login"));
    } else if (loginStatus == 2) {
        showAlert(kTitle, QStringLiteral("Email error or network error."));
    } else if (loginStatus == 1 && sent_) {
        // What succeeded is what was sent, whatever the fields say by now.
        const bool keepDigest = sent_->digest && characterCount(sent_->psw) == 32;
        LoginData record;
        record.email = sent_->email;
        record.psw = keepDigest ? sent_->psw : md5(sent_->psw);
        record.remember = rememberCheck->isChecked() ? 1 : 0;
        LocalSQLite store;
        if (store.updateLoginData(record) == 0 && record.remember == 1) {
            // Signed in all the same: home once the alert is put away, however it is.
            showAlert(kTitle, notRememberedText(store.writeFailure()));
            connect(alertSheet(), &QDialog::finished, this, [this] { performSegue(QStringLiteral("login")); });
        } else {
            performSegue(QStringLiteral("login"));
        }
    }
    if (!waitsForAnswer()) sent_.reset();
    loginButton->setEnabled(true);
}

void LoginViewController::forgotPswViewAction() {
    performSegue(QStringLiteral("forgotView"), loginEmailEdit->text().toStdString());
}

void LoginViewController::offlineModeLoginAction() {
    performSegue(QStringLiteral("login"));
}

void LoginViewController::signupAction() {
    performSegue(QStringLiteral("showSignup"));
}

void LoginViewController::prepare(const QString& identifier, QWidget* destination, const std::any& sender) {
    if (identifier != QStringLiteral("forgotView")) return;
    auto* forgot = qobject_cast<ForgotPasswordViewController*>(destination);
    const auto* email = std::any_cast<std::string>(&sender);
    if (forgot && email) forgot->emailText = *email;
}

}  // namespace keyloom
