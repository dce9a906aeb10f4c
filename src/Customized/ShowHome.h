#pragma once

class QWidget;

namespace keyloom {

// The window swap of the "login" transition: the window holding the source closes, and the destination window is
// centred and brought to the front (shown and raised, not made active on purpose).
class ShowHome {
  public:
    static void perform(QWidget* source, QWidget* destinationWindow);
};

}  // namespace keyloom
