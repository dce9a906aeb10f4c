#pragma once

#include <map>

#include "platform/input/KeyInputSource.h"

namespace keyloom {

// A key source driven by calls instead of devices, for tests and simulated runs. Devices are announced and values
// delivered only once the source is scheduled and only for devices of the matching list, as a real source does.
class SimulatedKeySource : public KeyInputSource {
  public:
    explicit SimulatedKeySource(int openResult = kKeyCaptureSuccess) : openResult_(openResult) {}

    int open(const std::vector<HidUsageMatch>& matching) override;
    void schedule(KeyInputHandlers handlers) override;

    // Plugs in a device of the given kind; returns its id.
    uint64_t addDevice(const std::string& name, HidUsageMatch kind);
    void removeDevice(uint64_t device);
    // One change of one element, as a HID device reports it.
    void sendValue(uint64_t device, const HidInputValue& value);
    // One event of a Linux event device, through the same translation as the real event devices.
    void sendEvdevEvent(uint64_t device, uint16_t type, uint16_t code, int32_t value);

    const std::vector<HidUsageMatch>& matching() const { return matching_; }

  private:
    bool delivers(const KeyInputDevice& device) const;

    int openResult_;
    std::vector<HidUsageMatch> matching_;
    std::map<uint64_t, KeyInputDevice> devices_;
    KeyInputHandlers handlers_;
    bool scheduled_ = false;
};

}  // namespace keyloom
