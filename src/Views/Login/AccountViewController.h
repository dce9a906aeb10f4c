#pragma once

#include <QMessageBox>
#include <QPointer>
#include <QString>
#include <QWidget>
#include <any>
#include <cstdint>
#include <functional>
#include <map>
#include <set>
#include <string>

#include "platform/NotificationCenter.h"

class QPushButton;
class QShowEvent;

namespace keyloom {

// What "resetSucToLogin" and "createSucToLogin" hand over: {"email", "psw"}.
using AccountSegueSender = std::map<std::string, std::string>;

// What the account screens share: the steps of a screen's life (loaded, appeared, prepared for a transition), their
// alert sheets, and the answers of the account server. A screen acts only on the answer to a request of its own that
// it still waits for, on the main thread; its observation and its pending main-thread calls end with it.
class AccountViewController : public QWidget {
    Q_OBJECT

  public:
    explicit AccountViewController(QWidget* parent = nullptr);
    ~AccountViewController() override;

    // Once, after the screen's preparation for the transition that shows it.
    virtual void viewDidLoad();
    // Each time the screen is shown.
    virtual void viewDidAppear();
    // Hands what the destination of `identifier` needs over to it, before it loads.
    virtual void prepare(const QString& identifier, QWidget* destination, const std::any& sender);

    // Performs a registered transition with this screen as its source; false when nobody registered it.
    bool performSegue(const QString& identifier, const std::any& sender = {});

    // The alert sheet shown last, while it is open.
    QMessageBox* alertSheet() const { return alertSheet_; }
    // True while a request of this screen is unanswered.
    bool waitsForAnswer() const { return !pendingRequests_.empty(); }

  protected:
    // Runs on the main thread for each answer to a request passed to expectAnswer().
    virtual void answerArrived(int64_t type, const std::string& result);

    // Starts listening for "HTTPRequest" (from viewDidLoad()).
    void observeAnswers();
    // The number HttpRequest returned for a request this screen sent.
    void expectAnswer(int64_t request);

    // An alert sheet on the screen's window; onOK (the alerts that lead on) when it ends with "OK".
    void showAlert(const QString& title, const QString& message, std::function<void()> onOK = {});
    // Runs fn on the main thread after the current call has returned, unless this screen is gone by then.
    void performOnMain(std::function<void()> fn);
    // A "Back" button that fades a presented screen out again; hidden on a screen that was not presented.
    QPushButton* makeBackButton();

    void showEvent(QShowEvent* event) override;

  private:
    void httpRequestNotification(const Notification& note);

    std::set<int64_t> pendingRequests_;
    QPointer<QMessageBox> alertSheet_;
    QPushButton* backButton_ = nullptr;
    Observation answers_;
};

// An entry of a hand-over dictionary ("" when absent).
std::string dictionaryText(const AccountSegueSender& dict, const std::string& key);

}  // namespace keyloom
