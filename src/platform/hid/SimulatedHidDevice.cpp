#include "platform/hid/SimulatedHidDevice.h"

#include "platform/hid/SimulatedKeyboard.h"

namespace keyloom {

SimulatedHidDevice::SimulatedHidDevice(const std::shared_ptr<SimulatedKeyboard>& keyboard, uint64_t arrival)
    : keyboard_(keyboard),
      arrival_(arrival),
      properties_(keyboard->properties()),
      numbered_(keyboard->descriptor().usesReportIds()) {}

HidPropertyValue SimulatedHidDevice::property(std::string_view key) const {
    auto it = properties_.find(key);
    return it == properties_.end() ? HidPropertyValue{} : it->second;
}

int SimulatedHidDevice::setReport(HidReportType type, int64_t reportId, const uint8_t* bytes, size_t length) {
    if (length > 0 && !bytes) return kHidErrorBadArgument;
    auto kb = keyboard_.lock();
    if (!kb) return kHidErrorNotAttached;
    size_t n = length;
    return kb->transfer(arrival_, SimulatedKeyboard::Direction::Set, type, reportId, bytes, nullptr, n);
}

int SimulatedHidDevice::getReport(HidReportType type, int64_t reportId, uint8_t* buffer, size_t& length) {
    if (length > 0 && !buffer) return kHidErrorBadArgument;
    auto kb = keyboard_.lock();
    if (!kb) {
        length = 0;
        return kHidErrorNotAttached;
    }
    return kb->transfer(arrival_, SimulatedKeyboard::Direction::Get, type, reportId, nullptr, buffer, length);
}

bool SimulatedHidDevice::removed() const {
    auto kb = keyboard_.lock();
    return !kb || kb->arrival() != arrival_;
}

void SimulatedHidDevice::deliverInput(const std::vector<uint8_t>& report) {
    const int64_t id = numbered_ && !report.empty() ? report[0] : 0;
    deliverInputReport(id, report.data(), report.size());
}

}  // namespace keyloom
