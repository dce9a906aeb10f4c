#include "Helper/LoginEmail.h"

#include <mutex>

namespace keyloom {

namespace {
std::mutex& emailMutex() {
    static std::mutex mutex;
    return mutex;
}
std::string& emailValue() {
    static std::string value;
    return value;
}
}  // namespace

std::string loginEmail() {
    std::lock_guard lock(emailMutex());
    return emailValue();
}

void setLoginEmail(const std::string& email) {
    std::lock_guard lock(emailMutex());
    emailValue() = email;
}

}  // namespace keyloom
