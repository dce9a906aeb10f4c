#include <gtest/gtest.h>

#include "platform/hid/HidReportDescriptor.h"
#include "platform/hid/SimulatedKeyboard.h"

using namespace keyloom;
using Pair = HidReportDescriptor::UsagePair;

namespace {

// A composite keyboard interface: keys (id 1), consumer keys (id 2), vendor command and bulk reports (id 5) and a
// larger vendor feature report (id 6), each in its own top-level collection.
const std::vector<uint8_t> kComposite = {
    0x05, 0x01, 0x09, 0x06, 0xA1, 0x01,              // Generic Desktop / Keyboard / Application
    0x85, 0x01,                                      //   Report ID 1
    0x05, 0x07, 0x19, 0xE0, 0x29, 0xE7, 0x15, 0x00,  //
    0x25, 0x01, 0x75, 0x01, 0x95, 0x08, 0x81, 0x02,  //   8 modifier bits
    0x75, 0x08, 0x95, 0x06, 0x19, 0x00, 0x29, 0x65,  //
    0x81, 0x00,                                      //   6 key bytes -> 7 bytes + id
    0xC0,                                            //
    0x05, 0x0C, 0x09, 0x01, 0xA1, 0x01,              // Consumer / Consumer Control / Application
    0x85, 0x02, 0x75, 0x10, 0x95, 0x01, 0x81, 0x00,  //   Report ID 2, 16 bits -> 2 bytes + id
    0xC0,                                            //
    0x06, 0x00, 0xFF, 0x09, 0x01, 0xA1, 0x01,        // Vendor / 1 / Application
    0x85, 0x05, 0x75, 0x08, 0x95, 0x07, 0x09, 0x02,  //   Report ID 5, 7 bytes
    0xB1, 0x02, 0x09, 0x03, 0x91, 0x02,              //   feature and output
    0x85, 0x06, 0x95, 0x14, 0x09, 0x04, 0xB1, 0x02,  //   Report ID 6, 20-byte feature
    0xC0,
};

struct DescriptorCase {
    const char* name;
    std::vector<uint8_t> bytes;
    bool ids;
    int64_t input, output, feature;
    std::vector<Pair> usages;
};

class DescriptorSizes : public ::testing::TestWithParam<DescriptorCase> {};

}  // namespace

// The sizes decide which interfaces the monitor keeps (8 for the first generation, 64 for the second): one byte
// off drops every keyboard.
TEST_P(DescriptorSizes, CountsFieldsAndTheReportIdByte) {
    const auto& c = GetParam();
    const auto d = HidReportDescriptor::parse(c.bytes);
    EXPECT_EQ(d.usesReportIds(), c.ids);
    EXPECT_EQ(d.maxInputReportSize(), c.input);
    EXPECT_EQ(d.maxOutputReportSize(), c.output);
    EXPECT_EQ(d.maxFeatureReportSize(), c.feature);
    EXPECT_EQ(d.applicationUsages(), c.usages);
}

INSTANTIATE_TEST_SUITE_P(
    RealShaped, DescriptorSizes,
    ::testing::Values(
        DescriptorCase{"bootKeyboard", SimulatedKeyboard::bootKeyboardDescriptor(), false, 8, 1, 0, {{0x01, 0x06}}},
        DescriptorCase{"firstGeneration", SimulatedKeyboard::firstGenerationDescriptor(), true, 0, 8, 8, {{0xFF00, 1}}},
        DescriptorCase{
            "secondGeneration", SimulatedKeyboard::secondGenerationDescriptor(), true, 0, 0, 64, {{0xFF00, 1}}},
        DescriptorCase{"receiver", SimulatedKeyboard::receiverDescriptor(), true, 32, 0, 0, {{0xFF00, 2}}},
        DescriptorCase{"vendorKeys", SimulatedKeyboard::vendorKeyDescriptor(0xFF0A, 1), true, 16, 0, 0, {{0xFF0A, 1}}},
        DescriptorCase{"composite", kComposite, true, 8, 8, 21, {{0x01, 0x06}, {0x0C, 0x01}, {0xFF00, 0x01}}},
        DescriptorCase{"empty", {}, false, 0, 0, 0, {}}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(HidReportDescriptor, SizesPerReportId) {
    const auto d = HidReportDescriptor::parse(kComposite);
    EXPECT_EQ(d.reportSize(0, 1), 8);
    EXPECT_EQ(d.reportSize(0, 2), 3);
    EXPECT_EQ(d.reportSize(2, 5), 8);
    EXPECT_EQ(d.reportSize(1, 5), 8);
    EXPECT_EQ(d.reportSize(2, 6), 21);
    EXPECT_EQ(d.reportSize(2, 1), 0);
    EXPECT_EQ(d.primaryUsagePage(), 0x01);
    EXPECT_EQ(d.primaryUsage(), 0x06);
}

TEST(HidReportDescriptor, BitFieldsRoundUpToWholeBytes) {
    // 3 one-bit buttons + 5 bits padding, then 3 more bits: 11 bits -> 2 bytes, no report id.
    const std::vector<uint8_t> bytes = {0x05, 0x09, 0x09, 0x01, 0xA1, 0x01, 0x75, 0x01, 0x95, 0x03, 0x81, 0x02, 0x75,
                                        0x05, 0x95, 0x01, 0x81, 0x01, 0x75, 0x01, 0x95, 0x03, 0x81, 0x02, 0xC0};
    EXPECT_EQ(HidReportDescriptor::parse(bytes).maxInputReportSize(), 2);
}

TEST(HidReportDescriptor, ExtendedUsageCarriesItsOwnPage) {
    // Usage page 1 in effect, but a 4-byte usage names page 0xFF0A usage 1.
    const std::vector<uint8_t> bytes = {0x05, 0x01, 0x0B, 0x01, 0x00, 0x0A, 0xFF, 0xA1, 0x01, 0xC0};
    EXPECT_EQ(HidReportDescriptor::parse(bytes).applicationUsages(), (std::vector<Pair>{{0xFF0A, 1}}));
}

TEST(HidReportDescriptor, PushPopRestoresGlobals) {
    const std::vector<uint8_t> bytes = {0x06, 0x00, 0xFF, 0x09, 0x01, 0xA1, 0x01,  // vendor collection
                                        0x85, 0x05, 0x75, 0x08, 0x95, 0x07,        // id 5, 7 bytes
                                        0xA4,                                      // push
                                        0x85, 0x06, 0x95, 0x3F, 0xB1, 0x02,        // id 6: 63 bytes feature
                                        0xB4,                                      // pop: back to id 5, 7 bytes
                                        0xB1, 0x02, 0xC0};
    const auto d = HidReportDescriptor::parse(bytes);
    EXPECT_EQ(d.reportSize(2, 6), 64);
    EXPECT_EQ(d.reportSize(2, 5), 8);
}

TEST(HidReportDescriptor, NestedCollectionsAreNotApplications) {
    const std::vector<uint8_t> bytes = {0x05, 0x01, 0x09, 0x02, 0xA1, 0x01, 0x09, 0x01, 0xA1,
                                        0x00, 0x75, 0x08, 0x95, 0x03, 0x81, 0x02, 0xC0, 0xC0};
    const auto d = HidReportDescriptor::parse(bytes);
    EXPECT_EQ(d.applicationUsages(), (std::vector<Pair>{{0x01, 0x02}}));
    EXPECT_EQ(d.maxInputReportSize(), 3);
}

TEST(HidReportDescriptor, MalformedInputKeepsWhatWasParsed) {
    auto first = SimulatedKeyboard::firstGenerationDescriptor();
    // A long item in front is skipped whole.
    std::vector<uint8_t> withLong = {0xFE, 0x02, 0x10, 0xAA, 0xBB};
    withLong.insert(withLong.end(), first.begin(), first.end());
    EXPECT_EQ(HidReportDescriptor::parse(withLong).maxFeatureReportSize(), 8);

    // Cut inside the last main item's data: the feature was seen, the output was not.
    std::vector<uint8_t> cut(first.begin(), first.end() - 2);
    const auto d = HidReportDescriptor::parse(cut);
    EXPECT_EQ(d.maxFeatureReportSize(), 8);
    EXPECT_EQ(d.maxOutputReportSize(), 0);

    // Huge counts saturate instead of overflowing; a truncated item at the end is ignored.
    const std::vector<uint8_t> huge = {0x77, 0xFF, 0xFF, 0xFF, 0xFF, 0x97, 0xFF, 0xFF, 0xFF, 0xFF, 0x81, 0x02, 0x26};
    EXPECT_GT(HidReportDescriptor::parse(huge).maxInputReportSize(), 0);
    EXPECT_EQ(HidReportDescriptor::parse(nullptr, 10).maxInputReportSize(), 0);
}
