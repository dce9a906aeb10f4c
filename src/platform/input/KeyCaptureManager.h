#pragma once

#include <map>
#include <memory>
#include <utility>
#include <vector>

#include "platform/input/KeyInputSource.h"

namespace keyloom {

// The key-capture manager: listens to every device of its matching list (keyboards, keypads, the vendor interface)
// through its sources and reports (usage page, usage, value) changes on the main thread, once it is scheduled.
// Several sources may see one key (an event device and our window's key events, or two keyboards): the manager
// reports a key down when the first of them holds it and up when the last lets it go, so each change comes once.
class KeyCaptureManager {
  public:
    using DeviceCallback = void (*)(void* context, int result, void* sender, const KeyInputDevice& device);
    using InputValueCallback = void (*)(void* context, int result, void* sender, const HidInputValue& value);

    explicit KeyCaptureManager(std::vector<std::unique_ptr<KeyInputSource>> sources);
    ~KeyCaptureManager();
    KeyCaptureManager(const KeyCaptureManager&) = delete;
    KeyCaptureManager& operator=(const KeyCaptureManager&) = delete;

    // The Linux sources: keyboards' event devices, the vendor interface over hidraw, our windows' key events.
    static std::unique_ptr<KeyCaptureManager> createDefault();

    void setDeviceMatchingMultiple(std::vector<HidUsageMatch> matching);
    const std::vector<HidUsageMatch>& deviceMatching() const { return matching_; }

    // The context is not owned: its owner must outlive the manager (it owns the manager).
    void registerDeviceMatchingCallback(DeviceCallback callback, void* context);
    void registerDeviceRemovalCallback(DeviceCallback callback, void* context);
    void registerInputValueCallback(InputValueCallback callback, void* context);

    // Opens every source; kKeyCaptureSuccess, or the first source's failure (the others still open).
    int open();
    // Starts delivery on the calling thread, which must be the main thread. Until then no callback runs.
    void scheduleWithMainLoop();
    bool scheduled() const { return scheduled_; }

  private:
    using Holder = std::pair<size_t, uint64_t>;     // (source index, device id)
    using Element = std::pair<uint32_t, uint32_t>;  // (usage page, usage)

    void onValue(size_t source, const KeyInputDevice& device, const HidInputValue& value);
    void onRemoved(size_t source, const KeyInputDevice& device);
    void update(const Holder& holder, const Element& element, int64_t value);
    void sync();

    std::vector<std::unique_ptr<KeyInputSource>> sources_;
    std::vector<HidUsageMatch> matching_;
    std::pair<DeviceCallback, void*> matchingCallback_{nullptr, nullptr};
    std::pair<DeviceCallback, void*> removalCallback_{nullptr, nullptr};
    std::pair<InputValueCallback, void*> valueCallback_{nullptr, nullptr};
    bool opened_ = false;
    bool scheduled_ = false;
    bool syncing_ = false;
    // Elements whose value is not 0, by element and by who reports it, and the value last reported for each.
    std::map<Element, std::map<Holder, int64_t>> holders_;
    std::map<Element, int64_t> reported_;
};

}  // namespace keyloom
