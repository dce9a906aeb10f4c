#pragma once

#include <functional>
#include <memory>
#include <mutex>
#include <optional>
#include <stop_token>
#include <vector>

#include "platform/EventFd.h"
#include "platform/hid/HidHandle.h"
#include "platform/hid/HidMatch.h"

namespace keyloom {

enum class HidBackend {
    Automatic,  // the simulated backend while a simulation is active (SimulatedHid), else Linux
    Linux,
    Simulated,
};

// Finds HID devices that match a list of HidMatch entries and reports their arrival and removal. Every callback
// (matching, removal, and the devices' input reports) runs on the thread that calls dispatch() or run(); devices
// already present when open() is called are announced by the first dispatch.
//
// Use it either on a thread of its own (run() blocks until stop()), or from an event loop: watch pollFd() for
// readability and call dispatch() then.
class HidManager {
  public:
    using DeviceCallback = std::function<void(int result, HidManager& sender, const HidHandleRef& device)>;

    static std::unique_ptr<HidManager> create(HidBackend backend = HidBackend::Automatic);

    HidManager() = default;
    virtual ~HidManager() = default;
    HidManager(const HidManager&) = delete;
    HidManager& operator=(const HidManager&) = delete;

    // Not called: every device matches. An empty list matches nothing. Set before open().
    void setDeviceMatchingMultiple(std::vector<HidMatch> matching);
    void registerDeviceMatchingCallback(DeviceCallback callback);
    void registerDeviceRemovalCallback(DeviceCallback callback);

    // Starts watching. Returns kHidSuccess, or an error when the device list cannot be read (the manager then
    // stays usable and simply finds nothing).
    virtual int open() = 0;
    // Readable while events wait for dispatch(); -1 when there is nothing to watch.
    virtual int pollFd() const = 0;
    // Handles the waiting events without blocking.
    virtual void dispatch() = 0;

    // Blocks in poll() and dispatches until stop() is called (from any thread) or the token's stop is requested.
    // A stop() that comes before run() makes run() return at once.
    void run(std::stop_token token = {});
    void stop();

  protected:
    bool matches(int64_t vendorId, int64_t productId, const std::vector<HidReportDescriptor::UsagePair>& usages) const;
    void announceArrival(const HidHandleRef& device);
    void announceRemoval(const HidHandleRef& device);

  private:
    mutable std::mutex mutex_;
    std::optional<std::vector<HidMatch>> matching_;
    std::shared_ptr<const DeviceCallback> onMatch_;
    std::shared_ptr<const DeviceCallback> onRemoval_;
    EventFd stopFd_;
};

}  // namespace keyloom
