#include "Views/Keyboard/Shared/AlertSheet.h"

#include <QMessageBox>

namespace keyloom {

QMessageBox* showAlertSheet(QWidget* window, const QString& message, const QString& informativeText) {
    auto* box = new QMessageBox(QMessageBox::Warning, message, message, QMessageBox::Ok, window);
    box->setObjectName(QStringLiteral("alertSheet"));
    box->setInformativeText(informativeText);
    box->setWindowModality(Qt::WindowModal);
    box->setAttribute(Qt::WA_DeleteOnClose);
    box->open();
    return box;
}

}  // namespace keyloom
