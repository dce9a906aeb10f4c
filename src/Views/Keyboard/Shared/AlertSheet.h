#pragma once

#include <QString>

class QMessageBox;
class QWidget;

namespace keyloom {

// An alert sheet over a window: warning style, the message as its title and main text, the informative text below,
// one "OK" button. Window-modal and not waited for: the caller goes on at once, dismissing it does nothing further,
// and it deletes itself when closed. objectName "alertSheet". Returns it (tests read and close it).
QMessageBox* showAlertSheet(QWidget* window, const QString& message, const QString& informativeText);

}  // namespace keyloom
