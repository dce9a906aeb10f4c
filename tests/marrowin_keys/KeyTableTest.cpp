#include <gtest/gtest.h>

#include <sstream>

#include "Views/Keyboard/KeyLayout/KeyModels.h"
#include "Views/Keyboard/Marrowin/core/MarrowinKeyTable.h"
#include "support/MarrowinKeyRows.h"

namespace keyloom {
namespace {

// "02 01 06" -> {0x02, 0x01, 0x06}
std::vector<uint8_t> hex(const std::string& text) {
    std::istringstream in(text);
    std::vector<uint8_t> bytes;
    for (std::string item; in >> item;) bytes.push_back(static_cast<uint8_t>(std::stoul(item, nullptr, 16)));
    return bytes;
}

MarrowinKey record(int64_t code, int64_t type, int64_t value, int64_t value2 = 0, int64_t value3 = 0) {
    return test::marrowinKeyRow(code, type, value, value2, value3);
}

const KeyCodeMap& ostrel() {
    return findKeyModel(KeyModelId::Ostrel61)->codeMap();
}

// Every byte is zero but the mark at 638..639, and the slots named.
void expectOnly(const KeyTable& table, const std::map<size_t, std::string>& slots) {
    KeyTable expected{};
    expected[638] = 0xAA;
    expected[639] = 0x55;
    for (const auto& [offset, bytes] : slots) {
        const auto b = hex(bytes);
        std::copy(b.begin(), b.end(), expected.begin() + static_cast<std::ptrdiff_t>(offset));
    }
    EXPECT_EQ(table, expected);
}

TEST(KeyTable, EmptyProfileHoldsOnlyTheMark) {
    expectOnly(buildKeyTable({}, ostrel()), {});
}

// Records that write nothing: default (a row of a key put back), macro, types without a function, codes the map
// lacks, slots outside 1..158, combinations that fit no byte.
TEST(KeyTable, RecordsThatWriteNothing) {
    const KeyCodeMap odd{
        {100, codeRow("zero", "0", "zero", 0)},      {101, codeRow("low", "1", "low", 1)},
        {102, codeRow("high", "158", "high", 158)},  {103, codeRow("over", "159", "over", 159)},
        {104, codeRow("neg", "-1", "negative", -1)}, {105, codeRow("mark", "159", "at the mark", 160)},
    };
    const MarrowinKey nothing[] = {
        record(101, 1, 0),   record(101, 0, 5),      record(101, 4, 3),           record(101, 5, 3),  record(101, 9, 3),
        record(101, 3, 256), record(101, 3, 6, 300), record(101, 3, 6, 224, 256), record(101, 3, -4), record(100, 2, 1),
        record(103, 2, 1),   record(104, 2, 1),      record(105, 2, 1),           record(99, 2, 1),
    };
    for (const MarrowinKey& key : nothing) {
        SCOPED_TRACE(testing::PrintToString(std::vector<int64_t>{key.keyValue, key.macroType, key.macroValue}));
        const MarrowinKey records[] = {key};
        expectOnly(buildKeyTable(records, odd), {});
    }
    const MarrowinKey edges[] = {record(101, 2, 1), record(102, 7, 1)};
    expectOnly(buildKeyTable(edges, odd), {{4, "05 03 00 00"}, {632, "03 CD 00 00"}});
}

// Functions each group's table has, and numbers it lacks (zeros after the type byte).
TEST(KeyTable, GroupTables) {
    const struct {
        int64_t type, value;
        std::string slot;
    } cases[] = {
        {6, 1, "01 01 01"}, {6, 2, "01 01 04"}, {6, 3, "01 01 02"}, {6, 4, "01 01 03"}, {6, 5, "01 03 01"},
        {6, 6, "01 03 FF"}, {6, 7, "01 01 08"}, {6, 8, "01 01 10"}, {6, 0, "01 00 00"}, {6, 9, "01 00 00"},
        {7, 1, "03 CD 00"}, {7, 2, "03 B7 00"}, {7, 3, "03 B6 00"}, {7, 4, "03 B5 00"}, {7, 5, "03 E9 00"},
        {7, 6, "03 EA 00"}, {7, 7, "03 E2 00"}, {7, 8, "03 00 00"}, {8, 1, "02 00 47"}, {8, 2, "02 00 48"},
        {8, 3, "02 10 52"}, {8, 4, "02 08 06"}, {8, 5, "02 08 19"}, {8, 6, "02 08 1B"}, {8, 7, "02 00 00"},
        {2, 1, "05 03 00"}, {2, 7, "05 03 00"},
    };
    for (const auto& c : cases) {
        const auto slot = keySlotBytes(record(4, c.type, c.value));
        ASSERT_TRUE(slot) << c.type << " " << c.value;
        EXPECT_EQ(std::vector<uint8_t>(slot->begin(), slot->end()), hex(c.slot)) << c.type << " " << c.value;
    }
}

// Combination bytes: every modifier's bit in byte 1, the one other key in byte 2. Rows stored the old way (one
// code, or a modifier with a key) give the bytes they always gave; two modifiers and Caps Lock first do not.
TEST(KeyTable, CombinationBytes) {
    const struct {
        int64_t m, m2, m3;
        std::string bytes;
        bool asBefore;  // what the two-code rule gave
    } cases[] = {
        {4, 0, 0, "00 04", true},       // A
        {224, 0, 0, "01 00", true},     // Left Control alone
        {231, 0, 0, "80 00", true},     // Right GUI alone
        {57, 0, 0, "00 39", true},      // Caps Lock alone is a key
        {6, 224, 0, "01 06", true},     // Left Control + C
        {6, 230, 0, "40 06", true},     // Right Alt + C
        {225, 224, 0, "03 00", false},  // Left Control + Left Shift (was 01 02)
        {6, 57, 0, "00 06", false},     // Caps Lock + C (was 39 06)
        {224, 57, 0, "01 39", false},   // Caps Lock + Left Control
        {6, 224, 0x06, "07 06", true},  // Control + Shift + Alt + C
        {226, 224, 0x02, "07 00", true},
    };
    for (const auto& c : cases) {
        const auto bytes = combinationBytes(c.m, c.m2, c.m3);
        ASSERT_TRUE(bytes) << c.m << " " << c.m2;
        EXPECT_EQ(std::vector<uint8_t>(bytes->begin(), bytes->end()), hex(c.bytes)) << c.m << " " << c.m2;
        // The two-code rule: f(m2), f(m), except a modifier alone goes to byte 1.
        const auto f = [](int64_t x) { return modifierBit(x) ? *modifierBit(x) : static_cast<uint8_t>(x); };
        const std::array<uint8_t, 2> before =
            c.m2 == 0 && modifierBit(c.m) ? std::array<uint8_t, 2>{f(c.m), 0} : std::array<uint8_t, 2>{f(c.m2), f(c.m)};
        if (c.m3 == 0) {
            EXPECT_EQ(*bytes == before, c.asBefore) << c.m << " " << c.m2;
        }
    }
    EXPECT_FALSE(combinationBytes(256, 0, 0));
    EXPECT_FALSE(combinationBytes(6, -1, 0));
    EXPECT_FALSE(combinationBytes(6, 224, 0x100));
}

}  // namespace
}  // namespace keyloom
