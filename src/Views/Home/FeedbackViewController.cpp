#include "Views/Home/FeedbackViewController.h"

#include <QComboBox>
#include <QFormLayout>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QVBoxLayout>

#include "Customized/AlertSheet.h"
#include "Helper/HttpRequest.h"
#include "Views/Home/AppState.h"
#include "Views/Home/core/FeedbackMessage.h"
#include "platform/MainThread.h"

namespace keyloom {

FeedbackViewController::FeedbackViewController(QWidget* parent) : QWidget(parent) {
    buildViews();
}

FeedbackViewController::~FeedbackViewController() {
    answers_.reset();  // waits for a handler running on the HTTP thread
    cancelMainThreadCalls(this);
}

void FeedbackViewController::buildViews() {
    setObjectName(QStringLiteral("FeedbackViewController"));
    auto* root = new QVBoxLayout(this);
    root->setContentsMargins(24, 20, 24, 20);
    auto* form = new QFormLayout;
    feedbackTypeCombox = new QComboBox(this);
    feedbackTypeCombox->setObjectName(QStringLiteral("feedbackTypeCombox"));
    feedbackTypeCombox->addItems({QStringLiteral("Suggestion"), QStringLiteral("Problem"), QStringLiteral("Other")});
    subjectText = new QLineEdit(this);
    subjectText->setObjectName(QStringLiteral("subjectText"));
    contentText = new QPlainTextEdit(this);
    contentText->setObjectName(QStringLiteral("contentText"));
    contentText->setMinimumSize(360, 180);
    form->addRow(QStringLiteral("Type"), feedbackTypeCombox);
    form->addRow(QStringLiteral("Subject"), subjectText);
    form->addRow(QStringLiteral("Feedback"), contentText);
    root->addLayout(form);
    submitButton = new QPushButton(QStringLiteral("Submit"), this);
    submitButton->setObjectName(QStringLiteral("submitButton"));
    root->addWidget(submitButton, 0, Qt::AlignRight);
    connect(submitButton, &QPushButton::clicked, this, [this] { submitAction(); });
}

void FeedbackViewController::viewDidLoad() {
    answers_ = NotificationCenter::defaultCenter().addObserver(
        feedbackHTTPRequestNotification, [this](const Notification& n) { feedbackHttpRequestNotification(n); });
    feedbackTypeCombox->setCurrentIndex(0);
}

std::string FeedbackViewController::softwareInfo() const {
    return softwareVersion + "#" + keyboardVersion() + "#" + systemInfo();
}

void FeedbackViewController::submitAction() {
    const std::string type = feedbackTypeCombox->currentText().toStdString();
    const std::string subject = subjectText->text().toStdString();
    const std::string content = contentText->toPlainText().toStdString();
    if (subject.empty()) return showAlert(QStringLiteral("Subject cannot be empty, please enter."));
    if (content.empty()) return showAlert(QStringLiteral("Feedback cannot be empty, please enter"));

    // Every submission is judged on its own answers.
    sendDataStatus = 0;
    sendDataCount = 0;
    recDataCount = 0;
    httpStatus = 0;
    trueAnswers_ = 0;
    failed_ = false;

    const std::vector<std::string> chunks = feedbackChunks(feedbackMessage(type, subject, content, softwareInfo()));
    HttpRequest request;
    if (chunks.size() == 1) {
        request.feedback(chunks.front());
    } else {
        for (const std::string& chunk : chunks) {
            ++sendDataCount;
            request.feedback(chunk);
        }
    }
    submitButton->setEnabled(false);
    sendDataStatus = 1;
}

void FeedbackViewController::feedbackHttpRequestNotification(const Notification& note) {
    const auto* text = std::any_cast<std::string>(&note.object);
    runOnMain(this, [this, result = text ? *text : std::string()] { answerArrived(result); });
}

void FeedbackViewController::answerArrived(const std::string& result) {
    // Only answers the current submission still waits for count.
    if (sendDataStatus != 1 || recDataCount >= expectedAnswers()) return;
    if (result.find("true") != std::string::npos)
        ++trueAnswers_;
    else if (result.find("false") != std::string::npos)
        failed_ = true;
    httpRequestNotificationResult();
}

void FeedbackViewController::httpRequestNotificationResult() {
    ++recDataCount;
    if (sendDataStatus != 1 || recDataCount < expectedAnswers()) return;
    httpStatus = failed_ ? 2 : trueAnswers_ == expectedAnswers() ? 1 : 0;
    if (httpStatus == 2) {
        showAlert(QStringLiteral("Error. Your feedback is not sent. Please check your internet connection."));
    } else if (httpStatus == 1) {
        showAlert(QStringLiteral("Thank you for your feedback. We will contact soon."));
        // Cleared while the sheet is still open.
        feedbackTypeCombox->setCurrentIndex(0);
        subjectText->setText(QString());
        contentText->setPlainText(QString());
    }
    submitButton->setEnabled(true);
}

void FeedbackViewController::showAlert(const QString& text) {
    alertSheet_ = showAlertSheet(this, QStringLiteral("FEEDBACK"), text);
}

}  // namespace keyloom
