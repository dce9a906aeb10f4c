#include "platform/DataPaths.h"

#include <cstdlib>

namespace keyloom {

std::string applicationSupportFolder() {
    std::string base;
    if (const char* xdg = std::getenv("XDG_DATA_HOME"); xdg && *xdg == '/') {
        base = xdg;
    } else {
        const char* home = std::getenv("HOME");
        base = std::string(home && *home ? home : ".") + "/.local/share";
    }
    return base + "/" + kBundleIdentifier;
}

std::string databaseFolder() {
    return applicationSupportFolder() + "/db";
}

}  // namespace keyloom
