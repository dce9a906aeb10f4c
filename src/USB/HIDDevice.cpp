#include "USB/HIDDevice.h"

#include <cmath>

namespace keyloom {

HIDDevice::HIDDevice(HidHandleRef handle) : device(std::move(handle)) {
    const HidHandle* d = device.get();
    id = integerProperty(d, "LocationID");
    name = textProperty(d, "Product");
    vendorId = integerProperty(d, "VendorID");
    productId = integerProperty(d, "ProductID");
    reportSize = integerProperty(d, "MaxInputReportSize");
    featureSize = integerProperty(d, "MaxFeatureReportSize");
}

int64_t HIDDevice::integerProperty(const HidHandle* device, std::string_view key) {
    if (!device) return 0;
    const HidPropertyValue value = device->property(key);
    if (auto i = std::get_if<int64_t>(&value)) return *i;
    if (auto d = std::get_if<double>(&value)) {
        // -2^63 is exact in a double; 2^63 is the first value out of range.
        if (std::isfinite(*d) && std::trunc(*d) == *d && *d >= -9223372036854775808.0 && *d < 9223372036854775808.0)
            return static_cast<int64_t>(*d);
    }
    return 0;
}

std::string HIDDevice::textProperty(const HidHandle* device, std::string_view key) {
    if (!device) return {};
    const HidPropertyValue value = device->property(key);
    if (auto s = std::get_if<std::string>(&value)) return *s;
    return {};
}

}  // namespace keyloom
