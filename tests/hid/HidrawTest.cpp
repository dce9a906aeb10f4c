#include <gtest/gtest.h>

#include <array>

#include "platform/hid/HidrawDeviceInfo.h"
#include "platform/hid/HidrawFraming.h"
#include "platform/hid/SimulatedKeyboard.h"

using namespace keyloom;
using Bytes = std::vector<uint8_t>;

namespace {

// What hidraw puts on the wire for a written buffer: byte 0 is the report number and is dropped when it is 0.
Bytes kernelSends(const Bytes& frame) {
    return !frame.empty() && frame[0] == 0 ? Bytes(frame.begin() + 1, frame.end()) : frame;
}

}  // namespace

TEST(Framing, KeyboardReceivesExactlyThePayload) {
    struct Case {
        const char* name;
        int64_t reportId;
        Bytes payload, frame;
    };
    const Case cases[] = {
        {"firstGeneration", 5, {0x05, 0xF4, 0, 0, 0, 0, 0, 0}, {0x05, 0xF4, 0, 0, 0, 0, 0, 0}},
        {"dataBlockStartingWithZero", 4, {0x00, 0x01, 0x02}, {0x00, 0x00, 0x01, 0x02}},
        {"unnumberedReport", 0, {0x01, 0x02}, {0x00, 0x01, 0x02}},
        {"unnumberedStartingWithZero", 0, {0x00, 0x01}, {0x00, 0x00, 0x01}},
        {"empty", 5, {}, {0x00}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        const Bytes frame = hidrawFrame(c.reportId, c.payload.data(), c.payload.size());
        EXPECT_EQ(frame, c.frame);
        EXPECT_EQ(kernelSends(frame), c.payload);
    }
    for (int first = 0; first < 256; ++first) {
        Bytes block(64, 0xAB);
        block[0] = static_cast<uint8_t>(first);
        EXPECT_EQ(kernelSends(hidrawFrame(4, block.data(), block.size())), block) << first;
    }
}

TEST(Framing, ReadBuffersKeepTheReportIdOfNumberedReportsOnly) {
    EXPECT_EQ(hidrawReadBuffer(5, 8), (Bytes{5, 0, 0, 0, 0, 0, 0, 0}));
    EXPECT_EQ(hidrawReadBuffer(0, 4), (Bytes{0, 0, 0, 0, 0}));
    const Bytes numbered = {5, 1, 2, 3, 4, 5, 6, 7}, unnumbered = {0, 9, 8, 7, 6};
    // Fewer bytes than the buffer, more than claimed, or a smaller output: never past either end.
    const std::tuple<int64_t, Bytes, size_t, size_t, Bytes> cases[] = {
        {5, numbered, 8, 8, numbered},   {0, unnumbered, 5, 4, {9, 8, 7, 6}}, {5, numbered, 3, 8, {5, 1, 2}},
        {5, numbered, 100, 8, numbered}, {5, numbered, 8, 2, {5, 1}},         {0, unnumbered, 1, 4, {}}};
    for (const auto& [id, buffer, received, outLength, expected] : cases) {
        Bytes out(outLength, 0xEE);
        out.resize(hidrawUnframeRead(id, buffer, received, out.data(), out.size()));
        EXPECT_EQ(out, expected) << id << " " << received << " " << outLength;
    }
}

TEST(HidrawDeviceInfo, ParsesHidId) {
    const std::pair<const char*, std::optional<std::array<int64_t, 3>>> cases[] = {
        {"0003:00001A2C:0000B57E", {{3, 0x1A2C, 0xB57E}}},
        {"0005:000005ac:0000024f", {{5, 0x05AC, 0x024F}}},
        {"0003:1A2C:B31F", {{3, 0x1A2C, 0xB31F}}},
        {"", {}},
        {"0003:00001A2C", {}},
        {"0003::0000B57E", {}},
        {"0003:00001A2C:0000B57G", {}},
        {"0003:100001A2C:0000B57E", {}},
        {"0003:00001A2C:0000B57E:", {}}};
    for (const auto& [text, expected] : cases) {
        const auto id = HidrawDeviceInfo::parseHidId(text);
        EXPECT_EQ(id ? std::optional(std::array{id->bus, id->vendorId, id->productId}) : std::nullopt, expected)
            << text;
    }
}

// "Product" is the USB product string over USB (never the HID name "maker product"), the HID name elsewhere.
TEST(HidrawDeviceInfo, ProductIsTheUsbStringOnUsbAndTheHidNameElsewhere) {
    const auto descriptor = HidReportDescriptor::parse(SimulatedKeyboard::secondGenerationDescriptor());
    const HidrawDeviceInfo::HidId usb{HidrawDeviceInfo::kBusUsb, 0x05AC, 0x024F};
    const HidrawDeviceInfo::HidId bt{HidrawDeviceInfo::kBusBluetooth, 0x1A2C, 0xB20D};
    const std::string path = "/sys/devices/pci0000:00/0000:00:14.0/usb1/1-4/1-4:1.1";

    auto p = HidrawDeviceInfo::properties(usb, "Velkor Ostrel TE", std::string("Ostrel TE"), descriptor, path);
    EXPECT_EQ(std::get<std::string>(p.at("Product")), "Ostrel TE");
    EXPECT_EQ(std::get<int64_t>(p.at("ProductID")), 0x024F);
    EXPECT_EQ(std::get<int64_t>(p.at("MaxFeatureReportSize")), 64);
    EXPECT_EQ(std::get<int64_t>(p.at("MaxInputReportSize")), 0);
    EXPECT_EQ(HidrawDeviceInfo::properties(usb, "Velkor Ostrel TE", std::nullopt, descriptor, path).count("Product"),
              0u);
    p = HidrawDeviceInfo::properties(bt, "RA VER IV", std::nullopt, descriptor, path);
    EXPECT_EQ(std::get<std::string>(p.at("Product")), "RA VER IV");
}
