#include "Customized/ShowHome.h"

#include <QWidget>

#include "Customized/CustomWindowController.h"

namespace keyloom {

void ShowHome::perform(QWidget* source, QWidget* destinationWindow) {
    QWidget* sourceWindow = source ? source->window() : nullptr;
    if (destinationWindow) {
        CustomWindowController::centre(destinationWindow);
        // Shown before the source window closes: closing the last visible window first would end the program.
        destinationWindow->show();
        destinationWindow->raise();
    }
    if (sourceWindow && sourceWindow != destinationWindow && sourceWindow->isVisible()) sourceWindow->close();
}

}  // namespace keyloom
