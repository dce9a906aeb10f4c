#include "platform/hid/HidManager.h"

#include <poll.h>

#include <cerrno>

#include "platform/hid/LinuxHidManager.h"
#include "platform/hid/SimulatedHid.h"
#include "platform/hid/SimulatedHidManager.h"

namespace keyloom {

std::unique_ptr<HidManager> HidManager::create(HidBackend backend) {
    if (backend == HidBackend::Automatic)
        backend = SimulatedHid::instance().active() ? HidBackend::Simulated : HidBackend::Linux;
    if (backend == HidBackend::Simulated) return std::make_unique<SimulatedHidManager>();
    return std::make_unique<LinuxHidManager>();
}

void HidManager::setDeviceMatchingMultiple(std::vector<HidMatch> matching) {
    std::lock_guard lock(mutex_);
    matching_ = std::move(matching);
}

void HidManager::registerDeviceMatchingCallback(DeviceCallback callback) {
    std::lock_guard lock(mutex_);
    onMatch_ = callback ? std::make_shared<const DeviceCallback>(std::move(callback)) : nullptr;
}

void HidManager::registerDeviceRemovalCallback(DeviceCallback callback) {
    std::lock_guard lock(mutex_);
    onRemoval_ = callback ? std::make_shared<const DeviceCallback>(std::move(callback)) : nullptr;
}

bool HidManager::matches(int64_t vendorId, int64_t productId,
                         const std::vector<HidReportDescriptor::UsagePair>& usages) const {
    std::lock_guard lock(mutex_);
    if (!matching_) return true;
    for (const auto& m : *matching_)
        if (m.matches(vendorId, productId, usages)) return true;
    return false;
}

void HidManager::announceArrival(const HidHandleRef& device) {
    std::shared_ptr<const DeviceCallback> cb;
    {
        std::lock_guard lock(mutex_);
        cb = onMatch_;
    }
    if (cb) (*cb)(kHidSuccess, *this, device);
}

void HidManager::announceRemoval(const HidHandleRef& device) {
    std::shared_ptr<const DeviceCallback> cb;
    {
        std::lock_guard lock(mutex_);
        cb = onRemoval_;
    }
    if (cb) (*cb)(kHidSuccess, *this, device);
}

void HidManager::run(std::stop_token token) {
    std::stop_callback onStop(token, [this] { stop(); });
    for (;;) {
        pollfd fds[2] = {{stopFd_.fd(), POLLIN, 0}, {pollFd(), POLLIN, 0}};
        const int n = ::poll(fds, 2, -1);
        if (n < 0) {
            if (errno == EINTR) continue;
            return;  // poll itself failed (bad fds): nothing more can arrive
        }
        if (fds[0].revents) {
            stopFd_.drain();
            return;
        }
        if (fds[1].revents) dispatch();
    }
}

void HidManager::stop() {
    stopFd_.signal();
}

}  // namespace keyloom
