#pragma once

#include "Customized/CustomWindowController.h"

namespace keyloom {

class FeedbackViewController;

// The feedback window: the feedback form, a title bar with the close button only, movable by its background,
// centred. Closing only hides it, so a form waiting for answers keeps counting them.
class FeedbackWindowController : public CustomWindowController {
    Q_OBJECT

  public:
    explicit FeedbackWindowController(QWidget* parent = nullptr);

    FeedbackViewController* contentViewController() const { return content_; }

  private:
    FeedbackViewController* content_ = nullptr;
};

}  // namespace keyloom
