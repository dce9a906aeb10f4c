// Invariants of the pictures of the MarrowinV2 71/72, Vindle 68 and Tolmek 84, placed by the shared placement.

#include <gtest/gtest.h>

#include <algorithm>
#include <map>
#include <set>
#include <string>

#include "MvtModels.h"
#include "Views/Keyboard/KeyLayout/KeyPlacement.h"
#include "Views/Keyboard/KeyLayout/OstrelKeyWidth.h"

namespace keyloom::test {
namespace {

class MvtLayouts : public testing::TestWithParam<MvtModel> {};

TEST_P(MvtLayouts, MetricTablesHoldEveryEntry) {
    const MvtModel& m = GetParam();
    EXPECT_EQ(m.keyWidth().size(), 12u);
    for (const char* cls : {"normal", "backspace", "tab", "backslash", "capsLock", "enter", "91enter", "leftShift",
                            "rightShift", "bottomNormal", "space", "91space"}) {
        EXPECT_TRUE(m.keyWidth().find(cls)) << cls;
    }
    EXPECT_EQ(m.model.yPos().size(), m.capsPerRow.size());
    EXPECT_EQ(m.model.sizeConf().size(), 7u);
    for (const char* key : {"key_height", "container_margin_top", "container_margin_right", "container_margin_bottom",
                            "container_margin_left", "key_separator", "keypad_margin_left"}) {
        EXPECT_TRUE(m.model.sizeConf().find(key)) << key;
    }
}

TEST_P(MvtLayouts, RowsAndFirstCaps) {
    const MvtModel& m = GetParam();
    const KeyLayout& keys = m.model.keys();
    std::vector<std::size_t> perRow;
    std::set<std::string> names;
    int64_t row = 0;
    for (std::size_t i = 0; i < keys.size(); ++i) {
        const KeyLayoutRow& cap = keys[i];
        EXPECT_TRUE(names.insert(cap.key_standard_name).second) << "cap " << i << " repeats a key";
        // Rows are drawn top to bottom; a row's first cap, and only it, restarts the row.
        EXPECT_TRUE(cap.row_num == row || cap.row_num == row + 1) << i;
        EXPECT_EQ(cap.first_key, cap.row_num != row) << i;
        if (cap.row_num != row) perRow.push_back(0);
        row = cap.row_num;
        ++perRow.back();
        EXPECT_TRUE(cap.has_seperator == 0 || cap.has_seperator == 1) << i;
    }
    EXPECT_EQ(perRow, m.capsPerRow);
}

TEST_P(MvtLayouts, EveryRowEndsFlushWithCapsSideBySide) {
    const MvtModel& m = GetParam();
    const std::vector<PlacedCap> caps = placeCaps(m.model);
    const KeyLayout& keys = m.model.keys();
    ASSERT_EQ(caps.size(), keys.size());
    const int64_t height = m.model.sizeConf().at("key_height");
    std::vector<int64_t> bottoms;
    for (std::size_t i = 0; i < caps.size(); ++i) {
        const CapRect& r = caps[i].rect;
        EXPECT_EQ(caps[i].index, static_cast<int64_t>(i));
        EXPECT_EQ(caps[i].keyname, keys[i].key_standard_name);
        EXPECT_EQ(r.height, height);
        if (keys[i].first_key) {
            bottoms.push_back(r.y);
        } else {
            const CapRect& before = caps[i - 1].rect;
            EXPECT_EQ(r.y, before.y) << i;
            EXPECT_GE(r.x, before.x + before.width) << "cap " << i << " overlaps its neighbour";
        }
        const bool lastOfRow = i + 1 == caps.size() || keys[i + 1].first_key;
        if (lastOfRow) {
            EXPECT_EQ(r.x + r.width, m.rowEndX) << "row ending at cap " << i;
        }
    }
    EXPECT_EQ(bottoms, m.rowBottoms);
}

TEST_P(MvtLayouts, DisabledCapsAndExtraGaps) {
    const MvtModel& m = GetParam();
    std::set<std::size_t> disabled, extra;
    const KeyLayout& keys = m.model.keys();
    for (std::size_t i = 0; i < keys.size(); ++i) {
        if (keys[i].disabled) disabled.insert(i);
        if (keys[i].left_extra_width != 0) extra.insert(i);
    }
    EXPECT_EQ(disabled, m.disabledCaps);
    EXPECT_EQ(extra, m.extraWidthCaps);
}

TEST_P(MvtLayouts, TheRegistryKnowsTheModel) {
    const MvtModel& m = GetParam();
    const KeyModel* registered = findKeyModel(m.model.id);
    ASSERT_NE(registered, nullptr);
    EXPECT_EQ(registered->name, m.model.name);
    EXPECT_EQ(registered->nameMap, m.model.nameMap);
    EXPECT_EQ(registered->codeMap, m.model.codeMap);
    EXPECT_EQ(registered->keys, m.model.keys);
    EXPECT_EQ(registered->yPos, m.model.yPos);
    EXPECT_EQ(registered->sizeConf, m.model.sizeConf);
    EXPECT_EQ(registered->firstKeyXAfterMargin, m.model.firstKeyXAfterMargin);
    EXPECT_EQ(registered->rowOffset, m.model.rowOffset);
}

INSTANTIATE_TEST_SUITE_P(Models, MvtLayouts, testing::ValuesIn(mvtModels()), modelName);

struct CapCase {
    KeyModelId model;
    std::string key;
    CapRect rect;
};

TEST(MvtCapRectangles, ChosenCapsSitWhereThePictureNeedsThem) {
    const std::vector<CapCase> cases{
        {KeyModelId::MarrowinV2_71, "escape", {13, 189, 39, 38}},
        {KeyModelId::MarrowinV2_71, "backspace", {529, 189, 75, 38}},
        {KeyModelId::MarrowinV2_71, "leftArrow", {565, 30, 39, 38}},
        {KeyModelId::MarrowinV2_71, "rightArrow", {645, 30, 39, 38}},
        {KeyModelId::MarrowinV2_72, "enter", {549, 148, 55, 38}},
        {KeyModelId::MarrowinV2_72, "backslash", {517, 109, 39, 38}},
        {KeyModelId::MarrowinV2_72, "pause", {605, 109, 39, 38}},
        {KeyModelId::MarrowinV2_72, "leftShift", {13, 70, 45, 38}},
        {KeyModelId::MarrowinV2_72, "ukbackslash", {59, 70, 38, 38}},
        {KeyModelId::MarrowinV2_72, "z", {98, 70, 39, 38}},
        {KeyModelId::Vindle68, "escape", {8, 170, 40, 40}},
        {KeyModelId::Vindle68, "semicolon", {447, 86, 41, 40}},
        {KeyModelId::Vindle68, "upArrow", {581, 44, 40, 40}},
        {KeyModelId::Vindle68, "rightArrow", {622, 2, 40, 40}},
        {KeyModelId::Tolmek84, "escape", {16, 226, 41, 41}},
        {KeyModelId::Tolmek84, "f3", {141, 226, 41, 41}},
        {KeyModelId::Tolmek84, "backtick", {17, 184, 41, 41}},
        {KeyModelId::Tolmek84, "rightArrow", {642, 16, 41, 41}},
    };
    std::map<KeyModelId, std::vector<PlacedCap>> placed;
    for (const MvtModel& m : mvtModels()) placed[m.model.id] = placeCaps(m.model);
    for (const CapCase& c : cases) {
        const auto& caps = placed.at(c.model);
        auto it = std::find_if(caps.begin(), caps.end(), [&](const PlacedCap& p) { return p.keyname == c.key; });
        ASSERT_NE(it, caps.end()) << c.key;
        EXPECT_EQ(it->rect, c.rect) << c.key << " of model " << static_cast<int>(c.model);
    }
}

TEST(MarrowinV2Layouts, The72DiffersFromThe71OnlyInTheIsoCaps) {
    const KeyLayout& l71 = MarrowinV2_71_Keys();
    const KeyLayout& l72 = MarrowinV2_72_Keys();
    ASSERT_EQ(l71.size(), 71u);
    ASSERT_EQ(l72.size(), 72u);
    for (std::size_t i = 0; i < l71.size(); ++i) {
        if (i == 29 || i == 44 || i == 45 || i == 47) continue;
        EXPECT_EQ(l72[i < 48 ? i : i + 1], l71[i]) << i;
    }
    EXPECT_EQ(l72[29], (KeyLayoutRow{55, "enter", 2, 0, 1, false, false}));
    EXPECT_EQ(l72[44], (KeyLayoutRow{39, "backslash", 3, 0, 1, false, false}));
    KeyLayoutRow pause = l71[45];
    pause.left_extra_width = 48;
    EXPECT_EQ(l72[45], pause);
    KeyLayoutRow leftShift = l71[47];
    leftShift.width = 45;
    EXPECT_EQ(l72[47], leftShift);
    EXPECT_EQ(l72[48], (KeyLayoutRow{38, "ukbackslash", 4, 0, 1, false, false}));
}

TEST(VindleLayout, SemicolonTakesTheOstrelNormalWidth) {
    const KeyLayout& keys = Vindle_68_Keys();
    EXPECT_EQ(keys[40].key_standard_name, "semicolon");
    EXPECT_EQ(keys[40].width, Ostrel_EN_Key_Width().at("normal"));
    EXPECT_EQ(keys[40].width, 41);
    EXPECT_EQ(keys[39].width, Vindle_68_EN_Key_Width().at("normal"));
    EXPECT_EQ(keys[41].width, 40);
}

TEST(TolmekLayout, OnlyTheNumberRowStartsWithASeparator) {
    std::vector<std::string> firstWithGap;
    for (const KeyLayoutRow& cap : Tolmek_84_Keys()) {
        if (cap.first_key && cap.has_seperator == 1) firstWithGap.push_back(cap.key_standard_name);
    }
    EXPECT_EQ(firstWithGap, std::vector<std::string>{"backtick"});
}

}  // namespace
}  // namespace keyloom::test
