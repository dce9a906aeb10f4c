#include "Views/Keyboard/Quorvath/KeyboardWindowViewController.h"

#include <QCloseEvent>
#include <QGuiApplication>
#include <QScreen>

#include "Customized/SegueRegistry.h"
#include "Views/Home/AppState.h"
#include "Views/Keyboard/Quorvath/KeyboardViewController.h"
#include "Views/Keyboard/Shared/SharedColorPanel.h"

namespace keyloom {

KeyboardWindowViewController::KeyboardWindowViewController(QWidget* parent)
    : EditorWindow(QStringLiteral("KeyboardWindowViewController"), parent) {
    content_ = new KeyboardViewController(this);
    setContent(content_);
    windowDidLoad();
}

KeyboardWindowViewController::~KeyboardWindowViewController() {
    if (KEYBOARD_VIEW == this) KEYBOARD_VIEW.clear();
}

void KeyboardWindowViewController::windowDidLoad() {
    setFixedSize(sizeHint());
    if (QScreen* screen = QGuiApplication::primaryScreen()) {
        QRect frame = geometry();
        frame.moveCenter(screen->availableGeometry().center());
        move(frame.topLeft());
    }
}

void KeyboardWindowViewController::closeEvent(QCloseEvent* event) {
    if (KEYBOARD_VIEW == this) KEYBOARD_VIEW.clear();
    content_->windowClose();
    QWidget::closeEvent(event);
}

void showKeyboardEditor(const KeyboardSegueSender& sender) {
    if (!KEYBOARD_VIEW) {
        auto* window = new KeyboardWindowViewController;  // deletes itself when closed
        KeyboardViewController* content = window->contentViewController();
        content->kbHIDdevice = sender.kbHIDdevice;
        content->keyboardTitle = sender.keyboardTitle;
        KEYBOARD_VIEW = window;
    }
    QWidget* window = KEYBOARD_VIEW;
    EditorWindow::bringForward(window);
}

void registerKeyboardEditorSegue() {
    SegueRegistry::shared().registerSegue(QStringLiteral("showkeyboard"), [](QWidget*, const std::any& sender) {
        if (const auto* s = std::any_cast<KeyboardSegueSender>(&sender)) showKeyboardEditor(*s);
    });
}

}  // namespace keyloom
