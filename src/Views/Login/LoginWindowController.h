#pragma once

#include "Customized/CustomWindowController.h"

namespace keyloom {

class LoginViewController;

// The log-in window, the first window of the program: the log-in screen, over which the other account screens are
// presented; a title bar with the close button only, movable by its background, centred.
class LoginWindowController : public CustomWindowController {
    Q_OBJECT

  public:
    explicit LoginWindowController(QWidget* parent = nullptr);

    LoginViewController* contentViewController() const { return content_; }

  private:
    LoginViewController* content_ = nullptr;
};

}  // namespace keyloom
