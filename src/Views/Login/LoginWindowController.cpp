#include "Views/Login/LoginWindowController.h"

#include <QVBoxLayout>

#include "Views/Login/LoginViewController.h"

namespace keyloom {

LoginWindowController::LoginWindowController(QWidget* parent) : CustomWindowController(parent) {
    setObjectName(QStringLiteral("LoginWindowController"));
    setWindowTitle(QStringLiteral("Velkor Keyloom"));
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    content_ = new LoginViewController(this);
    layout->addWidget(content_);
    content_->viewDidLoad();
    // The screens presented over the log-in screen take its size.
    setFixedSize(400, 440);
    windowDidLoad();
}

}  // namespace keyloom
