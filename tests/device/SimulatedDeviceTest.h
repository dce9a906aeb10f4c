#pragma once

#include <gtest/gtest.h>

#include <memory>
#include <vector>

#include "platform/hid/SimulatedHid.h"
#include "platform/hid/SimulatedHidScope.h"
#include "platform/hid/SimulatedKeyboard.h"

namespace keyloom::test {

using Dir = SimulatedKeyboard::Direction;

// Suites whose channels talk to simulated keyboards; every test starts from an empty, active simulation.
class SimulatedDeviceTest : public ::testing::Test {
  protected:
    static std::shared_ptr<SimulatedKeyboard> plug(std::shared_ptr<SimulatedKeyboard> keyboard) {
        return SimulatedHid::instance().plug(std::move(keyboard));
    }

  private:
    SimulatedHidScope scope_;
};

// The data bytes a first-generation bulk write carried, reassembled from its output reports.
inline std::vector<uint8_t> carriedBytes(const std::vector<std::vector<uint8_t>>& reports, bool sevenPerReport) {
    std::vector<uint8_t> carried;
    for (size_t k = 0; k < reports.size(); ++k) {
        const size_t skip = (k > 0 && !sevenPerReport) ? 2 : 1;
        if (reports[k].size() < skip) continue;
        carried.insert(carried.end(), reports[k].begin() + static_cast<std::ptrdiff_t>(skip), reports[k].end());
    }
    return carried;
}

}  // namespace keyloom::test
