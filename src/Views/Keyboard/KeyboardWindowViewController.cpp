#include "Views/Keyboard/KeyboardWindowViewController.h"

#include <QCloseEvent>
#include <QGuiApplication>
#include <QMouseEvent>
#include <QScreen>
#include <QVBoxLayout>

#include "Customized/SegueRegistry.h"
#include "Views/Home/AppState.h"
#include "Views/Keyboard/KeyboardViewController.h"
#include "Views/Keyboard/SharedColorPanel.h"

namespace keyloom {

namespace {

void centreAndRaise(QWidget* window) {
    if (QScreen* screen = window->screen() ? window->screen() : QGuiApplication::primaryScreen()) {
        QRect frame = window->frameGeometry();
        frame.moveCenter(screen->availableGeometry().center());
        window->move(frame.topLeft());
    }
    if (window->isMinimized()) window->showNormal();
    window->show();
    window->raise();
    window->activateWindow();
}

}  // namespace

KeyboardWindowViewController::KeyboardWindowViewController(QWidget* parent)
    : QWidget(parent, Qt::Window | Qt::WindowTitleHint | Qt::WindowCloseButtonHint | Qt::WindowMinimizeButtonHint) {
    setObjectName(QStringLiteral("KeyboardWindowViewController"));
    setAttribute(Qt::WA_DeleteOnClose);
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    content_ = new KeyboardViewController(this);
    layout->addWidget(content_);
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

void KeyboardWindowViewController::mousePressEvent(QMouseEvent* event) {
    dragging_ = event->button() == Qt::LeftButton;
    dragOffset_ = event->globalPosition().toPoint() - frameGeometry().topLeft();
    QWidget::mousePressEvent(event);
}

void KeyboardWindowViewController::mouseMoveEvent(QMouseEvent* event) {
    if (dragging_ && (event->buttons() & Qt::LeftButton)) move(event->globalPosition().toPoint() - dragOffset_);
    QWidget::mouseMoveEvent(event);
}

void KeyboardWindowViewController::mouseReleaseEvent(QMouseEvent* event) {
    dragging_ = false;
    QWidget::mouseReleaseEvent(event);
}

void showKeyboardEditor(const KeyboardSegueSender& sender) {
    if (!KEYBOARD_VIEW) {
        auto* window = new KeyboardWindowViewController;  // deletes itself when closed
        KeyboardViewController* content = window->contentViewController();
        content->kbHIDdevice = sender.kbHIDdevice;
        content->keyboardTitle = sender.keyboardTitle;
        KEYBOARD_VIEW = window;
    }
    centreAndRaise(KEYBOARD_VIEW);
}

void registerKeyboardEditorSegue() {
    SegueRegistry::shared().registerSegue(QStringLiteral("showkeyboard"), [](QWidget*, const std::any& sender) {
        if (const auto* s = std::any_cast<KeyboardSegueSender>(&sender)) showKeyboardEditor(*s);
    });
}

}  // namespace keyloom
