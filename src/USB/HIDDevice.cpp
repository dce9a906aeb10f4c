#include "USB/HIDDevice.h"

namespace keyloom {

HIDDevice::HIDDevice(HidHandleRef handle) : device(std::move(handle)) {
    if (!device) return;
    const HidHandle& d = *device;
    id = integerProperty(d, "LocationID");
    name = textProperty(d, "Product");
    vendorId = integerProperty(d, "VendorID");
    productId = integerProperty(d, "ProductID");
    reportSize = integerProperty(d, "MaxInputReportSize");
    featureSize = integerProperty(d, "MaxFeatureReportSize");
}

}  // namespace keyloom
