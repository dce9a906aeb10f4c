#pragma once

#include <QMessageBox>
#include <QPointer>
#include <QWidget>
#include <cstdint>
#include <string>

#include "platform/NotificationCenter.h"

class QComboBox;
class QLineEdit;
class QPlainTextEdit;
class QPushButton;

namespace keyloom {

// The feedback form: a type, a subject and a text, sent with the software information to the account server, in
// pieces of 245 characters when long. One result alert once every answer of a submission is in: the error alert
// when any answer said "false" (or the server was unreachable), the thank-you alert only when every answer said
// "true". The submit button stays off until then, so no answer of one submission is counted for the next.
class FeedbackViewController : public QWidget {
    Q_OBJECT

  public:
    explicit FeedbackViewController(QWidget* parent = nullptr);
    ~FeedbackViewController() override;

    void viewDidLoad();
    void submitAction();
    // Runs on the thread that posts "feedbackHTTPRequest"; continues on the main thread.
    void feedbackHttpRequestNotification(const Notification& note);
    void httpRequestNotificationResult();
    // "softwareVersion#keyboardVersion#systemInfo" as they are now.
    std::string softwareInfo() const;

    // Verdict of the last finished submission: 0 none, 1 sent, 2 not sent.
    int64_t httpStatus = 0;
    // 1 once every request of the current submission has been started.
    int64_t sendDataStatus = 0;
    // Pieces of the current submission; 0 when it went out whole.
    int64_t sendDataCount = 0;
    // Answers handled for the current submission.
    int64_t recDataCount = 0;

    QMessageBox* alertSheet() const { return alertSheet_; }

  private:
    void buildViews();
    void answerArrived(const std::string& result);
    void showAlert(const QString& text);
    int64_t expectedAnswers() const { return sendDataCount > 0 ? sendDataCount : 1; }

    QComboBox* feedbackTypeCombox = nullptr;
    QLineEdit* subjectText = nullptr;
    QPlainTextEdit* contentText = nullptr;
    QPushButton* submitButton = nullptr;
    QPointer<QMessageBox> alertSheet_;
    int64_t trueAnswers_ = 0;
    bool failed_ = false;
    Observation answers_;
};

}  // namespace keyloom
