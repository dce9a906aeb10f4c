#pragma once

#include <cstdint>
#include <string>

#include "platform/hid/HidHandle.h"

namespace keyloom {

// Snapshot of one HID device's identity and report sizes, read from its properties. Copies share the handle;
// "same device" is decided by comparing device handles, never these fields.
struct HIDDevice {
    int64_t id = 0;           // "LocationID"
    int64_t vendorId = 0;     // "VendorID"
    int64_t productId = 0;    // "ProductID"
    int64_t reportSize = 0;   // "MaxInputReportSize"
    int64_t featureSize = 0;  // "MaxFeatureReportSize"
    HidHandleRef device;
    std::string name;  // "Product"

    HIDDevice() = default;
    // Never fails: a property that is absent or not of the right kind gives 0 or "".
    explicit HIDDevice(HidHandleRef device);
};

}  // namespace keyloom
