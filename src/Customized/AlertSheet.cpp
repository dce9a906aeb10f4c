#include "Customized/AlertSheet.h"

#include <QMessageBox>
#include <QPushButton>

namespace keyloom {

QMessageBox* showAlertSheet(QWidget* on, const QString& title, const QString& message, const QObject* context,
                            std::function<void()> onOK) {
    auto* box = new QMessageBox(QMessageBox::Warning, title, title, QMessageBox::NoButton, on ? on->window() : nullptr);
    box->setObjectName(QStringLiteral("alertSheet"));
    box->setInformativeText(message);
    QPushButton* ok = box->addButton(QStringLiteral("OK"), QMessageBox::AcceptRole);
    box->setDefaultButton(ok);
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
