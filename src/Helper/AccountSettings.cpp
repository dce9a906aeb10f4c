#include "Helper/AccountSettings.h"

#include <cstdlib>

#ifndef KEYLOOM_DEFAULT_SERVER_URL
#define KEYLOOM_DEFAULT_SERVER_URL ""
#endif
#ifndef KEYLOOM_DEFAULT_AES_KEY
#define KEYLOOM_DEFAULT_AES_KEY ""
#endif

namespace keyloom {

namespace {
std::string setting(const char* variable, const char* builtIn) {
    const char* value = std::getenv(variable);
    return value ? value : builtIn;
}
}  // namespace

std::string AccountSettings::serverAddress() {
    return setting("KEYLOOM_SERVER_URL", KEYLOOM_DEFAULT_SERVER_URL);
}

std::string AccountSettings::aesKey() {
    return setting("KEYLOOM_AES_KEY", KEYLOOM_DEFAULT_AES_KEY);
}

}  // namespace keyloom
