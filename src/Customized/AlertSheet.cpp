#include "Customized/AlertSheet.h"

#include <QAbstractButton>
#include <QMessageBox>

namespace keyloom {

QMessageBox* showAlertSheet(QWidget* on, const QString& title, const QString& message, const QObject* context,
                            std::function<void()> onOK) {
    auto* box = new QMessageBox(QMessageBox::Warning, title, title, QMessageBox::Ok, on ? on->window() : nullptr);
    box->setObjectName(QStringLiteral("alertSheet"));
    box->setInformativeText(message);
    QAbstractButton* ok = box->button(QMessageBox::Ok);
    box->setDefaultButton(QMessageBox::Ok);
    box->setWindowModality(Qt::WindowModal);
    box->setAttribute(Qt::WA_DeleteOnClose);
    if (onOK)
        QObject::connect(box, &QMessageBox::buttonClicked, context ? context : box,
                         [ok, onOK = std::move(onOK)](QAbstractButton* clicked) {
                             if (clicked == ok) onOK();
                         });
    box->open();
    return box;
}

}  // namespace keyloom
