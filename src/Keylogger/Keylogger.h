#pragma once

#include <cstdint>
#include <map>
#include <memory>
#include <string>
#include <vector>

#include "platform/input/KeyCaptureManager.h"

namespace keyloom {

// {"DeviceUsagePage": page, "DeviceUsage": usage}
using DeviceMatchingDictionary = std::map<std::string, int64_t>;

// The process-wide key capture: one manager listening to every keyboard, keypad and the vendor-defined interface,
// whose input callback keeps the key-state globals (KeyState.h). Created and scheduled on the main thread; the
// manager's callbacks get this object as context, so it must stay where it is for its whole life.
class Keylogger {
  public:
    // The Linux sources (event devices, hidraw, our windows' key events).
    Keylogger();
    // Another manager: simulated sources in tests and simulated runs.
    explicit Keylogger(std::unique_ptr<KeyCaptureManager> manager);
    ~Keylogger();
    Keylogger(const Keylogger&) = delete;
    Keylogger& operator=(const Keylogger&) = delete;

    static DeviceMatchingDictionary CreateDeviceMatchingDictionary(int64_t inUsagePage, int64_t inUsage);
    // 0 on success.
    int openHIDManager();
    // Starts the callbacks on the main thread's event loop; call once, from the main thread.
    void scheduleHIDLoop();

    std::unique_ptr<KeyCaptureManager> manager;
    std::vector<DeviceMatchingDictionary> deviceList;

  private:
    void init();
};

}  // namespace keyloom
