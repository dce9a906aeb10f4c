#include <QMessageBox>
#include <QPushButton>

#include "Customized/PresentCustomAnimator.h"
#include "Customized/SegueRegistry.h"
#include "ScreenGallery.h"
#include "Views/Home/FeedbackWindowController.h"
#include "Views/Home/HomeViewController.h"
#include "Views/Login/AccountSegues.h"
#include "Views/Login/ForgotPasswordViewController.h"
#include "Views/Login/LoginViewController.h"
#include "Views/Login/LoginWindowController.h"
#include "Views/Login/ResetPasswordViewController.h"
#include "Views/Login/SignupViewController.h"

namespace keyloom {

// The same for every keyboard: rendered with the first model of a run only.
bool isFirstModelOfRun(const ScreenContext& ctx) {
    static const std::string first = ctx.model();
    return ctx.model() == first;
}

// The log-in window with each account screen faded in over it, an alert sheet, and the feedback window.
void renderAccountScreens(ScreenContext& ctx) {
    AccountSegues segues;
    LoginWindowController window;
    window.show();
    LoginViewController* login = window.contentViewController();
    ctx.waitFor([login] { return login->isVisible(); });
    ctx.save(&window, "account-login");

    // Each presented screen, once it has faded in; then back to the one under it.
    const auto present = [&](QWidget* source, const QString& identifier, const std::any& sender, const char* shot) {
        SegueRegistry::shared().perform(identifier, source, sender);
        QWidget* shown = nullptr;
        ctx.waitFor([&] {
            const auto children = source->findChildren<AccountViewController*>(QString(), Qt::FindDirectChildrenOnly);
            shown = children.isEmpty() ? nullptr : children.back();
            return shown && presentedOpacity(shown) == 1.0;
        });
        if (shown) ctx.save(&window, shot);
        return shown;
    };
    present(login, QStringLiteral("showSignup"), {}, "account-signup");
    QWidget* forgot = present(login, QStringLiteral("forgotView"), std::string("user@example.com"), "account-forgot");
    QWidget* reset =
        forgot ? present(forgot, QStringLiteral("resetPasswordView"), std::string("user@example.com"), "account-reset")
               : nullptr;
    if (auto* screen = qobject_cast<ResetPasswordViewController*>(reset)) {
        screen->findChild<QPushButton*>("resetPswButton")->click();  // no code: its alert
        if (ctx.waitFor([screen] { return screen->alertSheet() && screen->alertSheet()->isVisible(); }))
            ctx.save(screen->alertSheet(), "account-alert");
    }

    ctx.home()->feedbackAction();
    if (FeedbackWindowController* feedback = ctx.home()->feedbackWindow()) {
        ctx.waitFor([feedback] { return feedback->isVisible(); });
        ctx.save(feedback, "feedback");
        feedback->close();
    }
}

}  // namespace keyloom
