#pragma once

#include <QObject>
#include <memory>

#include "Views/Login/AccountSegues.h"

class QWidget;

namespace keyloom {

class HomeWindowController;
class LoginWindowController;
class ScopedSegue;

// The start of the program: the log-in window comes first; the home window is made at "login" (log-in, remembered
// log-in or offline), so that everything it sends already carries the log-in e-mail. Registers the account
// transitions for its lifetime. Main thread only.
class AccountFlow : public QObject {
    Q_OBJECT

  public:
    AccountFlow();
    ~AccountFlow() override;

    void showLoginWindow();
    // Brings the window in front forward: the log-in window while it is open, else the home window.
    void bringToFront();

    LoginWindowController* loginWindow() const { return loginWindow_.get(); }
    HomeWindowController* homeWindow() const { return homeWindow_.get(); }

  Q_SIGNALS:
    // The program's window is now this one: the log-in window, then the home window.
    void frontWindowChanged(QWidget* window);

  private:
    void showHome(QWidget* source);

    AccountSegues segues_;
    std::unique_ptr<ScopedSegue> login_;
    std::unique_ptr<LoginWindowController> loginWindow_;
    std::unique_ptr<HomeWindowController> homeWindow_;
};

}  // namespace keyloom
