#include "resources/KeyloomImages.h"

namespace keyloom {

KeyboardPictureCaps keyboardPictureCaps(const QString&) {
    return {};
}

}  // namespace keyloom
