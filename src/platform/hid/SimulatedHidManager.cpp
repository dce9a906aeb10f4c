#include "platform/hid/SimulatedHidManager.h"

#include "platform/hid/SimulatedHid.h"
#include "platform/hid/SimulatedHidDevice.h"
#include "platform/hid/SimulatedKeyboard.h"

namespace keyloom {

SimulatedHidManager::~SimulatedHidManager() {
    SimulatedHid::instance().detach(this);
    std::lock_guard lock(mutex_);
    SimulatedHid::instance().eventsDone(events_.size());
}

int SimulatedHidManager::open() {
    {
        std::lock_guard lock(mutex_);
        if (opened_) return kHidSuccess;
        opened_ = true;
    }
    SimulatedHid::instance().attach(this);  // queues the keyboards already plugged
    return kHidSuccess;
}

void SimulatedHidManager::onPlug(const std::shared_ptr<SimulatedKeyboard>& keyboard, uint64_t arrival) {
    if (!matches(keyboard->vendorId(), keyboard->productId(), keyboard->descriptor().applicationUsages())) return;
    auto handle = std::make_shared<SimulatedHidDevice>(keyboard, arrival);
    auto report = keyboard->reportOnOpen();
    std::lock_guard lock(mutex_);
    handles_[keyboard.get()] = handle;
    events_.push_back({EventKind::Arrival, handle, {}});
    // After the arrival, whose handlers register for input reports.
    if (report) events_.push_back({EventKind::Input, std::move(handle), std::move(*report)});
    SimulatedHid::instance().eventsQueued(report ? 2 : 1);
    wake_.signal();
}

void SimulatedHidManager::onUnplug(const SimulatedKeyboard* keyboard) {
    std::lock_guard lock(mutex_);
    auto it = handles_.find(keyboard);
    if (it == handles_.end()) return;
    events_.push_back({EventKind::Removal, it->second, {}});
    SimulatedHid::instance().eventsQueued(1);
    handles_.erase(it);
    wake_.signal();
}

void SimulatedHidManager::onInput(const SimulatedKeyboard* keyboard, const std::vector<uint8_t>& report) {
    std::lock_guard lock(mutex_);
    auto it = handles_.find(keyboard);
    if (it == handles_.end()) return;
    events_.push_back({EventKind::Input, it->second, report});
    SimulatedHid::instance().eventsQueued(1);
    wake_.signal();
}

void SimulatedHidManager::dispatch() {
    std::deque<Event> events;
    {
        std::lock_guard lock(mutex_);
        wake_.drain();
        events.swap(events_);
    }
    // Callbacks run unlocked: they may plug, unplug or send reports themselves.
    for (auto& e : events) {
        switch (e.kind) {
            case EventKind::Arrival:
                announceArrival(e.device);
                break;
            case EventKind::Removal:
                announceRemoval(e.device);
                break;
            case EventKind::Input:
                e.device->deliverInput(e.report);
                break;
        }
        SimulatedHid::instance().eventsDone(1);
    }
}

}  // namespace keyloom
