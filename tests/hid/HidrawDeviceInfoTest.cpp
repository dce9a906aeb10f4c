#include <gtest/gtest.h>

#include "platform/hid/HidrawDeviceInfo.h"
#include "platform/hid/SimulatedKeyboard.h"

using namespace keyloom;

TEST(HidrawDeviceInfo, ParsesHidId) {
    struct Case {
        const char* text;
        bool ok;
        int64_t bus, vendor, product;
    };
    const Case cases[] = {
        {"0003:00001A2C:0000B57E", true, 3, 0x1A2C, 0xB57E},
        {"0005:000005ac:0000024f", true, 5, 0x05AC, 0x024F},
        {"0003:1A2C:B31F", true, 3, 0x1A2C, 0xB31F},
        {"", false, 0, 0, 0},
        {"0003:00001A2C", false, 0, 0, 0},
        {"0003::0000B57E", false, 0, 0, 0},
        {"0003:00001A2C:0000B57G", false, 0, 0, 0},
        {"0003:100001A2C:0000B57E", false, 0, 0, 0},
        {"0003:00001A2C:0000B57E:", false, 0, 0, 0},
    };
    for (const auto& c : cases) {
        auto id = HidrawDeviceInfo::parseHidId(c.text);
        ASSERT_EQ(id.has_value(), c.ok) << c.text;
        if (!id) continue;
        EXPECT_EQ(id->bus, c.bus) << c.text;
        EXPECT_EQ(id->vendorId, c.vendor) << c.text;
        EXPECT_EQ(id->productId, c.product) << c.text;
    }
}

TEST(HidrawDeviceInfo, ProductIsTheUsbStringOnUsbAndTheHidNameElsewhere) {
    const auto descriptor = HidReportDescriptor::parse(SimulatedKeyboard::secondGenerationDescriptor());
    const HidrawDeviceInfo::HidId usb{HidrawDeviceInfo::kBusUsb, 0x05AC, 0x024F};
    const HidrawDeviceInfo::HidId bt{HidrawDeviceInfo::kBusBluetooth, 0x1A2C, 0xB20D};
    const std::string path = "/sys/devices/pci0000:00/0000:00:14.0/usb1/1-4/1-4:1.1";

    auto p = HidrawDeviceInfo::properties(usb, "Velkor Ostrel TE", std::string("Ostrel TE"), descriptor, path);
    EXPECT_EQ(std::get<std::string>(p.at("Product")), "Ostrel TE");
    EXPECT_EQ(std::get<int64_t>(p.at("VendorID")), 0x05AC);
    EXPECT_EQ(std::get<int64_t>(p.at("ProductID")), 0x024F);
    EXPECT_EQ(std::get<int64_t>(p.at("MaxFeatureReportSize")), 64);
    EXPECT_EQ(std::get<int64_t>(p.at("MaxInputReportSize")), 0);
    EXPECT_EQ(std::get<int64_t>(p.at("PrimaryUsagePage")), 0xFF00);

    // A USB device without a product string has no "Product"; the HID name ("maker product") is not used.
    p = HidrawDeviceInfo::properties(usb, "Velkor Ostrel TE", std::nullopt, descriptor, path);
    EXPECT_EQ(p.count("Product"), 0u);

    p = HidrawDeviceInfo::properties(bt, "RA VER IV", std::nullopt, descriptor, path);
    EXPECT_EQ(std::get<std::string>(p.at("Product")), "RA VER IV");
}

TEST(HidrawDeviceInfo, LocationIdIsStablePerPlace) {
    const auto a = HidrawDeviceInfo::locationId("/sys/devices/pci0000:00/usb1/1-4/1-4:1.0");
    EXPECT_EQ(a, HidrawDeviceInfo::locationId("/sys/devices/pci0000:00/usb1/1-4/1-4:1.0"));
    EXPECT_NE(a, HidrawDeviceInfo::locationId("/sys/devices/pci0000:00/usb1/1-3/1-3:1.0"));
    EXPECT_GE(a, 0);
}
