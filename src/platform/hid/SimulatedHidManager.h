#pragma once

#include <deque>
#include <map>
#include <memory>
#include <mutex>
#include <vector>

#include "platform/EventFd.h"
#include "platform/hid/HidManager.h"

namespace keyloom {

class SimulatedKeyboard;
class SimulatedHidDevice;

// A HID manager over SimulatedHid: plugs, unplugs and input reports from any thread become events that dispatch()
// delivers on the manager's thread. Each arrival gets a handle of this manager's own.
class SimulatedHidManager : public HidManager {
  public:
    SimulatedHidManager() = default;
    ~SimulatedHidManager() override;

    int open() override;
    int pollFd() const override { return wake_.fd(); }
    void dispatch() override;

    // Called by SimulatedHid under its lock.
    void onPlug(const std::shared_ptr<SimulatedKeyboard>& keyboard, uint64_t arrival);
    void onUnplug(const SimulatedKeyboard* keyboard);
    void onInput(const SimulatedKeyboard* keyboard, const std::vector<uint8_t>& report);

  private:
    enum class EventKind { Arrival, Removal, Input };
    struct Event {
        EventKind kind;
        std::shared_ptr<SimulatedHidDevice> device;
        std::vector<uint8_t> report;
    };

    std::mutex mutex_;
    bool opened_ = false;
    std::deque<Event> events_;
    std::map<const SimulatedKeyboard*, std::shared_ptr<SimulatedHidDevice>> handles_;
    EventFd wake_;
};

}  // namespace keyloom
