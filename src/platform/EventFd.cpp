#include "platform/EventFd.h"

#include <sys/eventfd.h>
#include <unistd.h>

#include <cstdint>

namespace keyloom {

EventFd::EventFd() : fd_(::eventfd(0, EFD_CLOEXEC | EFD_NONBLOCK)) {}

EventFd::~EventFd() {
    if (fd_ >= 0) ::close(fd_);
}

void EventFd::signal() {
    if (fd_ < 0) return;
    uint64_t one = 1;
    [[maybe_unused]] ssize_t n = ::write(fd_, &one, sizeof one);
}

void EventFd::drain() {
    if (fd_ < 0) return;
    uint64_t value = 0;
    [[maybe_unused]] ssize_t n = ::read(fd_, &value, sizeof value);
}

}  // namespace keyloom
