#include "Views/Keyboard/Shared/EditorWindow.h"

#include <QVBoxLayout>

namespace keyloom {

void EditorWindow::bringForward(QWidget* window) {
    centre(window);
    if (window->isMinimized()) window->showNormal();
    window->show();
    window->raise();
    window->activateWindow();
}

EditorWindow::EditorWindow(const QString& name, QWidget* parent) : CustomWindowController(parent) {
    setWindowFlags(Qt::Window | Qt::WindowTitleHint | Qt::WindowCloseButtonHint | Qt::WindowMinimizeButtonHint);
    setObjectName(name);
    setAttribute(Qt::WA_DeleteOnClose);
}

void EditorWindow::setContent(QWidget* content) {
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(content);
}

}  // namespace keyloom
