#pragma once

#include <cstdint>
#include <mutex>
#include <stop_token>
#include <vector>

#include "USB/HIDDevice.h"
#include "USB/HIDMonitorData.h"
#include "platform/hid/HidManager.h"

namespace keyloom {

// Finds the keyboards of a watch list on the thread that runs start(), and announces them on the default
// notification centre (observers run on that thread before post returns):
//   HIDDeviceConnected / HIDDeviceDisconnected     {"device": HIDDevice}
//   HIDWirelessConnected / HIDWirelessDisconnected {"type": 1 or 2 / 11 or 12}  (int64_t)
//   "WirelessBatteryValue"                          {"type": 2, "value": level} (uint8_t)
class HIDDeviceMonitor {
  public:
    HIDDeviceMonitor(std::vector<HIDMonitorData> vp, int64_t reportSize, HidBackend backend = HidBackend::Automatic);
    ~HIDDeviceMonitor();
    HIDDeviceMonitor(const HIDDeviceMonitor&) = delete;
    HIDDeviceMonitor& operator=(const HIDDeviceMonitor&) = delete;

    // Sets up the HID manager and runs it on the calling thread until stop() (or the token's stop). Call it on a
    // thread of its own and join that thread after stop(); the object must outlive the call.
    void start();
    void start(std::stop_token token);
    // Wakes start() and lets it return; safe from any thread, also before start() (which then returns at once).
    void stop();

    bool rawDeviceAdded(int32_t result, HidManager* inSender, const HidHandleRef& inIOHIDDeviceRef);
    bool rawDeviceRemoved(int32_t result, HidManager* inSender, const HidHandleRef& inIOHIDDeviceRef);
    // The input-report handler registered for each matched device: posts the 2.4 GHz receiver's battery level.
    static void inputCallback(int result, const HidHandleRef& sender, HidReportType type, int64_t reportId,
                              const uint8_t* report, size_t reportLength);

    const std::vector<HIDMonitorData>& vp() const { return vp_; }
    int64_t reportSize() const { return reportSize_; }

  private:
    enum class Event { Arrival, Removal };
    bool classify(const HIDDevice& record, Event event);

    const std::vector<HIDMonitorData> vp_;
    const int64_t reportSize_;
    const HidBackend backend_;

    std::mutex mutex_;
    HidManager* running_ = nullptr;  // the manager of the start() in progress
    bool stopRequested_ = false;
};

}  // namespace keyloom
