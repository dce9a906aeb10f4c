#include "USB/HomeWatchList.h"

#include <algorithm>

#include "USB/KeyboardProducts.h"

namespace keyloom {

std::vector<HIDMonitorData> homeWatchList() {
    std::vector<HIDMonitorData> list;
    for (const KeyboardProduct& row : kKeyboardProducts) {
        if (row.productId == kAnyProductId) continue;
        const HIDMonitorData ids(row.vendorId, row.productId);
        if (std::find(list.begin(), list.end(), ids) == list.end()) list.push_back(ids);
    }
    return list;
}

}  // namespace keyloom
