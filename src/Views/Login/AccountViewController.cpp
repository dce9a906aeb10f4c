#include "Views/Login/AccountViewController.h"

#include <QPushButton>
#include <QShowEvent>

#include "Customized/AlertSheet.h"
#include "Customized/PresentCustomAnimator.h"
#include "Customized/SegueRegistry.h"
#include "Helper/HttpRequest.h"
#include "platform/MainThread.h"

namespace keyloom {

AccountViewController::AccountViewController(QWidget* parent) : QWidget(parent) {}

AccountViewController::~AccountViewController() {
    answers_.reset();  // waits for a handler running on the HTTP thread; no new call is handed over after this
    cancelMainThreadCalls(this);
}

void AccountViewController::viewDidLoad() {}

void AccountViewController::viewDidAppear() {}

void AccountViewController::prepare(const QString&, QWidget*, const std::any&) {}

void AccountViewController::answerArrived(int64_t, const std::string&) {}

bool AccountViewController::performSegue(const QString& identifier, const std::any& sender) {
    return SegueRegistry::shared().perform(identifier, this, sender);
}

void AccountViewController::observeAnswers() {
    answers_ = NotificationCenter::defaultCenter().addObserver(
        HTTPRequestNotification, [this](const Notification& n) { httpRequestNotification(n); });
}

void AccountViewController::expectAnswer(int64_t request) {
    pendingRequests_.insert(request);
}

// On the HTTP thread: copy the answer, judge it on the main thread.
void AccountViewController::httpRequestNotification(const Notification& note) {
    const NotificationDictionary* dict = notificationDictionary(note);
    if (!dict) return;
    const std::optional<int64_t> type = dictionaryInteger(*dict, "type");
    const std::optional<int64_t> request = dictionaryInteger(*dict, "request");
    const auto result = dict->find("result");
    const std::string* text = result != dict->end() ? std::any_cast<std::string>(&result->second) : nullptr;
    if (!type || !request || !text) return;
    performOnMain([this, type = *type, request = *request, text = *text] {
        if (pendingRequests_.erase(request) == 0) return;  // another screen's request, or one already answered
        answerArrived(type, text);
    });
}

void AccountViewController::showAlert(const QString& title, const QString& message, std::function<void()> onOK) {
    alertSheet_ = showAlertSheet(this, title, message, this, std::move(onOK));
}

void AccountViewController::performOnMain(std::function<void()> fn) {
    runOnMain(this, std::move(fn));
}

QPushButton* AccountViewController::makeBackButton() {
    backButton_ = new QPushButton(QStringLiteral("Back"), this);
    backButton_->setObjectName(QStringLiteral("backButton"));
    backButton_->setFlat(true);
    backButton_->hide();
    connect(backButton_, &QPushButton::clicked, this, [this] { dismissViewController(this); });
    return backButton_;
}

void AccountViewController::showEvent(QShowEvent* event) {
    QWidget::showEvent(event);
    if (event->spontaneous()) return;  // the window coming back from the task bar is no new appearance
    if (backButton_) backButton_->setVisible(isPresentedViewController(this));
    viewDidAppear();
}

std::string dictionaryText(const AccountSegueSender& dict, const std::string& key) {
    const auto it = dict.find(key);
    return it != dict.end() ? it->second : std::string();
}

}  // namespace keyloom
