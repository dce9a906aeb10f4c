#include "platform/input/SimulatedKeySource.h"

#include <algorithm>

#include "platform/input/EvdevKeySource.h"

namespace keyloom {

int SimulatedKeySource::open(const std::vector<HidUsageMatch>& matching) {
    matching_ = matching;
    return openResult_;
}

void SimulatedKeySource::schedule(KeyInputHandlers handlers) {
    if (scheduled_) return;
    handlers_ = std::move(handlers);
    scheduled_ = true;
    for (const auto& [id, device] : devices_)
        if (delivers(device) && handlers_.matched) handlers_.matched(device);
}

bool SimulatedKeySource::delivers(const KeyInputDevice& device) const {
    return scheduled_ && std::find(matching_.begin(), matching_.end(), HidUsageMatch{device.usagePage, device.usage}) !=
                             matching_.end();
}

uint64_t SimulatedKeySource::addDevice(const std::string& name, HidUsageMatch kind) {
    KeyInputDevice device;
    device.id = nextDeviceId();
    device.name = name;
    device.path = "simulated:" + name;
    device.usagePage = kind.usagePage;
    device.usage = kind.usage;
    devices_.emplace(device.id, device);
    if (delivers(device) && handlers_.matched) handlers_.matched(device);
    return device.id;
}

void SimulatedKeySource::removeDevice(uint64_t id) {
    auto it = devices_.find(id);
    if (it == devices_.end()) return;
    const KeyInputDevice device = it->second;
    devices_.erase(it);
    if (delivers(device) && handlers_.removed) handlers_.removed(device);
}

void SimulatedKeySource::sendValue(uint64_t id, const HidInputValue& value) {
    auto it = devices_.find(id);
    if (it == devices_.end() || !delivers(it->second) || !handlers_.value) return;
    handlers_.value(it->second, value);
}

void SimulatedKeySource::sendEvdevEvent(uint64_t id, uint16_t type, uint16_t code, int32_t value) {
    if (auto v = EvdevKeySource::translate(type, code, value)) sendValue(id, *v);
}

}  // namespace keyloom
