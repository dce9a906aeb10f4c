#pragma once

#include <QString>
#include <functional>

class QMessageBox;
class QObject;
class QWidget;

namespace keyloom {

// An alert as a sheet on the window of `on`: warning style, the title as its text, the message as its informative
// text, one "OK" button, modal to that window only; it deletes itself when dismissed. onOK, when given, runs only
// when the sheet ends with that button, and never after `context` has gone. Main thread only.
QMessageBox* showAlertSheet(QWidget* on, const QString& title, const QString& message, const QObject* context = nullptr,
                            std::function<void()> onOK = {});

}  // namespace keyloom
