#pragma once

class QWidget;

namespace keyloom {

// The transition that presents the next screen inside the current one, in the same window, with a fade
// (PresentCustomAnimator); the source stays underneath. The account screens' transitions "forgotView",
// "resetPasswordView", "resetSucToLogin", "createSucToLogin" and the one to the sign-up screen use it, under the
// three names the screens know it by.
class FadeSegue {
  public:
    // The source's preparation has already run; the destination becomes a child of the source.
    static void perform(QWidget* source, QWidget* destination);
};

using ShowLogin = FadeSegue;
using customSegue = FadeSegue;
using ShowSignup = FadeSegue;

}  // namespace keyloom
