#include "platform/hid/HidrawDeviceInfo.h"

namespace keyloom {

namespace {

std::optional<int64_t> parseHex(std::string_view text) {
    if (text.empty() || text.size() > 8) return std::nullopt;
    int64_t value = 0;
    for (char c : text) {
        int digit;
        if (c >= '0' && c <= '9')
            digit = c - '0';
        else if (c >= 'a' && c <= 'f')
            digit = c - 'a' + 10;
        else if (c >= 'A' && c <= 'F')
            digit = c - 'A' + 10;
        else
            return std::nullopt;
        value = value * 16 + digit;
    }
    return value;
}

}  // namespace

std::optional<HidrawDeviceInfo::HidId> HidrawDeviceInfo::parseHidId(std::string_view text) {
    const size_t first = text.find(':');
    if (first == std::string_view::npos) return std::nullopt;
    const size_t second = text.find(':', first + 1);
    if (second == std::string_view::npos) return std::nullopt;
    auto bus = parseHex(text.substr(0, first));
    auto vendor = parseHex(text.substr(first + 1, second - first - 1));
    auto product = parseHex(text.substr(second + 1));
    if (!bus || !vendor || !product) return std::nullopt;
    return HidId{*bus, *vendor, *product};
}

int64_t HidrawDeviceInfo::locationId(std::string_view physicalPath) {
    uint32_t hash = 2166136261u;  // FNV-1a
    for (unsigned char c : physicalPath) {
        hash ^= c;
        hash *= 16777619u;
    }
    return static_cast<int64_t>(hash & 0x7FFFFFFF);
}

HidrawDeviceInfo::Properties HidrawDeviceInfo::properties(const HidId& id, std::string_view hidName,
                                                          const std::optional<std::string>& usbProduct,
                                                          const HidReportDescriptor& descriptor,
                                                          std::string_view physicalPath) {
    Properties p;
    p["LocationID"] = locationId(physicalPath);
    p["VendorID"] = id.vendorId;
    p["ProductID"] = id.productId;
    if (id.bus == kBusUsb) {
        if (usbProduct) p["Product"] = *usbProduct;
    } else if (!hidName.empty()) {
        p["Product"] = std::string(hidName);
    }
    p["MaxInputReportSize"] = descriptor.maxInputReportSize();
    p["MaxOutputReportSize"] = descriptor.maxOutputReportSize();
    p["MaxFeatureReportSize"] = descriptor.maxFeatureReportSize();
    p["PrimaryUsagePage"] = descriptor.primaryUsagePage();
    p["PrimaryUsage"] = descriptor.primaryUsage();
    return p;
}

}  // namespace keyloom
