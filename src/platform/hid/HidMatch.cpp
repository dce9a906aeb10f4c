#include "platform/hid/HidMatch.h"

#include <algorithm>

namespace keyloom {

bool HidMatch::matches(int64_t deviceVendorId, int64_t deviceProductId,
                       const std::vector<HidReportDescriptor::UsagePair>& usages) const {
    if (vendorId && *vendorId != deviceVendorId) return false;
    if (productId && *productId != deviceProductId) return false;
    if (!usagePage && !usage) return true;
    return std::any_of(usages.begin(), usages.end(), [this](const HidReportDescriptor::UsagePair& u) {
        return (!usagePage || *usagePage == u.usagePage) && (!usage || *usage == u.usage);
    });
}

}  // namespace keyloom
