#pragma once

#include <QString>
#include <functional>

class QMessageBox;
class QObject;
class QWidget;

namespace keyloom {

// The program's one alert sheet, on the window of `on`: warning style, the title as its text, the message as its
// informative text, one "OK" button (QMessageBox::Ok), modal to that window only and not waited for: the caller goes on
// at once. It deletes itself when dismissed; objectName "alertSheet". onOK, when given, runs only when the sheet ends
// with that button (Escape included), and never after `context` has gone. Returns the sheet (tests read and close it).
// Main thread only.
QMessageBox* showAlertSheet(QWidget* on, const QString& title, const QString& message, const QObject* context = nullptr,
                            std::function<void()> onOK = {});

}  // namespace keyloom
