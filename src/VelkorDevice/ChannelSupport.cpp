#include "VelkorDevice/ChannelSupport.h"

#include <cmath>

namespace keyloom {

int64_t integerProperty(const HidHandle& device, std::string_view key) {
    const HidPropertyValue value = device.property(key);
    if (const auto* i = std::get_if<int64_t>(&value)) return *i;
    if (const auto* d = std::get_if<double>(&value)) {
        // 2^63 itself is not representable as int64; the range test is on the half-open interval.
        if (std::isfinite(*d) && std::trunc(*d) == *d && *d >= -9223372036854775808.0 && *d < 9223372036854775808.0)
            return static_cast<int64_t>(*d);
    }
    return 0;
}

}  // namespace keyloom
