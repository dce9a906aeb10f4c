#include <gtest/gtest.h>

#include "platform/hid/HidReportDescriptor.h"
#include "platform/hid/SimulatedKeyboard.h"

using namespace keyloom;
using Bytes = std::vector<uint8_t>;
using Pair = HidReportDescriptor::UsagePair;

namespace {

// A composite keyboard: keys (id 1: 7 bytes), consumer keys (id 2: 2 bytes), vendor feature/output (id 5: 7 bytes)
// and a larger vendor feature (id 6: 20 bytes), each application in its own collection.
const Bytes kComposite = {
    0x05, 0x01, 0x09, 0x06, 0xA1, 0x01, 0x85, 0x01, 0x05, 0x07, 0x19, 0xE0, 0x29, 0xE7, 0x15, 0x00,
    0x25, 0x01, 0x75, 0x01, 0x95, 0x08, 0x81, 0x02, 0x75, 0x08, 0x95, 0x06, 0x19, 0x00, 0x29, 0x65,
    0x81, 0x00, 0xC0, 0x05, 0x0C, 0x09, 0x01, 0xA1, 0x01, 0x85, 0x02, 0x75, 0x10, 0x95, 0x01, 0x81,
    0x00, 0xC0, 0x06, 0x00, 0xFF, 0x09, 0x01, 0xA1, 0x01, 0x85, 0x05, 0x75, 0x08, 0x95, 0x07, 0x09,
    0x02, 0xB1, 0x02, 0x09, 0x03, 0x91, 0x02, 0x85, 0x06, 0x95, 0x14, 0x09, 0x04, 0xB1, 0x02, 0xC0,
};

// 3 + 5 padding + 3 one-bit fields: 11 bits round up to 2 bytes.
const Bytes kBitFields = {0x05, 0x09, 0x09, 0x01, 0xA1, 0x01, 0x75, 0x01, 0x95, 0x03, 0x81, 0x02, 0x75,
                          0x05, 0x95, 0x01, 0x81, 0x01, 0x75, 0x01, 0x95, 0x03, 0x81, 0x02, 0xC0};
// Pop restores id 5 with 63 bytes after a pushed id 6 with 7.
const Bytes kPushPop = {0x06, 0x00, 0xFF, 0x09, 0x01, 0xA1, 0x01, 0x85, 0x05, 0x75, 0x08, 0x95,
                        0x3F, 0xA4, 0x85, 0x06, 0x95, 0x07, 0xB1, 0x02, 0xB4, 0xB1, 0x02, 0xC0};
// Only top-level collections are applications.
const Bytes kNested = {0x05, 0x01, 0x09, 0x02, 0xA1, 0x01, 0x09, 0x01, 0xA1,
                       0x00, 0x75, 0x08, 0x95, 0x03, 0x81, 0x02, 0xC0, 0xC0};
// A 4-byte usage names its own page, whatever page is in effect.
const Bytes kExtendedUsage = {0x05, 0x01, 0x0B, 0x01, 0x00, 0x0A, 0xFF, 0xA1, 0x01, 0xC0};

}  // namespace

// The sizes decide which interfaces the monitor keeps (8 for the first generation, 64 for the second): one byte
// off drops every keyboard. The report-id byte counts.
TEST(HidReportDescriptor, SizesOfRealShapedDescriptors) {
    struct Case {
        const char* name;
        Bytes bytes;
        bool ids;
        int64_t input, output, feature;
        std::vector<Pair> usages;
    };
    const auto first = SimulatedKeyboard::firstGenerationDescriptor();
    Bytes longItem = {0xFE, 0x02, 0x10, 0xAA, 0xBB};  // skipped whole
    longItem.insert(longItem.end(), first.begin(), first.end());
    const Case cases[] = {
        {"bootKeyboard", SimulatedKeyboard::bootKeyboardDescriptor(), false, 8, 1, 0, {{0x01, 0x06}}},
        {"firstGeneration", first, true, 0, 8, 8, {{0xFF00, 1}}},
        {"secondGeneration", SimulatedKeyboard::secondGenerationDescriptor(), true, 0, 0, 64, {{0xFF00, 1}}},
        {"receiver", SimulatedKeyboard::receiverDescriptor(), true, 32, 0, 0, {{0xFF00, 2}}},
        {"vendorKeys", SimulatedKeyboard::vendorKeyDescriptor(0xFF0A, 1), true, 16, 0, 0, {{0xFF0A, 1}}},
        {"composite", kComposite, true, 8, 8, 21, {{0x01, 0x06}, {0x0C, 0x01}, {0xFF00, 0x01}}},
        {"bitFields", kBitFields, false, 2, 0, 0, {{0x09, 0x01}}},
        {"extendedUsage", kExtendedUsage, false, 0, 0, 0, {{0xFF0A, 1}}},
        {"pushPop", kPushPop, true, 0, 0, 64, {{0xFF00, 1}}},
        {"nested", kNested, false, 3, 0, 0, {{0x01, 0x02}}},
        {"longItemSkipped", longItem, true, 0, 8, 8, {{0xFF00, 1}}},
        // Cut inside the last main item: the feature was seen, the output was not.
        {"truncated", Bytes(first.begin(), first.end() - 2), true, 0, 0, 8, {{0xFF00, 1}}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        const auto d = HidReportDescriptor::parse(c.bytes);
        EXPECT_EQ(d.usesReportIds(), c.ids);
        EXPECT_EQ(d.maxInputReportSize(), c.input);
        EXPECT_EQ(d.maxOutputReportSize(), c.output);
        EXPECT_EQ(d.maxFeatureReportSize(), c.feature);
        EXPECT_EQ(d.applicationUsages(), c.usages);
    }
    // Huge counts saturate instead of overflowing; no data is no descriptor.
    const Bytes huge = {0x77, 0xFF, 0xFF, 0xFF, 0xFF, 0x97, 0xFF, 0xFF, 0xFF, 0xFF, 0x81, 0x02, 0x26};
    EXPECT_GT(HidReportDescriptor::parse(huge).maxInputReportSize(), 0);
    EXPECT_EQ(HidReportDescriptor::parse(nullptr, 10).maxInputReportSize(), 0);
}
