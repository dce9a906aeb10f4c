#include "Views/Keyboard/Marrowin/MarrowinWindowViewController.h"

#include <QCloseEvent>

#include "Customized/SegueRegistry.h"
#include "Views/Home/AppState.h"
#include "Views/Keyboard/Marrowin/MarrowinViewController.h"

namespace keyloom {

MarrowinWindowViewController::MarrowinWindowViewController(QWidget* parent)
    : EditorWindow(QStringLiteral("MarrowinWindowViewController"), parent) {
    content_ = new MarrowinViewController(this);
    setContent(content_);
    windowDidLoad();
    content_->viewDidLoad();
}

MarrowinWindowViewController::~MarrowinWindowViewController() = default;

void MarrowinWindowViewController::windowDidLoad() {
    QPalette pal = palette();
    pal.setColor(QPalette::Window, QColor(236, 236, 236));
    setPalette(pal);
    setAutoFillBackground(true);
    adjustSize();
    setFixedSize(sizeHint());
    centre(this);
}

void MarrowinWindowViewController::windowClose() {
    if (KEYBOARD_VIEW == this) KEYBOARD_VIEW = nullptr;
}

void MarrowinWindowViewController::closeEvent(QCloseEvent* event) {
    QWidget::closeEvent(event);
    if (event->isAccepted()) windowClose();
}

void registerMarrowinEditorSegue() {
    SegueRegistry::shared().registerSegue(QStringLiteral("showmarrowinkb"), [](QWidget*, const std::any& sender) {
        const auto* handOver = std::any_cast<KeyboardSegueSender>(&sender);
        if (!handOver) return;
        if (KEYBOARD_VIEW) {  // one editor at a time: the open one comes forward
            EditorWindow::bringForward(KEYBOARD_VIEW);
            return;
        }
        auto* window = new MarrowinWindowViewController;  // deletes itself when closed
        window->contentViewController()->kbHIDdevice = handOver->kbHIDdevice;
        window->contentViewController()->keyboardTitle = handOver->keyboardTitle;
        KEYBOARD_VIEW = window;
        EditorWindow::bringForward(window);
    });
}

}  // namespace keyloom
