#pragma once

#include <memory>
#include <vector>

namespace keyloom {

class ScopedSegue;

// Registers, for its lifetime, the transitions between the account screens: "forgotView", "resetPasswordView",
// "resetSucToLogin", "createSucToLogin" and "showSignup" (the log-in screen's way to sign-up). Each makes the
// destination screen, lets the source prepare it, loads it and fades it in over the source. "login" is not among
// them: where it leads belongs to the program's start (AccountFlow), or to a test.
class AccountSegues {
  public:
    AccountSegues();
    ~AccountSegues();
    AccountSegues(const AccountSegues&) = delete;
    AccountSegues& operator=(const AccountSegues&) = delete;

  private:
    std::vector<std::unique_ptr<ScopedSegue>> segues_;
};

}  // namespace keyloom
