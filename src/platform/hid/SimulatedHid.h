#pragma once

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

    // For SimulatedHidManager.
    void attach(SimulatedHidManager* manager);
    void detach(SimulatedHidManager* manager);
    void sendInputReport(const SimulatedKeyboard* keyboard, const std::vector<uint8_t>& report);

  private:
    SimulatedHid() = default;

    mutable std::mutex mutex_;
    bool active_ = false;
    uint64_t nextArrival_ = 1;
    std::vector<std::shared_ptr<SimulatedKeyboard>> plugged_;
    std::vector<SimulatedHidManager*> managers_;
};

}  // namespace keyloom
