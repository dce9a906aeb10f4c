#include <gtest/gtest.h>

#include <algorithm>

#include "Views/Keyboard/KeyLayout/KeyModels.h"
#include "Views/Keyboard/Marrowin/core/MarrowinKeyCaps.h"

namespace keyloom {
namespace {

const KeyModel& model(KeyModelId id) {
    const KeyModel* m = findKeyModel(id);
    if (!m) throw std::runtime_error("model missing from the build");
    return *m;
}

std::vector<std::string> capNames(const KeyModel& m) {
    std::vector<std::string> names;
    for (const KeyLayoutRow& row : m.keys()) names.push_back(row.key_standard_name);
    return names;
}

std::vector<std::string> namesOf(const std::vector<size_t>& caps, const std::vector<std::string>& names) {
    std::vector<std::string> out;
    for (size_t cap : caps) out.push_back(names.at(cap));
    return out;
}

// A code finds the cap of its name; its "pos_index" (swapped for left Alt/Win in the tables) only when no cap has
// the name; nothing when neither leads to a cap.
TEST(MarrowinKeyCaps, CodeFindsItsCapByName) {
    const auto& ostrel = model(KeyModelId::Ostrel61);
    const auto names = capNames(ostrel);
    const auto find = [&](int64_t code) { return capOfCode(code, ostrel.codeMap(), names); };
    const auto capNamed = [&](const char* name) {
        return static_cast<size_t>(std::find(names.begin(), names.end(), name) - names.begin());
    };
    EXPECT_EQ(find(41), capNamed("escape"));
    EXPECT_EQ(find(226), capNamed("leftAlt"));
    EXPECT_EQ(find(227), capNamed("leftWin"));
    EXPECT_NE(find(226), 54u);           // its "pos_index", the left Win cap
    EXPECT_EQ(find(72), 45u);            // pause has no cap of its own: "pos_index"
    EXPECT_EQ(find(58), std::nullopt);   // F1: neither a cap nor a "pos_index"
    EXPECT_EQ(find(999), std::nullopt);  // no row

    const KeyCodeMap odd{{4, codeRow("nothere", "A", "A", 56, 61)}, {5, codeRow("nothere2", "B", "B", 57, -1)}};
    EXPECT_EQ(capOfCode(4, odd, names), std::nullopt);  // position past the last cap
    EXPECT_EQ(capOfCode(5, odd, names), std::nullopt);  // negative position, no cap of that name
    EXPECT_EQ(capOfCode(4, odd, {}), std::nullopt);
}

TEST(MarrowinKeyCaps, GroupsPerDeviceType) {
    const std::vector<std::string> wasd = {"w", "a", "s", "d"};
    const std::vector<std::string> substitutes = {"slash", "rightAlt", "menu", "rightControl"};
    const std::vector<std::string> arrows = {"upArrow", "leftArrow", "downArrow", "rightArrow"};
    struct Case {
        KeyModelId model;
        int64_t deviceType;
        std::vector<std::string> group652;
    };
    const std::vector<Case> cases = {
        {KeyModelId::MarrowinV2_71, 1, arrows},     {KeyModelId::Ostrel61, 100, substitutes},
        {KeyModelId::Tolmek84, 101, arrows},        {KeyModelId::Vindle68, 102, arrows},
        {KeyModelId::Ostrel61, 103, substitutes},  // the same picture and maps as 100
        {KeyModelId::OstrelTE61, 105, substitutes}, {KeyModelId::OstrelTE62, 106, substitutes},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.deviceType);
        const auto& m = model(c.model);
        const auto names = capNames(m);
        const auto group = [&](int64_t tag) { return groupCaps(tag, c.deviceType, m.codeMap(), names); };
        ASSERT_TRUE(group(650) && group(651) && group(652) && group(653) && group(654));
        EXPECT_EQ(group(650)->size(), names.size());
        EXPECT_EQ(namesOf(*group(651), names), wasd);
        EXPECT_EQ(namesOf(*group(652), names), c.group652);
        EXPECT_EQ(*group(653), (std::vector<size_t>{1, 2, 3, 4, 5, 6, 7, 8, 9, 10}));
        EXPECT_EQ(group(654)->size(), 12u);
        EXPECT_EQ(group(654)->back(), 12u);
        EXPECT_FALSE(group(649) || group(655) || group(610));
    }
    // A picture smaller than the positions: only the caps it has.
    const std::vector<std::string> three = {"escape", "i1", "i2"};
    EXPECT_EQ(*groupCaps(654, 1, KeyCodeMap{}, three), (std::vector<size_t>{1, 2}));
    EXPECT_TRUE(groupCaps(651, 1, KeyCodeMap{}, three)->empty());
}

TEST(MarrowinKeyCaps, StoredColoursPaintTheirCapsAndSkipTheRest) {
    const auto& ostrel = model(KeyModelId::Ostrel61);
    const auto names = capNames(ostrel);
    const std::vector<RGBData> rows = {
        {1, 20, 1, 226, 0x112233},  // left Alt: its own cap, not left Win's
        {2, 20, 1, 600, 0xFFFFFF},  // a group code: no key
        {3, 20, 1, 58, 0x00FF00},   // F1: no cap on this picture
        {4, 20, 1, 777, 0x0000FF},  // no row in the map
        {5, 20, 1, 41, 0xABCDEF},
    };
    const auto painted = storedColourCaps(rows, ostrel.codeMap(), names);
    ASSERT_EQ(painted.size(), 2u);
    EXPECT_EQ(names[painted[0].cap], "leftAlt");
    EXPECT_EQ(painted[0].rgbvalue, 0x112233);
    EXPECT_EQ(painted[1], (CapColour{0, 0xABCDEF}));
}

// Every cap with a name-map row is stored under its own code; the OstrelTE 62's "ukbackslash" has none.
TEST(MarrowinKeyCaps, PerKeyRowsForEveryCapThatIsAKey) {
    for (KeyModelId id : {KeyModelId::OstrelTE62, KeyModelId::Tolmek84}) {
        const auto& m = model(id);
        const auto names = capNames(m);
        std::vector<int64_t> colours(names.size());
        for (size_t i = 0; i < colours.size(); ++i) colours[i] = static_cast<int64_t>(i * 0x010203);
        const auto rows = perKeyColourRows(names, colours, m.nameMap(), 77, 1);
        SCOPED_TRACE(m.name);
        EXPECT_EQ(rows.size(), names.size() - (id == KeyModelId::OstrelTE62 ? 1 : 0));
        for (const RGBData& row : rows) {
            const KeyMapRow* code = m.codeMap().find(row.keyvalue);
            ASSERT_TRUE(code && code->key_name);
            const size_t cap =
                static_cast<size_t>(std::find(names.begin(), names.end(), *code->key_name) - names.begin());
            ASSERT_LT(cap, names.size());
            EXPECT_EQ(row, (RGBData{0, 77, 1, row.keyvalue, static_cast<int64_t>(cap * 0x010203)}));
        }
    }
    EXPECT_TRUE(
        perKeyColourRows(std::vector<std::string>{"escape"}, {}, model(KeyModelId::Tolmek84).nameMap(), 1, 1).empty());
}

}  // namespace
}  // namespace keyloom
