#include <gtest/gtest.h>

#include <vector>

#include "platform/hid/HidItemReader.h"
#include "platform/hid/HidReportDescriptor.h"
#include "platform/hid/SimulatedKeyboard.h"
#include "platform/input/HidReportDecoder.h"

using namespace keyloom;

namespace {

using Bytes = std::vector<uint8_t>;
using T = HidItem::Type;

struct Read {
    std::vector<HidItem> items;
    bool truncated = false;
};

Read readAll(const Bytes& bytes) {
    Read r;
    HidItemReader reader(bytes.data(), bytes.size());
    while (auto item = reader.next()) r.items.push_back(*item);
    r.truncated = reader.truncated();
    EXPECT_FALSE(reader.next()) << "the walk stays ended";
    EXPECT_EQ(reader.truncated(), r.truncated);
    return r;
}

}  // namespace

// Every item size, the three item types, signed data, long items, and where a cut ends the walk.
TEST(HidItemReader, ItemsAndCuts) {
    struct Case {
        const char* name;
        Bytes bytes;
        size_t items;
        bool truncated;
    } const cases[] = {
        {"empty", {}, 0, false},
        {"sizes 0, 1, 2, 4", {0xC0, 0x05, 0x01, 0x26, 0xFF, 0x00, 0x27, 1, 2, 3, 4}, 4, false},
        {"cut short item", {0x05, 0x01, 0x26, 0xFF}, 1, true},
        {"cut 4-byte item", {0x27, 1, 2, 3}, 0, true},
        {"long item skipped", {0xFE, 0x02, 0x10, 0xAA, 0xBB, 0xC0}, 1, false},
        {"empty long item", {0xFE, 0x00, 0x10, 0xC0}, 1, false},
        {"cut long item header", {0xC0, 0xFE, 0x02}, 1, true},
        {"cut long item data", {0xC0, 0xFE, 0x05, 0x10, 0xAA}, 1, true},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        const Read r = readAll(c.bytes);
        EXPECT_EQ(r.items.size(), c.items);
        EXPECT_EQ(r.truncated, c.truncated);
    }

    const Read r = readAll({0xC0, 0x05, 0x01, 0x26, 0xFF, 0x00, 0x15, 0x81, 0x27, 1, 2, 3, 4, 0x85, 0x09});
    ASSERT_EQ(r.items.size(), 6u);
    EXPECT_EQ(r.items[0].type, T::Main);
    EXPECT_EQ(r.items[0].tag, 0xC);
    EXPECT_EQ(r.items[1].type, T::Global);
    EXPECT_EQ(r.items[1].data, 0x01u);
    EXPECT_EQ(r.items[2].data, 0xFFu);
    EXPECT_EQ(r.items[2].signedData(), 255);  // 0x00FF in two bytes is positive
    EXPECT_EQ(r.items[3].signedData(), -127);
    EXPECT_EQ(r.items[4].size, 4);
    EXPECT_EQ(r.items[4].data, 0x04030201u);
    EXPECT_EQ(r.items[5].type, T::Global);  // 0x85: Report ID
    EXPECT_EQ(r.items[5].tag, 0x8);
    EXPECT_EQ(r.items[5].data, 9u);
    EXPECT_FALSE(HidItemReader(nullptr, 10).next());
}

// One cut descriptor, the two consumers' stated answers: the sizes before the cut stay, the decoder refuses it.
TEST(HidItemReader, ConsumersOfACutDescriptor) {
    const Bytes whole = SimulatedKeyboard::vendorKeyDescriptor(0xFF0A, 1);
    ASSERT_TRUE(HidReportDecoder::parse(whole.data(), whole.size()));
    const int64_t wholeInput = HidReportDescriptor::parse(whole).maxInputReportSize();
    EXPECT_GT(wholeInput, 0);

    // Whole, then cut inside one more item: a short one, and a long one whose data runs past the end.
    for (const Bytes& tail : {Bytes{0x75}, Bytes{0xFE, 0x04, 0x10, 0xAA}}) {
        Bytes bytes = whole;
        bytes.insert(bytes.end(), tail.begin(), tail.end());
        EXPECT_FALSE(HidReportDecoder::parse(bytes.data(), bytes.size()));
        EXPECT_EQ(HidReportDescriptor::parse(bytes).maxInputReportSize(), wholeInput);
    }
}
