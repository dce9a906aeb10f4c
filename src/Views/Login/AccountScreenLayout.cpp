#include "Views/Login/AccountScreenLayout.h"

#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

namespace keyloom {

QVBoxLayout* accountScreenLayout(QWidget* screen, const QString& heading, QPushButton* backButton) {
    auto* root = new QVBoxLayout(screen);
    root->setContentsMargins(32, 16, 32, 24);
    if (backButton) root->addWidget(backButton, 0, Qt::AlignLeft);
    auto* label = new QLabel(heading, screen);
    QFont font = label->font();
    font.setPointSize(font.pointSize() + 8);
    font.setBold(true);
    label->setFont(font);
    root->addWidget(label, 0, Qt::AlignHCenter);
    root->addSpacing(12);
    return root;
}

QLineEdit* accountLineEdit(QWidget* screen, const QString& objectName, const QString& placeholder, bool password) {
    auto* edit = new QLineEdit(screen);
    edit->setObjectName(objectName);
    edit->setPlaceholderText(placeholder);
    if (password) edit->setEchoMode(QLineEdit::Password);
    return edit;
}

}  // namespace keyloom
