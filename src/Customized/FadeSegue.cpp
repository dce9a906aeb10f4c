#include "Customized/FadeSegue.h"

#include "Customized/PresentCustomAnimator.h"

namespace keyloom {

void FadeSegue::perform(QWidget* source, QWidget* destination) {
    presentViewController(source, destination);
}

}  // namespace keyloom
