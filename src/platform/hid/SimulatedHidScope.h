#pragma once

#include "platform/hid/SimulatedHid.h"

namespace keyloom {

// Activates the simulation for a scope and leaves it empty and inactive afterwards (tests).
class SimulatedHidScope {
  public:
    SimulatedHidScope() {
        SimulatedHid::instance().reset();
        SimulatedHid::instance().setActive(true);
    }
    ~SimulatedHidScope() { SimulatedHid::instance().reset(); }
    SimulatedHidScope(const SimulatedHidScope&) = delete;
    SimulatedHidScope& operator=(const SimulatedHidScope&) = delete;
};

}  // namespace keyloom
