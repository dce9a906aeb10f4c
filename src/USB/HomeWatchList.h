#pragma once

#include <cstdint>
#include <vector>

#include "USB/HIDMonitorData.h"

namespace keyloom {

// The home screen's watch list, in its order: the first-generation keyboards, the Bluetooth link and the 2.4 GHz
// receiver under 0x1A2C, then the second-generation keyboards under 0x05AC.
std::vector<HIDMonitorData> homeWatchList();

// Size of the input-report buffer the home screen gives its monitor.
inline constexpr int64_t kHomeReportSize = 64;

}  // namespace keyloom
