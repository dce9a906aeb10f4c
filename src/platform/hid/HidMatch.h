#pragma once

#include <cstdint>
#include <optional>
#include <vector>

#include "platform/hid/HidReportDescriptor.h"

namespace keyloom {

// One matching dictionary of a HID manager: every key that is set must equal the device's value. The usage page
// and usage match any of the device's top-level application collections.
struct HidMatch {
    std::optional<int64_t> vendorId;
    std::optional<int64_t> productId;
    std::optional<int64_t> usagePage;
    std::optional<int64_t> usage;

    static HidMatch product(int64_t vendorId, int64_t productId) { return {vendorId, productId, {}, {}}; }
    static HidMatch usagePair(int64_t usagePage, int64_t usage) { return {{}, {}, usagePage, usage}; }

    bool matches(int64_t deviceVendorId, int64_t deviceProductId,
                 const std::vector<HidReportDescriptor::UsagePair>& usages) const;
};

}  // namespace keyloom
