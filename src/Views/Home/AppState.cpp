#include "Views/Home/AppState.h"

namespace keyloom {

QPointer<QWidget> KEYBOARD_VIEW;
int64_t keyboardLayout = 0x409;

std::string& keyboardVersion() {
    static std::string version;
    return version;
}

const std::string& systemInfo() {
    static const std::string info;
    return info;
}

}  // namespace keyloom
