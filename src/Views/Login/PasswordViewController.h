#pragma once

#include <cstdint>
#include <string>

#include "Views/Login/AccountViewController.h"

namespace keyloom {

// The two password screens (forgotten, reset): each sends one kind of request for an e-mail address and shows its
// outcome with httpRequestNotificationResult().
class PasswordViewController : public AccountViewController {
  public:
    using AccountViewController::AccountViewController;

    virtual void httpRequestNotificationResult() = 0;

    // 0 none, 1 done, 2 refused or network error, 3 refused for the screen's own reason.
    int64_t httpStatus = 0;
    // The e-mail handed over by the screen before.
    std::string emailText;
};

}  // namespace keyloom
