#include "Views/Keyboard/LightingPanel.h"

namespace keyloom {

LightingPanel::LightingPanel(QWidget* parent) : KeyboardPanel(parent) {
    setObjectName(QStringLiteral("RadiRGBView"));
}

void LightingPanel::initKeyboardUI(const std::vector<PlacedCap>& caps) {
    radiKeyboardView = addPicture(1, caps, QStringLiteral("radiKeyboardView"));
}

}  // namespace keyloom
