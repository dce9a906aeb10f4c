#include "platform/hid/SimulatedHid.h"

#include <algorithm>
#include <cstdlib>

#include "platform/hid/SimulatedHidDevice.h"
#include "platform/hid/SimulatedHidManager.h"

namespace keyloom {

SimulatedHid& SimulatedHid::instance() {
    static SimulatedHid hub;
    return hub;
}

std::shared_ptr<SimulatedKeyboard> SimulatedHid::plug(std::shared_ptr<SimulatedKeyboard> keyboard) {
    if (!keyboard) return keyboard;
    std::lock_guard lock(mutex_);
    if (keyboard->plugged()) return keyboard;
    const uint64_t arrival = nextArrival_++;
    keyboard->attach(arrival, std::make_shared<SimulatedHidDevice>(keyboard, arrival));
    plugged_.push_back(keyboard);
    for (auto* m : managers_) m->onPlug(keyboard, arrival);
    return keyboard;
}

void SimulatedHid::unplug(const std::shared_ptr<SimulatedKeyboard>& keyboard) {
    if (!keyboard) return;
    std::shared_ptr<SimulatedKeyboard> keep;  // released after the lock, in case it is the last owner
    std::lock_guard lock(mutex_);
    auto it = std::find(plugged_.begin(), plugged_.end(), keyboard);
    if (it == plugged_.end()) return;
    keep = *it;
    plugged_.erase(it);
    keyboard->detach();
    for (auto* m : managers_) m->onUnplug(keyboard.get());
}

void SimulatedHid::unplugAll() {
    for (auto& kb : pluggedKeyboards()) unplug(kb);
}

std::vector<std::shared_ptr<SimulatedKeyboard>> SimulatedHid::pluggedKeyboards() const {
    std::lock_guard lock(mutex_);
    return plugged_;
}

void SimulatedHid::setActive(bool active) {
    std::lock_guard lock(mutex_);
    active_ = active;
}

bool SimulatedHid::active() const {
    std::lock_guard lock(mutex_);
    return active_;
}

void SimulatedHid::reset() {
    unplugAll();
    setActive(false);
}

std::vector<std::string> SimulatedHid::startFromEnvironment() {
    std::vector<std::string> unknown;
    const char* list = std::getenv("KEYLOOM_SIMULATE");
    if (!list || !*list) return unknown;
    setActive(true);
    for (auto& kb : SimulatedKeyboard::parseModelList(list, &unknown)) plug(kb);
    return unknown;
}

void SimulatedHid::attach(SimulatedHidManager* manager) {
    std::lock_guard lock(mutex_);
    if (std::find(managers_.begin(), managers_.end(), manager) != managers_.end()) return;
    managers_.push_back(manager);
    for (auto& kb : plugged_) manager->onPlug(kb, kb->arrival());
}

void SimulatedHid::detach(SimulatedHidManager* manager) {
    std::lock_guard lock(mutex_);
    managers_.erase(std::remove(managers_.begin(), managers_.end(), manager), managers_.end());
}

void SimulatedHid::sendInputReport(const SimulatedKeyboard* keyboard, const std::vector<uint8_t>& report) {
    std::lock_guard lock(mutex_);
    for (auto* m : managers_) m->onInput(keyboard, report);
}

size_t SimulatedHid::managerCount() const {
    std::lock_guard lock(mutex_);
    return managers_.size();
}

bool SimulatedHid::waitUntilDelivered(std::chrono::milliseconds timeout) {
    std::unique_lock lock(deliveryMutex_);
    return delivered_.wait_for(lock, timeout, [this] { return undelivered_ == 0; });
}

void SimulatedHid::eventsQueued(size_t count) {
    std::lock_guard lock(deliveryMutex_);
    undelivered_ += count;
}

void SimulatedHid::eventsDone(size_t count) {
    if (count == 0) return;
    {
        std::lock_guard lock(deliveryMutex_);
        undelivered_ -= std::min(count, undelivered_);
    }
    delivered_.notify_all();
}

}  // namespace keyloom
