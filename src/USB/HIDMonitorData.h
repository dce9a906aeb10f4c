#pragma once

#include <cstdint>

namespace keyloom {

// One row of the device monitor's watch list.
struct HIDMonitorData {
    int64_t vendorId = 0;
    int64_t productId = 0;

    HIDMonitorData(int64_t vendorId, int64_t productId) : vendorId(vendorId), productId(productId) {}
    bool operator==(const HIDMonitorData&) const = default;
};

}  // namespace keyloom
