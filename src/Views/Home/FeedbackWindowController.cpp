#include "Views/Home/FeedbackWindowController.h"

#include <QVBoxLayout>

#include "Views/Home/FeedbackViewController.h"

namespace keyloom {

FeedbackWindowController::FeedbackWindowController(QWidget* parent) : CustomWindowController(parent) {
    setObjectName(QStringLiteral("FeedbackWindowController"));
    setWindowTitle(QStringLiteral("Feedback"));
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    content_ = new FeedbackViewController(this);
    layout->addWidget(content_);
    content_->viewDidLoad();
    windowDidLoad();
}

}  // namespace keyloom
