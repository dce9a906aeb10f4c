#include <gtest/gtest.h>

#include "platform/input/HidReportDecoder.h"

namespace keyloom {
namespace {

using Bytes = std::vector<uint8_t>;
using Values = std::vector<HidInputValue>;

// A vendor-defined interface (page 0xFF0A, usage 1) in the shape of a keyboard report with report id 6 (modifier
// bits, a padding byte, a six-slot key array, a signed dial), followed by a consumer-control collection (id 3).
const Bytes kDescriptor = {
    0x06, 0x0A, 0xFF,  // Usage Page (0xFF0A)
    0x09, 0x01,        // Usage (1)
    0xA1, 0x01,        // Collection (Application)
    0x85, 0x06,        //   Report ID (6)
    0x05, 0x07,        //   Usage Page (Keyboard)
    0x19, 0xE0,        //   Usage Minimum (0xE0)
    0x29, 0xE7,        //   Usage Maximum (0xE7)
    0x15, 0x00,        //   Logical Minimum (0)
    0x25, 0x01,        //   Logical Maximum (1)
    0x75, 0x01,        //   Report Size (1)
    0x95, 0x08,        //   Report Count (8)
    0x81, 0x02,        //   Input (Data, Variable)
    0x95, 0x01,        //   Report Count (1)
    0x75, 0x08,        //   Report Size (8)
    0x81, 0x01,        //   Input (Constant)
    0x19, 0x00,        //   Usage Minimum (0)
    0x2A, 0xFF, 0x00,  //   Usage Maximum (0xFF)
    0x26, 0xFF, 0x00,  //   Logical Maximum (255)
    0x95, 0x06,        //   Report Count (6)
    0x81, 0x00,        //   Input (Data, Array)
    0x06, 0x0A, 0xFF,  //   Usage Page (0xFF0A)
    0x09, 0x20,        //   Usage (0x20)
    0x15, 0x81,        //   Logical Minimum (-127)
    0x25, 0x7F,        //   Logical Maximum (127)
    0x95, 0x01,        //   Report Count (1)
    0x81, 0x06,        //   Input (Data, Variable, Relative)
    0xC0,              // End Collection
    0x05, 0x0C,        // Usage Page (Consumer)
    0x09, 0x01,        // Usage (Consumer Control)
    0xA1, 0x01,        // Collection (Application)
    0x85, 0x03,        //   Report ID (3)
    0x19, 0x00,        //   Usage Minimum (0)
    0x2A, 0x3C, 0x02,  //   Usage Maximum (0x23C)
    0x15, 0x00,        //   Logical Minimum (0)
    0x26, 0x3C, 0x02,  //   Logical Maximum (0x23C)
    0x75, 0x10,        //   Report Size (16)
    0x95, 0x01,        //   Report Count (1)
    0x81, 0x00,        //   Input (Data, Array)
    0xC0,              // End Collection
};

HidReportDecoder vendorDecoder() {
    auto d = HidReportDecoder::parse(kDescriptor.data(), kDescriptor.size());
    EXPECT_TRUE(d.has_value());
    d->restrictTo({{0xFF0A, 0x01}});
    return *d;
}

Values decode(HidReportDecoder& d, const Bytes& report) {
    return d.decode(report.data(), report.size());
}

TEST(HidReportDecoder, FindsTopLevelCollections) {
    auto d = HidReportDecoder::parse(kDescriptor.data(), kDescriptor.size());
    ASSERT_TRUE(d);
    EXPECT_EQ(d->collections(), (std::vector<HidUsageMatch>{{0xFF0A, 0x01}, {0x0C, 0x01}}));
    EXPECT_TRUE(d->usesReportIds());
    EXPECT_TRUE(d->hasCollection({{0x01, 0x06}, {0xFF0A, 0x01}}));
    EXPECT_FALSE(d->hasCollection({{0x01, 0x06}}));
    EXPECT_EQ(d->fields().size(), 4u);  // padding is left out
}

TEST(HidReportDecoder, VendorReportsBecomeOneChangePerElement) {
    HidReportDecoder d = vendorDecoder();
    struct Case {
        const char* name;
        Bytes report;
        Values changes;
    };
    const Case steps[] = {
        {"left shift and A", {6, 0x02, 0, 0x04, 0, 0, 0, 0, 0, 0}, {{7, 0xE1, 1}, {7, 0x04, 1}}},
        {"the same report again", {6, 0x02, 0, 0x04, 0, 0, 0, 0, 0, 0}, {}},
        {"B joins", {6, 0x02, 0, 0x04, 0x05, 0, 0, 0, 0, 0}, {{7, 0x05, 1}}},
        {"shift and A let go", {6, 0x00, 0, 0x05, 0, 0, 0, 0, 0, 0}, {{7, 0xE1, 0}, {7, 0x04, 0}}},
        {"right control, dial -1", {6, 0x10, 0, 0x05, 0, 0, 0, 0, 0, 0xFF}, {{7, 0xE4, 1}, {0xFF0A, 0x20, -1}}},
        {"report of another collection", {3, 0xE9, 0x00}, {}},
        {"truncated report decodes what fits", {6, 0x00}, {{7, 0xE4, 0}}},
        {"empty slots release everything", {6, 0, 0, 0, 0, 0, 0, 0, 0, 0}, {{7, 0x05, 0}, {0xFF0A, 0x20, 0}}},
    };
    for (const Case& s : steps) {
        SCOPED_TRACE(s.name);
        EXPECT_EQ(decode(d, s.report), s.changes);
    }
}

TEST(HidReportDecoder, ConsumerCollectionWhenChosen) {
    auto d = HidReportDecoder::parse(kDescriptor.data(), kDescriptor.size());
    ASSERT_TRUE(d);
    d->restrictTo({{0x0C, 0x01}});
    EXPECT_EQ(decode(*d, {3, 0xE9, 0x00}), (Values{{0x0C, 0xE9, 1}}));
    EXPECT_EQ(decode(*d, {3, 0x00, 0x00}), (Values{{0x0C, 0xE9, 0}}));
    EXPECT_EQ(decode(*d, {6, 0x02, 0, 4, 0, 0, 0, 0, 0, 0}), Values{});
}

TEST(HidReportDecoder, RejectsMalformedDescriptors) {
    const Bytes cases[] = {
        {0x05},                                      // item cut short
        {0xC0},                                      // End Collection without Collection
        {0xA1, 0x01, 0x09, 0x01},                    // collection never closed
        {0xB4},                                      // Pop without Push
        {0x85, 0x00},                                // report id 0
        {0x75, 0x20, 0x96, 0xFF, 0xFF, 0x81, 0x02},  // far more bits than any report
    };
    for (const Bytes& c : cases) EXPECT_FALSE(HidReportDecoder::parse(c.data(), c.size()).has_value());
    EXPECT_TRUE(HidReportDecoder::parse(nullptr, 0).has_value());
}

}  // namespace
}  // namespace keyloom
