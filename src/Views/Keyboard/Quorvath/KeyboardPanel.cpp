#include "Views/Keyboard/Quorvath/KeyboardPanel.h"

#include "CustomControl/KeyboardView.h"

namespace keyloom {

QRect KeyboardPanel::pictureFrame() {
    // (295, 260) from the bottom left, 698 x 256.
    return QRect(295, kHeight - 260 - 256, 698, 256);
}

KeyboardPanel::KeyboardPanel(QWidget* parent) : QWidget(parent) {
    setFixedSize(kWidth, kHeight);
}

void KeyboardPanel::attach(KeyboardEditorContext* context) {
    context_ = context;
    contextAttached();
}

void KeyboardPanel::initKeyboardUI(const std::vector<KeyData>&) {}

void KeyboardPanel::selectProfile(int64_t) {}

void KeyboardPanel::panelWillHide() {}

void KeyboardPanel::windowWillClose() {}

KeyboardView* KeyboardPanel::addPicture(int type, const std::vector<KeyData>& keys, const QString& objectName) {
    auto* picture = new KeyboardView(pictureFrame(), this);
    picture->setObjectName(objectName);
    picture->initUI(type, keys, 0);
    picture->show();
    return picture;
}

}  // namespace keyloom
