#pragma once

#include "Views/Keyboard/KeyboardPanel.h"

namespace keyloom {

// Panel of the key tab: option tree, key-assignment picture, the chosen key's function, Save and Cancel.
class KeyPanel : public KeyboardPanel {
    Q_OBJECT

  public:
    explicit KeyPanel(QWidget* parent = nullptr);
    void initKeyboardUI(const std::vector<KeyData>& keys) override;

    // The tab's keyboard picture, made by initKeyboardUI().
    KeyboardView* customKeyboardView = nullptr;
};

}  // namespace keyloom
