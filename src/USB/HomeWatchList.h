#pragma once

#include <cstdint>
#include <vector>

#include "USB/HIDMonitorData.h"

namespace keyloom {

// The home screen's watch list: every product of the product table once, in the table's order (the first-generation
// keyboards, the Bluetooth link and the 2.4 GHz receiver, then the second-generation keyboards).
std::vector<HIDMonitorData> homeWatchList();

// Size of the input-report buffer the home screen gives its monitor.
inline constexpr int64_t kHomeReportSize = 64;

}  // namespace keyloom
