#pragma once

#include <map>
#include <memory>
#include <string>

#include "platform/hid/HidHandle.h"

namespace keyloom {

class SimulatedKeyboard;

// A handle on one arrival of a simulated keyboard. Its properties are taken at the arrival, so they stay readable
// after removal; transfers go to the keyboard while this arrival lasts and fail with kHidErrorNotAttached after.
class SimulatedHidDevice : public HidHandle {
  public:
    SimulatedHidDevice(const std::shared_ptr<SimulatedKeyboard>& keyboard, uint64_t arrival);

    HidPropertyValue property(std::string_view key) const override;
    int setReport(HidReportType type, int64_t reportId, const uint8_t* bytes, size_t length) override;
    int getReport(HidReportType type, int64_t reportId, uint8_t* buffer, size_t& length) override;
    bool removed() const override;

    std::shared_ptr<SimulatedKeyboard> keyboard() const { return keyboard_.lock(); }
    // Hands an input report to this handle's registered callback (on the calling manager's thread).
    void deliverInput(const std::vector<uint8_t>& report);

  private:
    std::weak_ptr<SimulatedKeyboard> keyboard_;  // the keyboard keeps its own handle: no cycle
    const uint64_t arrival_;
    const std::map<std::string, HidPropertyValue, std::less<>> properties_;
    const bool numbered_;
};

}  // namespace keyloom
