#pragma once

#include "Views/Keyboard/KeyboardPanel.h"

namespace keyloom {

// Panel of the knob tab: option tree, the four knob actions, Save and Cancel.
class KnobPanel : public KeyboardPanel {
    Q_OBJECT

  public:
    explicit KnobPanel(QWidget* parent = nullptr);
};

}  // namespace keyloom
