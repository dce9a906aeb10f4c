#include "Views/Keyboard/KnobPanel.h"

namespace keyloom {

KnobPanel::KnobPanel(QWidget* parent) : KeyboardPanel(parent) {
    setObjectName(QStringLiteral("CairnelKnobView"));
}

}  // namespace keyloom
