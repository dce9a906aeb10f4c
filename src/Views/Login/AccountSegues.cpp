#include "Views/Login/AccountSegues.h"

#include "Customized/FadeSegue.h"
#include "Customized/SegueRegistry.h"
#include "Views/Login/ForgotPasswordViewController.h"
#include "Views/Login/LoginViewController.h"
#include "Views/Login/ResetPasswordViewController.h"
#include "Views/Login/SignupViewController.h"

namespace keyloom {

namespace {

template <class Destination>
SegueRegistry::Perform presentNew(const QString& identifier) {
    return [identifier](QWidget* source, const std::any& sender) {
        if (!source) return;
        auto* destination = new Destination(source);  // owned by the source, which it is presented in
        if (auto* screen = qobject_cast<AccountViewController*>(source))
            screen->prepare(identifier, destination, sender);
        destination->viewDidLoad();
        FadeSegue::perform(source, destination);
    };
}

}  // namespace

AccountSegues::AccountSegues() {
    const auto add = [this](const QString& identifier, SegueRegistry::Perform perform) {
        segues_.push_back(std::make_unique<ScopedSegue>(identifier, std::move(perform)));
    };
    add(QStringLiteral("forgotView"), presentNew<ForgotPasswordViewController>(QStringLiteral("forgotView")));
    add(QStringLiteral("resetPasswordView"),
        presentNew<ResetPasswordViewController>(QStringLiteral("resetPasswordView")));
    add(QStringLiteral("resetSucToLogin"), presentNew<LoginViewController>(QStringLiteral("resetSucToLogin")));
    add(QStringLiteral("createSucToLogin"), presentNew<LoginViewController>(QStringLiteral("createSucToLogin")));
    add(QStringLiteral("showSignup"), presentNew<SignupViewController>(QStringLiteral("showSignup")));
}

AccountSegues::~AccountSegues() {
    // Put back in reverse order, so that what was registered before is what remains.
    while (!segues_.empty()) segues_.pop_back();
}

}  // namespace keyloom
