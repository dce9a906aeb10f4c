#include <gtest/gtest.h>

#include "platform/input/HidReportDecoder.h"

namespace keyloom {
namespace {

using Bytes = std::vector<uint8_t>;
using Values = std::vector<HidInputValue>;

// The vendor interface (page 0xFF0A, usage 1, report id 6) shaped like a keyboard report, then a consumer-control
// collection (report id 3).
const Bytes kDescriptor = {
    0x06, 0x0A, 0xFF, 0x09, 0x01, 0xA1, 0x01, 0x85, 0x06,                          // vendor application, id 6
    0x05, 0x07, 0x19, 0xE0, 0x29, 0xE7, 0x15, 0x00, 0x25, 0x01,                    // modifiers E0..E7, 0..1
    0x75, 0x01, 0x95, 0x08, 0x81, 0x02,                                            // 8 x 1 bit, variable
    0x95, 0x01, 0x75, 0x08, 0x81, 0x01,                                            // padding byte
    0x19, 0x00, 0x2A, 0xFF, 0x00, 0x26, 0xFF, 0x00, 0x95, 0x06, 0x81, 0x00,        // 6-slot key array
    0x06, 0x0A, 0xFF, 0x09, 0x20, 0x15, 0x81, 0x25, 0x7F, 0x95, 0x01, 0x81, 0x06,  // dial -127..127, relative
    0xC0,                                                                          // end
    0x05, 0x0C, 0x09, 0x01, 0xA1, 0x01, 0x85, 0x03,                                // consumer application, id 3
    0x19, 0x00, 0x2A, 0x3C, 0x02, 0x15, 0x00, 0x26, 0x3C, 0x02,                    // usages 0..0x23C
    0x75, 0x10, 0x95, 0x01, 0x81, 0x00, 0xC0,                                      // one 16-bit slot, end
};

TEST(HidReportDecoder, VendorReportsBecomeOneChangePerElement) {
    auto d = HidReportDecoder::parse(kDescriptor.data(), kDescriptor.size());
    ASSERT_TRUE(d);
    EXPECT_EQ(d->collections(), (std::vector<HidUsageMatch>{{0xFF0A, 0x01}, {0x0C, 0x01}}));
    d->restrictTo({{0xFF0A, 0x01}});
    const struct {
        const char* name;
        Bytes report;
        Values changes;
    } steps[] = {
        {"left shift and A", {6, 0x02, 0, 0x04, 0, 0, 0, 0, 0, 0}, {{7, 0xE1, 1}, {7, 0x04, 1}}},
        {"the same report again", {6, 0x02, 0, 0x04, 0, 0, 0, 0, 0, 0}, {}},
        {"B joins", {6, 0x02, 0, 0x04, 0x05, 0, 0, 0, 0, 0}, {{7, 0x05, 1}}},
        {"shift and A let go", {6, 0x00, 0, 0x05, 0, 0, 0, 0, 0, 0}, {{7, 0xE1, 0}, {7, 0x04, 0}}},
        {"right control, dial -1", {6, 0x10, 0, 0x05, 0, 0, 0, 0, 0, 0xFF}, {{7, 0xE4, 1}, {0xFF0A, 0x20, -1}}},
        {"report of another collection", {3, 0xE9, 0x00}, {}},
        {"truncated report decodes what fits", {6, 0x00}, {{7, 0xE4, 0}}},
        {"empty slots release everything", {6, 0, 0, 0, 0, 0, 0, 0, 0, 0}, {{7, 0x05, 0}, {0xFF0A, 0x20, 0}}},
    };
    for (const auto& s : steps) {
        SCOPED_TRACE(s.name);
        EXPECT_EQ(d->decode(s.report.data(), s.report.size()), s.changes);
    }
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
}

}  // namespace
}  // namespace keyloom
