#pragma once

class QMessageBox;
class QString;
class QWidget;

namespace keyloom {

// An alert sheet on the window of parent: warning style, the title as message text, the text as informative text,
// the single "OK" button. Window-modal and not waiting: the call returns at once, the window takes no input until
// the sheet is dismissed, and dismissing it does nothing further. The box deletes itself when closed.
QMessageBox* showAlertSheet(QWidget* parent, const QString& title, const QString& text);

}  // namespace keyloom
