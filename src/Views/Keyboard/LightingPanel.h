#pragma once

#include "Views/Keyboard/KeyboardPanel.h"

namespace keyloom {

// Panel of the lighting tab: light modes, brightness, speed, colours, directions, per-key colours.
class LightingPanel : public KeyboardPanel {
    Q_OBJECT

  public:
    explicit LightingPanel(QWidget* parent = nullptr);
    void initKeyboardUI(const std::vector<KeyData>& keys) override;

    // The tab's keyboard picture, made by initKeyboardUI().
    KeyboardView* radiKeyboardView = nullptr;
};

}  // namespace keyloom
