#include "Views/Login/AccountFlow.h"

#include <QTimer>

#include "Customized/SegueRegistry.h"
#include "Customized/ShowHome.h"
#include "Views/Home/HomeViewController.h"
#include "Views/Home/HomeWindowController.h"
#include "Views/Login/LoginWindowController.h"

namespace keyloom {

AccountFlow::AccountFlow()
    : login_(std::make_unique<ScopedSegue>(QStringLiteral("login"),
                                           [this](QWidget* source, const std::any&) { showHome(source); })) {}

AccountFlow::~AccountFlow() {
    login_.reset();
    loginWindow_.reset();
    homeWindow_.reset();
}

void AccountFlow::showLoginWindow() {
    if (!loginWindow_) loginWindow_ = std::make_unique<LoginWindowController>();
    loginWindow_->bringToFront();
    Q_EMIT frontWindowChanged(loginWindow_.get());
}

void AccountFlow::bringToFront() {
    if (loginWindow_ && loginWindow_->isVisible())
        loginWindow_->bringToFront();
    else if (homeWindow_)
        homeWindow_->bringToFront();
}

void AccountFlow::showHome(QWidget* source) {
    if (!homeWindow_) {
        homeWindow_ = std::make_unique<HomeWindowController>();
        homeWindow_->contentViewController()->viewDidLoad();
    }
    ShowHome::perform(source, homeWindow_.get());
    Q_EMIT frontWindowChanged(homeWindow_.get());
    // The log-in window and its screens go once the call that led here has returned.
    if (loginWindow_ && source && source->window() == loginWindow_.get())
        QTimer::singleShot(0, this, [this] { loginWindow_.reset(); });
}

}  // namespace keyloom
