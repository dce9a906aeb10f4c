#pragma once

#include <cstdint>
#include <functional>
#include <map>
#include <optional>
#include <string>
#include <string_view>

#include "platform/hid/HidHandle.h"
#include "platform/hid/HidReportDescriptor.h"

namespace keyloom {

// Turns what udev and sysfs say about a hidraw node into the device properties of the HID layer.
class HidrawDeviceInfo {
  public:
    using Properties = std::map<std::string, HidPropertyValue, std::less<>>;

    static constexpr int64_t kBusUsb = 0x03;
    static constexpr int64_t kBusBluetooth = 0x05;

    struct HidId {
        int64_t bus = 0;
        int64_t vendorId = 0;
        int64_t productId = 0;
    };

    // The hid device's HID_ID, "BBBB:VVVVVVVV:PPPPPPPP" in hexadecimal.
    static std::optional<HidId> parseHidId(std::string_view text);
    // A stable number for the place the device is plugged in (its parent's sysfs path).
    static int64_t locationId(std::string_view physicalPath);
    // "Product" is the USB product string on USB (absent when the device has none) and HID_NAME elsewhere.
    static Properties properties(const HidId& id, std::string_view hidName,
                                 const std::optional<std::string>& usbProduct, const HidReportDescriptor& descriptor,
                                 std::string_view physicalPath);
};

}  // namespace keyloom
