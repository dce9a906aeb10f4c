#include "Views/Keyboard/Shared/SharedColorPanel.h"

#include <QColorDialog>
#include <QCoreApplication>
#include <QPointer>
#include <QSignalBlocker>

namespace keyloom {

namespace {

struct PanelState {
    QPointer<QColorDialog> dialog;
    QPointer<QObject> owner;
    std::function<void(const QColor&)> onUserColor;
    QMetaObject::Connection ownerGone;
};

PanelState& state() {
    static PanelState s;
    return s;
}

QColorDialog* ensureDialog() {
    PanelState& s = state();
    if (s.dialog) return s.dialog;
    // Parentless: it outlives every editor window, as one panel per process; deleted as the application ends.
    auto* dialog = new QColorDialog;
    qAddPostRoutine([] { delete state().dialog.data(); });
    dialog->setObjectName(QStringLiteral("sharedColorPanel"));
    dialog->setWindowTitle(QStringLiteral("Colors"));
    dialog->setOptions(QColorDialog::NoButtons | QColorDialog::DontUseNativeDialog);
    dialog->setAttribute(Qt::WA_QuitOnClose, false);
    QObject::connect(dialog, &QColorDialog::currentColorChanged, dialog, [](const QColor& color) {
        PanelState& st = state();
        if (st.owner && st.onUserColor) st.onUserColor(color);
    });
    s.dialog = dialog;
    return dialog;
}

}  // namespace

void openSharedColorPanel(QObject* owner, const QColor& initial, std::function<void(const QColor&)> onUserColor) {
    PanelState& s = state();
    QColorDialog* dialog = ensureDialog();
    QObject::disconnect(s.ownerGone);
    s.owner = owner;
    s.onUserColor = std::move(onUserColor);
    if (owner) s.ownerGone = QObject::connect(owner, &QObject::destroyed, dialog, [] { closeSharedColorPanel(); });
    {
        const QSignalBlocker quiet(dialog);
        dialog->setCurrentColor(initial);
    }
    dialog->show();
    dialog->raise();
}

void closeSharedColorPanel() {
    PanelState& s = state();
    QObject::disconnect(s.ownerGone);
    s.owner = nullptr;
    s.onUserColor = nullptr;
    if (s.dialog) s.dialog->hide();
}

QColorDialog* sharedColorPanel() {
    return state().dialog;
}

bool sharedColorPanelVisible() {
    return state().dialog && state().dialog->isVisible();
}

}  // namespace keyloom
