#include "platform/input/KeyInputSource.h"

#include <algorithm>
#include <atomic>

namespace keyloom {

uint64_t KeyInputSource::nextDeviceId() {
    static std::atomic<uint64_t> next{1};
    return next.fetch_add(1, std::memory_order_relaxed);
}

bool matchesKeyboards(const std::vector<HidUsageMatch>& matching) {
    return std::any_of(matching.begin(), matching.end(), [](const HidUsageMatch& m) {
        return m.usagePage == kGenericDesktopPage && (m.usage == kKeyboardUsage || m.usage == kKeypadUsage);
    });
}

}  // namespace keyloom
