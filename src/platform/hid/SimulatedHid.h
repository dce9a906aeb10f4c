#pragma once

#include <chrono>
#include <condition_variable>
#include <memory>
#include <mutex>
#include <string>
#include <vector>

#include "platform/hid/SimulatedKeyboard.h"

namespace keyloom {

class SimulatedHidManager;

// The simulated bus: which simulated keyboards are plugged, and the simulated HID managers that watch them.
// While active(), HidManager::create() (Automatic) makes simulated managers.
class SimulatedHid {
  public:
    static SimulatedHid& instance();

    // Plugs the keyboard (a no-op when it is plugged already) and returns it, for
    //   auto kb = SimulatedHid::instance().plug(SimulatedKeyboard::quorvath87());
    std::shared_ptr<SimulatedKeyboard> plug(std::shared_ptr<SimulatedKeyboard> keyboard);
    // Removal is safe from any thread, also while a transfer of the keyboard is in flight.
    void unplug(const std::shared_ptr<SimulatedKeyboard>& keyboard);
    void unplugAll();
    std::vector<std::shared_ptr<SimulatedKeyboard>> pluggedKeyboards() const;

    void setActive(bool active);
    bool active() const;
    // Unplugs everything and deactivates: the state a test starts from.
    void reset();

    // Reads KEYLOOM_SIMULATE ("quorvath87,ostrelte62"). When it is set and not empty: activates the simulation and
    // plugs one keyboard per known name. Returns the names it did not know.
    std::vector<std::string> startFromEnvironment();

    // How many simulated managers are open (watching the bus): a test waits for the one it expects before it plugs.
    size_t managerCount() const;

    // Waits until every device event queued so far (arrivals, removals, input reports) has been dispatched by the
    // managers that watch for it, its callbacks included. False when that takes longer than timeout (a manager that
    // is open but never dispatches keeps its events). For tests that wait for a quiet bus instead of a time.
    bool waitUntilDelivered(std::chrono::milliseconds timeout = std::chrono::seconds(5));

    // For SimulatedHidManager.
    void attach(SimulatedHidManager* manager);
    void detach(SimulatedHidManager* manager);
    void sendInputReport(const SimulatedKeyboard* keyboard, const std::vector<uint8_t>& report);
    void eventsQueued(size_t count);
    void eventsDone(size_t count);  // dispatched, or dropped with their manager

  private:
    SimulatedHid() = default;

    mutable std::mutex mutex_;
    bool active_ = false;
    uint64_t nextArrival_ = 1;
    std::vector<std::shared_ptr<SimulatedKeyboard>> plugged_;
    std::vector<SimulatedHidManager*> managers_;

    // Apart from mutex_: counted under it (by the managers' on* calls) and on the managers' threads.
    std::mutex deliveryMutex_;
    std::condition_variable delivered_;
    size_t undelivered_ = 0;
};

}  // namespace keyloom
