#include <gtest/gtest.h>

#include <map>
#include <set>
#include <string>
#include <vector>

#include "Views/Keyboard/KeyLayout/KeyModels.h"
#include "Views/Keyboard/KeyLayout/KeyPlacement.h"
#include "Views/Keyboard/KeyLayout/QuorvathMetrics.h"

namespace keyloom {
namespace {

const KeyModel& model(KeyModelId id) {
    const KeyModel* m = findKeyModel(id);
    if (!m) throw std::runtime_error("model not registered");
    return *m;
}

TEST(QuorvathMetrics, TablesHoldTheirNamedEntriesInOrder) {
    std::vector<std::string> classes;
    for (const auto& [name, px] : Quorvath_TE_EN_Key_Width()) classes.push_back(name);
    EXPECT_EQ(classes,
              (std::vector<std::string>{"normal", "backspace", "tab", "backslash", "capsLock", "enter", "91enter",
                                        "leftShift", "rightShift", "bottomNormal", "space", "91space"}));
    std::vector<std::string> sizes;
    for (const auto& [name, px] : Quorvath_TE_EN_Size_Conf()) sizes.push_back(name);
    EXPECT_EQ(sizes, (std::vector<std::string>{"key_height", "container_margin_top", "container_margin_right",
                                               "container_margin_bottom", "container_margin_left", "key_separator",
                                               "keypad_margin_left"}));
    // Unused by every Quorvath layout, kept as data.
    EXPECT_EQ(Quorvath_TE_EN_Key_Width().at("91enter"), 100);
    EXPECT_EQ(Quorvath_TE_EN_Key_Width().at("91space"), 177);

    std::vector<int64_t> rows;
    for (const auto& [row, y] : Quorvath_TE_EN_Y_Pos()) rows.push_back(row);
    EXPECT_EQ(rows, (std::vector<int64_t>{1, 2, 3, 4, 5, 6}));
    EXPECT_FALSE(Quorvath_TE_EN_Y_Pos().find(0));
    // Rows 2 to 6 lie one cap height plus one separator apart; the function row 44 above row 2.
    for (int64_t r = 2; r < 6; ++r) {
        EXPECT_EQ(Quorvath_TE_EN_Y_Pos().at(r) - Quorvath_TE_EN_Y_Pos().at(r + 1),
                  Quorvath_TE_EN_Size_Conf().at("key_height") + Quorvath_TE_EN_Size_Conf().at("key_separator"));
    }
    EXPECT_EQ(Quorvath_TE_EN_Y_Pos().at(1) - Quorvath_TE_EN_Y_Pos().at(2), 44);
}

struct LayoutExpect {
    KeyModelId id;
    std::vector<std::size_t> capsPerRow;
    std::vector<int64_t> rowEndX;
    std::set<std::string> namesWithoutCap;
    int64_t upArrowX;
};

const std::vector<LayoutExpect>& quorvathLayouts() {
    static const std::vector<LayoutExpect> expects{
        {KeyModelId::Quorvath87,
         {16, 17, 17, 13, 13, 11},
         {677, 678, 678, 561, 641, 677},
         {"rightWin", "knobSingle", "knobDouble", "knobForward", "knobBackward"},
         606},
        {KeyModelId::Quorvath88,
         {16, 17, 17, 13, 14, 11},
         {677, 678, 678, 516, 639, 677},
         {"knobSingle", "knobDouble", "knobForward", "knobBackward"},
         604},
        {KeyModelId::Quorvath91,
         {16, 18, 17, 13, 14, 13},
         {677, 677, 677, 516, 641, 677},
         {"rightWin", "knobSingle", "knobDouble", "knobForward", "knobBackward"},
         606},
    };
    return expects;
}

void PrintTo(const LayoutExpect& e, std::ostream* os) {
    *os << "model " << static_cast<int>(e.id);
}

class QuorvathLayouts : public ::testing::TestWithParam<LayoutExpect> {};

TEST_P(QuorvathLayouts, CapsPerRowAndRowEnds) {
    const LayoutExpect& e = GetParam();
    const std::vector<PlacedCap> caps = placeCaps(model(e.id));
    const KeyLayout& keys = model(e.id).keys();
    ASSERT_EQ(caps.size(), keys.size());

    std::map<int64_t, std::size_t> perRow;
    std::map<int64_t, int64_t> endX;
    const std::vector<int64_t> rowBottom{205, 161, 125, 89, 53, 17};
    for (std::size_t i = 0; i < caps.size(); ++i) {
        const int64_t row = keys[i].row_num;
        // Rows come in drawing order: each starts with its one "first_key" cap.
        EXPECT_EQ(keys[i].first_key, perRow[row] == 0) << i;
        if (keys[i].first_key) {
            EXPECT_EQ(caps[i].rect.x, 22) << i;
            EXPECT_EQ(keys[i].left_extra_width, 0) << i;
            EXPECT_EQ(keys[i].has_seperator, 0) << i;
        }
        ++perRow[row];
        endX[row] = caps[i].rect.x + caps[i].rect.width;
        EXPECT_EQ(caps[i].index, static_cast<int64_t>(i));
        EXPECT_EQ(caps[i].keyname, keys[i].key_standard_name);
        EXPECT_EQ(caps[i].rect.y, rowBottom.at(static_cast<std::size_t>(row - 1))) << i;
        EXPECT_EQ(caps[i].rect.height, 35);
    }
    std::vector<std::size_t> counts;
    std::vector<int64_t> ends;
    for (const auto& [row, n] : perRow) counts.push_back(n);
    for (const auto& [row, x] : endX) ends.push_back(x);
    EXPECT_EQ(counts, e.capsPerRow);
    EXPECT_EQ(ends, e.rowEndX);
}

TEST_P(QuorvathLayouts, EachCapIsItsKeysSlotInTheNameMap) {
    const LayoutExpect& e = GetParam();
    const KeyLayout& keys = model(e.id).keys();
    const KeyNameMap& names = model(e.id).nameMap();
    std::set<std::string> drawn;
    for (std::size_t i = 0; i < keys.size(); ++i) {
        const std::string& name = keys[i].key_standard_name;
        EXPECT_TRUE(drawn.insert(name).second) << "twice: " << name;
        const KeyMapRow* row = names.find(name);
        ASSERT_NE(row, nullptr) << name;
        EXPECT_EQ(row->layout_index, static_cast<int64_t>(i)) << name;
    }
    std::set<std::string> withoutCap;
    for (const auto& [name, row] : names) {
        if (!drawn.count(name)) withoutCap.insert(name);
    }
    EXPECT_EQ(withoutCap, e.namesWithoutCap);
}

TEST_P(QuorvathLayouts, FunctionKeysDigitsAndDisabledMarks) {
    const LayoutExpect& e = GetParam();
    const KeyLayout& keys = model(e.id).keys();
    for (int i = 1; i <= 12; ++i) {
        EXPECT_EQ(keys.at(static_cast<std::size_t>(i)).key_standard_name, "f" + std::to_string(i));
    }
    for (int i = 17; i <= 26; ++i) {
        EXPECT_EQ(keys.at(static_cast<std::size_t>(i)).key_standard_name, "i" + std::to_string((i - 16) % 10));
    }
    std::set<std::string> disabled;
    for (const KeyLayoutRow& cap : keys) {
        if (cap.disabled) disabled.insert(cap.key_standard_name);
    }
    EXPECT_EQ(disabled, (std::set<std::string>{"f1", "f2", "f3", "f4", "f5", "f6", "f7", "f8", "f9", "f10", "f11",
                                               "f12", "printScreen", "scrollLock", "pause", "fn"}));
}

TEST_P(QuorvathLayouts, UpArrowGetsSeparatorAndExtraGap) {
    const LayoutExpect& e = GetParam();
    const std::vector<PlacedCap> caps = placeCaps(model(e.id));
    const KeyLayout& keys = model(e.id).keys();
    for (std::size_t i = 0; i < keys.size(); ++i) {
        if (keys[i].key_standard_name == "upArrow") {
            EXPECT_EQ(keys[i].has_seperator, 1);
            EXPECT_EQ(keys[i].left_extra_width, 44);
            EXPECT_EQ(caps[i].rect.x, e.upArrowX);
        }
        if (keys[i].key_standard_name == "downArrow") {
            EXPECT_EQ(caps[i].rect.x, 606);
        }
    }
}

INSTANTIATE_TEST_SUITE_P(Models, QuorvathLayouts, ::testing::ValuesIn(quorvathLayouts()),
                         [](const auto& info) { return std::string(model(info.param.id).name); });

TEST(QuorvathPlacement, CapRectanglesOfTheDocumentedKeys) {
    struct Case {
        KeyModelId id;
        std::string name;
        CapRect rect;
    };
    const Case cases[] = {
        {KeyModelId::Quorvath87, "escape", {22, 205, 35, 35}},
        {KeyModelId::Quorvath87, "f1", {93, 205, 35, 35}},
        {KeyModelId::Quorvath87, "f2", {129, 205, 35, 35}},
        {KeyModelId::Quorvath87, "f5", {256, 205, 35, 35}},
        {KeyModelId::Quorvath87, "f9", {418, 205, 35, 35}},
        {KeyModelId::Quorvath87, "f12", {526, 205, 35, 35}},
        {KeyModelId::Quorvath87, "printScreen", {570, 205, 35, 35}},
        {KeyModelId::Quorvath87, "pause", {642, 205, 35, 35}},
        {KeyModelId::Quorvath87, "backspace", {490, 161, 72, 35}},
        {KeyModelId::Quorvath87, "leftControl", {22, 17, 44, 35}},
        {KeyModelId::Quorvath87, "space", {157, 17, 224, 35}},
        {KeyModelId::Quorvath87, "rightArrow", {642, 17, 35, 35}},
        {KeyModelId::Quorvath88, "escape", {22, 205, 35, 35}},
        {KeyModelId::Quorvath88, "pause", {642, 205, 35, 35}},
        {KeyModelId::Quorvath88, "leftShift", {22, 53, 42, 35}},
        {KeyModelId::Quorvath88, "ukbackslash", {65, 53, 35, 35}},
        {KeyModelId::Quorvath88, "enter", {508, 125, 54, 35}},
        {KeyModelId::Quorvath91, "f9", {418, 205, 35, 35}},
        {KeyModelId::Quorvath91, "jpoem3", {490, 161, 35, 35}},
        {KeyModelId::Quorvath91, "backspace", {526, 161, 35, 35}},
        {KeyModelId::Quorvath91, "space", {184, 17, 179, 35}},
    };
    for (const Case& c : cases) {
        bool found = false;
        for (const PlacedCap& cap : placeCaps(model(c.id))) {
            if (cap.keyname != c.name) continue;
            found = true;
            EXPECT_EQ(cap.rect, c.rect) << model(c.id).name << " " << c.name;
        }
        EXPECT_TRUE(found) << c.name;
    }
}

TEST(CapPlacement, SeparatorOnlyForOneNegativeGapsAndRowRestarts) {
    const RowPositionTable yPos{{1, 100}, {2, 50}};
    const SizeTable size{{"key_height", 10}, {"container_margin_left", 0}, {"key_separator", 3}};
    const KeyLayout keys{
        {20, "a", 1, 0, 0, true, false},   // x 5
        {20, "b", 1, 0, 2, false, false},  // 2 is not 1: no separator, x 25
        {20, "c", 1, -4, 1, false, true},  // +3 -4: x 44
        {20, "d", 2, 0, 1, true, false},   // restarts although x is 64: 5 + 3
    };
    const std::vector<PlacedCap> caps = placeCaps(keys, yPos, size, CapPlacement{5, 40});
    ASSERT_EQ(caps.size(), 4u);
    EXPECT_EQ(caps[0].rect, (CapRect{5, 60, 20, 10}));
    EXPECT_EQ(caps[1].rect, (CapRect{25, 60, 20, 10}));
    EXPECT_EQ(caps[2].rect, (CapRect{44, 60, 20, 10}));
    EXPECT_EQ(caps[3].rect, (CapRect{8, 10, 20, 10}));
    EXPECT_EQ(caps[3].keyname, "d");
    EXPECT_EQ(caps[3].index, 3);
}

TEST(CapPlacementDeathTest, RowMissingFromTheRowTableIsATableDefect) {
    GTEST_FLAG_SET(death_test_style, "threadsafe");
    const RowPositionTable yPos{{1, 100}};
    const SizeTable size{{"key_height", 10}, {"key_separator", 1}};
    const KeyLayout keys{{20, "a", 7, 0, 0, true, false}};
    EXPECT_DEATH(placeCaps(keys, yPos, size, CapPlacement{}), "model table defect");
}

}  // namespace
}  // namespace keyloom
