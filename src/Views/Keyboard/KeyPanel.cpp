#include "Views/Keyboard/KeyPanel.h"

namespace keyloom {

KeyPanel::KeyPanel(QWidget* parent) : KeyboardPanel(parent) {
    setObjectName(QStringLiteral("KeyCustomView"));
}

void KeyPanel::initKeyboardUI(const std::vector<PlacedCap>& caps) {
    customKeyboardView = addPicture(0, caps, QStringLiteral("customKeyboardView"));
}

}  // namespace keyloom
