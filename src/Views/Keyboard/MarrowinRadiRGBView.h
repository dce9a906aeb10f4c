#pragma once

#include <QPointer>
#include <cstdint>

#include "Views/Keyboard/MarrowinPanel.h"

class QComboBox;

namespace keyloom {

class KeyboardView;

// The lighting tab of the second-generation editor: the lighting picture and the keyboard-layout combo boxes of this
// tab. The light modes and their controls are laid here by the lighting work.
class MarrowinRadiRGBView : public MarrowinPanel {
    Q_OBJECT

  public:
    explicit MarrowinRadiRGBView(MarrowinEditorContext& context, QWidget* parent = nullptr);

    void picturesBuilt(bool first) override;

    // Outlets.
    QPointer<KeyboardView> radiKeyboardView;
    QPointer<QComboBox> radiKBLayoutSelect;
    QPointer<QComboBox> ostrel62LightKBLayoutSelect;
};

}  // namespace keyloom
