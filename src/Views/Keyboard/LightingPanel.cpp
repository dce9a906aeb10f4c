#include "Views/Keyboard/LightingPanel.h"

namespace keyloom {

LightingPanel::LightingPanel(QWidget* parent) : KeyboardPanel(parent) {
    setObjectName(QStringLiteral("RadiRGBView"));
}

void LightingPanel::initKeyboardUI(const std::vector<KeyData>& keys) {
    radiKeyboardView = addPicture(1, keys, QStringLiteral("radiKeyboardView"));
}

}  // namespace keyloom
