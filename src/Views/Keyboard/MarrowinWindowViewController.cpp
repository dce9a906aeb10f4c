#include "Views/Keyboard/MarrowinWindowViewController.h"

#include <QCloseEvent>
#include <QGuiApplication>
#include <QMouseEvent>
#include <QScreen>
#include <QVBoxLayout>

#include "Customized/SegueRegistry.h"
#include "Views/Home/AppState.h"
#include "Views/Keyboard/MarrowinViewController.h"

namespace keyloom {

namespace {

void centre(QWidget* window) {
    if (QScreen* screen = QGuiApplication::primaryScreen()) {
        QRect frame = window->frameGeometry();
        frame.moveCenter(screen->availableGeometry().center());
        window->move(frame.topLeft());
    }
}

void bringForward(QWidget* window) {
    centre(window);
    if (window->isMinimized()) window->showNormal();
    window->show();
    window->raise();
    window->activateWindow();
}

}  // namespace

MarrowinWindowViewController::MarrowinWindowViewController(QWidget* parent)
    : QWidget(parent, Qt::Window | Qt::WindowTitleHint | Qt::WindowCloseButtonHint | Qt::WindowMinimizeButtonHint) {
    setObjectName(QStringLiteral("MarrowinWindowViewController"));
    setAttribute(Qt::WA_DeleteOnClose);
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    content_ = new MarrowinViewController(this);
    layout->addWidget(content_);
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

void MarrowinWindowViewController::mousePressEvent(QMouseEvent* event) {
    dragging_ = event->button() == Qt::LeftButton;
    dragOffset_ = event->globalPosition().toPoint() - frameGeometry().topLeft();
    QWidget::mousePressEvent(event);
}

void MarrowinWindowViewController::mouseMoveEvent(QMouseEvent* event) {
    if (dragging_ && (event->buttons() & Qt::LeftButton)) move(event->globalPosition().toPoint() - dragOffset_);
    QWidget::mouseMoveEvent(event);
}

void MarrowinWindowViewController::mouseReleaseEvent(QMouseEvent* event) {
    dragging_ = false;
    QWidget::mouseReleaseEvent(event);
}

void registerMarrowinEditorSegue() {
    SegueRegistry::shared().registerSegue(QStringLiteral("showmarrowinkb"), [](QWidget*, const std::any& sender) {
        const auto* handOver = std::any_cast<KeyboardSegueSender>(&sender);
        if (!handOver) return;
        if (KEYBOARD_VIEW) {  // one editor at a time: the open one comes forward
            bringForward(KEYBOARD_VIEW);
            return;
        }
        auto* window = new MarrowinWindowViewController;  // deletes itself when closed
        window->contentViewController()->kbHIDdevice = handOver->kbHIDdevice;
        window->contentViewController()->keyboardTitle = handOver->keyboardTitle;
        KEYBOARD_VIEW = window;
        bringForward(window);
    });
}

}  // namespace keyloom
