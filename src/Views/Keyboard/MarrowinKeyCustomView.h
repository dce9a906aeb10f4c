#pragma once

#include <QPointer>
#include <cstdint>

#include "Views/Keyboard/MarrowinPanel.h"

class QComboBox;
class QLabel;
class QLineEdit;

namespace keyloom {

// The key tab of the second-generation editor: the key-assignment picture, the option tree of assignable functions,
// what the clicked key carries, and the keyboard-layout combo boxes of this tab.
class MarrowinKeyCustomView : public MarrowinPanel {
    Q_OBJECT

  public:
    explicit MarrowinKeyCustomView(MarrowinEditorContext& context, QWidget* parent = nullptr);

    void picturesBuilt(bool first) override;
    void profileLoaded(int64_t profile) override;

    // Outlets.
    QPointer<QLabel> keyNameText;
    QPointer<QLabel> keyFunctionText;
    QPointer<QLabel> keyMacroText;
    QPointer<QLineEdit> keycustomText;
    QPointer<QComboBox> keyLayoutSelect;
    QPointer<QComboBox> ostrel62KBLayoutSelect;
};

}  // namespace keyloom
