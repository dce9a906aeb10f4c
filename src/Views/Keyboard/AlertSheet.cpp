#include "Views/Keyboard/AlertSheet.h"

#include <QMessageBox>

namespace keyloom {

QMessageBox* showAlertSheet(QWidget* parent, const QString& title, const QString& text) {
    auto* box =
        new QMessageBox(QMessageBox::Warning, title, title, QMessageBox::Ok, parent ? parent->window() : nullptr);
    box->setObjectName(QStringLiteral("alertSheet"));
    box->setInformativeText(text);
    box->setWindowModality(Qt::WindowModal);
    box->setAttribute(Qt::WA_DeleteOnClose);
    box->open();
    return box;
}

}  // namespace keyloom
