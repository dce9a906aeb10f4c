#pragma once

#include <QString>

class QLineEdit;
class QPushButton;
class QVBoxLayout;
class QWidget;

namespace keyloom {

// The common frame of the account screens: the back button (when given), the screen's title as a heading, then the
// screen's own rows, added by the caller to the returned layout.
QVBoxLayout* accountScreenLayout(QWidget* screen, const QString& heading, QPushButton* backButton);
// A text field with its object name and placeholder; masked for passwords.
QLineEdit* accountLineEdit(QWidget* screen, const QString& objectName, const QString& placeholder,
                           bool password = false);

}  // namespace keyloom
