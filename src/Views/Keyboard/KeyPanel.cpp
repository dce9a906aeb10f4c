#include "Views/Keyboard/KeyPanel.h"

namespace keyloom {

KeyPanel::KeyPanel(QWidget* parent) : KeyboardPanel(parent) {
    setObjectName(QStringLiteral("KeyCustomView"));
}

void KeyPanel::initKeyboardUI(const std::vector<KeyData>& keys) {
    customKeyboardView = addPicture(0, keys, QStringLiteral("customKeyboardView"));
}

}  // namespace keyloom
