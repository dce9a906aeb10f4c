// Invariants every registered model's tables share, from a small table of expected numbers per model.

#include <gtest/gtest.h>

#include <algorithm>
#include <optional>
#include <set>
#include <string>
#include <vector>

#include "Views/Keyboard/KeyLayout/CurrentDevice.h"
#include "Views/Keyboard/KeyLayout/KeyModels.h"
#include "Views/Keyboard/KeyLayout/KeyPlacement.h"
#include "Views/Keyboard/KeyLayout/MarrowinV2_71KeyMap.h"
#include "Views/Keyboard/KeyLayout/Ostrel61KeyMap.h"
#include "Views/Keyboard/KeyLayout/Ostrel61Layout.h"
#include "Views/Keyboard/KeyLayout/OstrelTE61Layout.h"
#include "Views/Keyboard/KeyLayout/OstrelTE62Layout.h"
#include "Views/Keyboard/KeyLayout/Tolmek84KeyMap.h"
#include "Views/Keyboard/KeyLayout/Vindle68KeyMap.h"

namespace keyloom {
namespace {

using Codes = std::set<int64_t>;
using Names = std::set<std::string>;
using Id = KeyModelId;

// How a cap is found from its key: Quorvath by the name map's "layout_index", the MarrowinV2/Vindle/Tolmek by the
// code map's "pos_index" (one code per cap); the Ostrel "pos_index" rules have their own suite.
enum class Family { Quorvath, SecondGen, Ostrel };

struct Expect {
    Id id;
    Family family;
    std::size_t nameRows, codeRows;
    std::vector<std::size_t> capsPerRow;
    std::vector<int64_t> rowEndX, rowBottomY;
    int64_t keyHeight;
    bool rightWin;             // 231 in the name map: a ninth flag key
    Codes nameOnly, codeOnly;  // codes that only one of the two maps holds
    Names differences;         // "key.field" where the two maps disagree
    Names capsWithoutNameRow;
};

const Codes kFs{58, 59, 60, 61, 62, 63, 64, 65, 66, 67, 68, 69};  // F1..F12
Codes with(Codes a, const Codes& b) {
    a.insert(b.begin(), b.end());
    return a;
}

const std::vector<Expect>& expectations() {
    const Names q87{"backspace.short_name", "leftAlt.layout_index", "leftWin.layout_index", "rightWin.full_name"};
    const Names ostrel{"backspace.short_name", "menu.layout_index", "fn.layout_index", "rightControl.layout_index"};
    const std::vector<int64_t> q{205, 161, 125, 89, 53, 17}, mv{189, 148, 109, 70, 30}, os{196, 154, 111, 68, 25};
    // clang-format off
    static const std::vector<Expect> all{
        {Id::Quorvath87, Family::Quorvath, 92, 92, {16, 17, 17, 13, 13, 11}, {677, 678, 678, 561, 641, 677}, q, 35,
         true, {}, {}, q87, {}},
        {Id::Quorvath88, Family::Quorvath, 92, 92, {16, 17, 17, 13, 14, 11}, {677, 678, 678, 516, 639, 677}, q, 35,
         false, {}, {}, {"leftAlt.layout_index", "leftWin.layout_index"}, {}},
        {Id::Quorvath91, Family::Quorvath, 96, 96, {16, 18, 17, 13, 14, 13}, {677, 677, 677, 516, 641, 677}, q, 35,
         true, {}, {}, {"rightWin.full_name"}, {}},
        {Id::MarrowinV2_71, Family::SecondGen, 72, 85, {16, 16, 15, 14, 10}, std::vector<int64_t>(5, 684), mv, 38,
         false, {}, with({53}, kFs), {"backspace.short_name"}, {}},
        {Id::MarrowinV2_72, Family::SecondGen, 73, 86, {16, 16, 15, 15, 10}, std::vector<int64_t>(5, 684), mv, 38,
         false, {}, with({53}, kFs), {"backspace.short_name", "backslash.short_name"}, {}},
        {Id::Vindle68, Family::SecondGen, 86, 68, {15, 15, 14, 14, 10}, std::vector<int64_t>(5, 662),
         {170, 128, 86, 44, 2}, 40, false, with({71, 72, 73, 74, 77, 101}, kFs), {},
         {"backspace.short_name", "pageUp.layout_index", "delete.layout_index", "pageDown.layout_index"}, {}},
        {Id::Tolmek84, Family::SecondGen, 86, 84, {16, 15, 15, 14, 14, 10}, std::vector<int64_t>(6, 683),
         {226, 184, 142, 100, 58, 16}, 41, false, {73, 101}, {},
         {"backspace.short_name", "rightControl.layout_index"}, {}},
        {Id::Ostrel61, Family::Ostrel, 72, 78, {14, 14, 13, 12, 8}, std::vector<int64_t>(5, 658), os, 40, false,
         {76, 77, 78, 79, 80, 81, 82}, with({53}, kFs), ostrel, {}},
        {Id::OstrelTE61, Family::Ostrel, 72, 78, {14, 14, 13, 12, 8}, std::vector<int64_t>(5, 658), os, 40, false,
         {76, 77, 78, 79, 80, 81, 82}, with({53}, kFs), ostrel, {}},
        {Id::OstrelTE62, Family::Ostrel, 72, 78, {14, 14, 13, 13, 8}, {658, 657, 610, 656, 658}, os, 40, false,
         {76, 77, 78, 79, 80, 81, 82}, with({53}, kFs), ostrel, {"ukbackslash"}},
    };
    // clang-format on
    return all;
}

const KeyModel& model(Id id) {
    const KeyModel* m = findKeyModel(id);
    if (!m) throw std::runtime_error("model not registered");
    return *m;
}

bool isFlagCode(int64_t code) {
    return code == 57 || (code >= 224 && code <= 231);  // Caps Lock and the eight modifiers
}

TEST(KeyModels, EveryModelIsRegisteredOnce) {
    std::set<Id> registered;
    for (const KeyModel& m : keyModels()) EXPECT_TRUE(registered.insert(m.id).second) << m.name;
    std::set<Id> expected;
    for (const Expect& e : expectations()) expected.insert(e.id);
    EXPECT_EQ(registered, expected);
}

TEST(KeyModels, NameAndCodeMapsDescribeOneSetOfKeys) {
    for (const Expect& e : expectations()) {
        const KeyModel& m = model(e.id);
        SCOPED_TRACE(m.name);
        const KeyNameMap& names = m.nameMap();
        const KeyCodeMap& codes = m.codeMap();
        EXPECT_EQ(names.size(), e.nameRows);
        EXPECT_EQ(codes.size(), e.codeRows);
        Codes nameCodes, nameOnly, codeOnly;
        Names differences;
        for (const auto& [name, row] : names) {
            ASSERT_TRUE(row.key_code) << name;
            EXPECT_FALSE(row.key_name || row.pos_index) << name;
            nameCodes.insert(*row.key_code);
            const KeyMapRow* byCode = codes.find(*row.key_code);
            if (!byCode) {
                nameOnly.insert(*row.key_code);
                continue;
            }
            EXPECT_EQ(byCode->key_name, name);  // also: no two names share a code
            if (byCode->short_name != row.short_name) differences.insert(name + ".short_name");
            if (byCode->full_name != row.full_name) differences.insert(name + ".full_name");
            if (byCode->layout_index != row.layout_index) differences.insert(name + ".layout_index");
            if (byCode->key_type != row.key_type) differences.insert(name + ".key_type");
        }
        for (const auto& [code, row] : codes) {
            ASSERT_TRUE(row.key_name) << code;
            EXPECT_FALSE(row.key_code) << code;
            if (nameCodes.count(code)) continue;
            codeOnly.insert(code);
            EXPECT_FALSE(names.contains(*row.key_name)) << code;
        }
        EXPECT_EQ(nameOnly, e.nameOnly);
        EXPECT_EQ(codeOnly, e.codeOnly);
        EXPECT_EQ(differences, e.differences);

        // `flag` marks exactly Caps Lock and the modifiers, in both maps; Fn and the knob are normal keys.
        for (const auto& [name, row] : names) {
            EXPECT_EQ(row.key_type.has_value(), isFlagCode(*row.key_code)) << name;
            if (row.key_type) {
                EXPECT_EQ(*row.key_type, Quorvath_TE_EN_Type::flag) << name;
            }
        }
        for (const auto& [code, row] : codes) {
            EXPECT_EQ(row.key_type.has_value(), isFlagCode(code)) << code;
            if (row.key_type) {
                EXPECT_EQ(*row.key_type, Quorvath_TE_EN_Type::flag) << code;
            }
        }
    }
}

TEST(KeyModels, AbsentLookUpsAnswerNothingAndInsertNothing) {
    for (const Expect& e : expectations()) {
        const KeyModel& m = model(e.id);
        SCOPED_TRACE(m.name);
        for (const char* name : {"", "nope", "Escape", "escape ", "f13"}) {
            EXPECT_EQ(m.nameMap().find(name), nullptr) << name;
            EXPECT_FALSE(m.nameMap().contains(name)) << name;
        }
        for (int64_t code : {0, -1, 256, 1000}) {
            EXPECT_EQ(m.codeMap().find(code), nullptr) << code;
            EXPECT_FALSE(m.codeMap().contains(code)) << code;
        }
        EXPECT_EQ(m.nameMap().find("rightWin") != nullptr, e.rightWin);
        EXPECT_EQ(m.nameMap().size(), e.nameRows);
        EXPECT_EQ(m.codeMap().size(), e.codeRows);
    }
}

TEST(KeyModels, MakingAModelCurrentSplitsItsNameMapIntoFlagAndNormalKeys) {
    std::vector<Expect> order = expectations();
    order.push_back(order.front());  // and back again: nothing stale from the others
    for (const Expect& e : order) {
        const KeyModel& m = model(e.id);
        SCOPED_TRACE(m.name);
        makeCurrentDevice(m);
        EXPECT_EQ(QV_SuperKeyNameMap()->size(), e.nameRows);
        EXPECT_EQ(QV_SuperKeyCodeMap()->size(), e.codeRows);
        Codes flags{57, 224, 225, 226, 227, 228, 229, 230};
        if (e.rightWin) flags.insert(231);
        EXPECT_EQ(QV_FlagKeys().size(), flags.size());
        EXPECT_EQ(Codes(QV_FlagKeys().begin(), QV_FlagKeys().end()), flags);
        const Codes normal(QV_NormalKeys().begin(), QV_NormalKeys().end());
        EXPECT_EQ(QV_NormalKeys().size(), e.nameRows - flags.size());
        for (const auto& [name, row] : m.nameMap()) {
            EXPECT_NE(flags.count(*row.key_code), normal.count(*row.key_code)) << name;
        }
    }
    resetCurrentDevice();
}

TEST(KeyModels, PicturesDrawEachKeyOnceRowByRow) {
    for (const Expect& e : expectations()) {
        const KeyModel& m = model(e.id);
        SCOPED_TRACE(m.name);
        const KeyLayout& keys = m.keys();
        const std::vector<PlacedCap> caps = placeCaps(m);
        ASSERT_EQ(caps.size(), keys.size());
        std::vector<std::size_t> perRow;
        std::vector<int64_t> ends, bottoms;
        Names drawn, withoutNameRow;
        for (std::size_t i = 0; i < keys.size(); ++i) {
            const KeyLayoutRow& k = keys[i];
            const CapRect& r = caps[i].rect;
            EXPECT_TRUE(drawn.insert(k.key_standard_name).second) << k.key_standard_name;
            if (!m.nameMap().contains(k.key_standard_name)) withoutNameRow.insert(k.key_standard_name);
            // Rows come top to bottom; a row's first cap, and only it, restarts x.
            const auto row = static_cast<int64_t>(perRow.size());
            ASSERT_TRUE(k.row_num == row || k.row_num == row + 1) << i;
            EXPECT_EQ(k.first_key, k.row_num == row + 1) << i;
            if (k.first_key) {
                perRow.push_back(0);
                ends.push_back(0);
                bottoms.push_back(r.y);
            } else {
                EXPECT_GE(r.x, caps[i - 1].rect.x + caps[i - 1].rect.width) << "overlaps its neighbour: " << i;
            }
            EXPECT_EQ(r.y, bottoms.back()) << i;
            EXPECT_EQ(r.height, e.keyHeight) << i;
            EXPECT_EQ(caps[i].index, static_cast<int64_t>(i));
            EXPECT_EQ(caps[i].keyname, k.key_standard_name);
            ++perRow.back();
            ends.back() = r.x + r.width;
        }
        EXPECT_EQ(perRow, e.capsPerRow);
        EXPECT_EQ(ends, e.rowEndX);
        EXPECT_EQ(bottoms, e.rowBottomY);
        EXPECT_EQ(withoutNameRow, e.capsWithoutNameRow);
    }
}

TEST(KeyModels, EachCapIsFoundFromItsKeyByTheFamilysRule) {
    for (const Expect& e : expectations()) {
        const KeyModel& m = model(e.id);
        SCOPED_TRACE(m.name);
        const KeyLayout& keys = m.keys();
        const auto capCount = static_cast<int64_t>(keys.size());
        std::vector<int64_t> positions;
        for (const auto& [code, row] : m.codeMap()) {
            if (!row.pos_index) continue;
            positions.push_back(*row.pos_index);
            ASSERT_TRUE(*row.pos_index >= 0 && *row.pos_index < capCount) << code;
            if (e.family != Family::SecondGen) continue;
            // The code map crosses leftAlt and leftWin onto each other's caps.
            const std::string expected = code == 226 ? "leftWin" : code == 227 ? "leftAlt" : *row.key_name;
            EXPECT_EQ(keys[static_cast<std::size_t>(*row.pos_index)].key_standard_name, expected) << code;
        }
        if (e.family == Family::Quorvath) {
            EXPECT_TRUE(positions.empty());
            Names withoutCap;
            for (const auto& [name, row] : m.nameMap()) withoutCap.insert(name);
            for (int64_t i = 0; i < capCount; ++i) {
                const std::string& name = keys[static_cast<std::size_t>(i)].key_standard_name;
                EXPECT_EQ(m.nameMap().find(name)->layout_index, i) << name;
                withoutCap.erase(name);
            }
            // The knob's four actions take the slots after the last cap.
            Names expected{"knobSingle", "knobDouble", "knobForward", "knobBackward"};
            if (e.rightWin) expected.insert("rightWin");
            EXPECT_EQ(withoutCap, expected);
            int64_t slot = capCount;
            for (const char* knob : {"knobSingle", "knobDouble", "knobForward", "knobBackward"}) {
                EXPECT_EQ(m.nameMap().find(knob)->layout_index, slot) << knob;
                EXPECT_EQ(m.nameMap().find(knob)->key_code, 250 + slot++ - capCount) << knob;
            }
        } else if (e.family == Family::SecondGen) {
            std::sort(positions.begin(), positions.end());
            std::vector<int64_t> all(keys.size());
            for (std::size_t i = 0; i < all.size(); ++i) all[i] = static_cast<int64_t>(i);
            EXPECT_EQ(positions, all) << "each cap has exactly one code";
            // Second-generation slots are distinct within each map.
            Codes byName, byCode;
            for (const auto& [name, row] : m.nameMap()) EXPECT_TRUE(byName.insert(row.layout_index).second) << name;
            for (const auto& [code, row] : m.codeMap()) EXPECT_TRUE(byCode.insert(row.layout_index).second) << code;
        }
    }
}

TEST(KeyModels, CapRectanglesFromTheSharedPlacement) {
    struct Case {
        Id id;
        std::string key;
        CapRect rect;
    };
    // clang-format off
    const Case cases[] = {
        {Id::Quorvath87, "escape", {22, 205, 35, 35}},        {Id::Quorvath87, "f1", {93, 205, 35, 35}},
        {Id::Quorvath87, "f5", {256, 205, 35, 35}},           {Id::Quorvath87, "f9", {418, 205, 35, 35}},
        {Id::Quorvath87, "f12", {526, 205, 35, 35}},          {Id::Quorvath87, "printScreen", {570, 205, 35, 35}},
        {Id::Quorvath87, "pause", {642, 205, 35, 35}},        {Id::Quorvath87, "backspace", {490, 161, 72, 35}},
        {Id::Quorvath87, "space", {157, 17, 224, 35}},        {Id::Quorvath87, "upArrow", {606, 53, 35, 35}},
        {Id::Quorvath87, "downArrow", {606, 17, 35, 35}},     {Id::Quorvath88, "upArrow", {604, 53, 35, 35}},
        {Id::Quorvath88, "pause", {642, 205, 35, 35}},        {Id::Quorvath88, "ukbackslash", {65, 53, 35, 35}},
        {Id::Quorvath91, "f9", {418, 205, 35, 35}},           {Id::Quorvath91, "upArrow", {606, 53, 35, 35}},
        {Id::Quorvath91, "space", {184, 17, 179, 35}},        {Id::MarrowinV2_71, "escape", {13, 189, 39, 38}},
        {Id::MarrowinV2_71, "leftArrow", {565, 30, 39, 38}},  {Id::MarrowinV2_72, "enter", {549, 148, 55, 38}},
        {Id::MarrowinV2_72, "ukbackslash", {59, 70, 38, 38}}, {Id::MarrowinV2_72, "pause", {605, 109, 39, 38}},
        {Id::Vindle68, "escape", {8, 170, 40, 40}},           {Id::Vindle68, "semicolon", {447, 86, 41, 40}},
        {Id::Vindle68, "upArrow", {581, 44, 40, 40}},         {Id::Tolmek84, "escape", {16, 226, 41, 41}},
        {Id::Tolmek84, "backtick", {17, 184, 41, 41}},        {Id::Tolmek84, "f3", {141, 226, 41, 41}},
        {Id::Ostrel61, "escape", {41, 196, 41, 40}},          {Id::Ostrel61, "backspace", {583, 196, 75, 40}},
        {Id::OstrelTE62, "leftShift", {41, 68, 45, 40}},      {Id::OstrelTE62, "ukbackslash", {87, 68, 38, 40}},
        {Id::OstrelTE62, "z", {126, 68, 41, 40}},             {Id::OstrelTE62, "enter", {602, 154, 55, 40}},
    };
    // clang-format on
    for (const Case& c : cases) {
        SCOPED_TRACE(std::string(model(c.id).name) + " " + c.key);
        const std::vector<PlacedCap> caps = placeCaps(model(c.id));
        auto it = std::find_if(caps.begin(), caps.end(), [&](const PlacedCap& p) { return p.keyname == c.key; });
        ASSERT_NE(it, caps.end());
        EXPECT_EQ(it->rect, c.rect);
    }
}

// Labels are the exact bytes, in both maps: single characters, non-ASCII text and line breaks.
TEST(KeyModels, LabelsKeepTheirExactBytes) {
    struct Case {
        Id id;
        std::string key;
        std::optional<std::string> shortName, fullName;
    };
    const std::string hankaku = "\xe5\x8d\x8a\xe8\xa7\x92/\r\n\xe5\x85\xa8\xe8\xa7\x92";
    const std::string kana =
        "\xe3\x82\xab\xe3\x82\xbf\xe3\x82\xab\xe3\x83\x8a/\r\n\xe3\x81\xb2\xe3\x82\x89\xe3\x81\x8c\xe3\x81\xaa";
    const std::string henkan = "\xe5\xa4\x89\xe6\x8f\x9b", muhenkan = "\xe7\x84\xa1\xe5\xa4\x89\xe6\x8f\x9b";
    const Case cases[] = {
        {Id::Quorvath87, "backtick", "`", "backtick"},  {Id::Quorvath87, "backslash", {}, "\\"},
        {Id::Quorvath88, "ukbackslash", "\\", {}},      {Id::Quorvath88, "backslash", {}, "#"},
        {Id::Quorvath91, "jpoem1", {}, "\\"},           {Id::Quorvath91, "jpoem3", "\xc2\xa5", {}},  // U+00A5
        {Id::Quorvath91, "backslash", {}, "]"},         {Id::Quorvath91, "backtick", hankaku, hankaku},
        {Id::Quorvath91, "jpoem2", kana, kana},         {Id::Quorvath91, "jpoem4", henkan, henkan},
        {Id::Quorvath91, "jpoem5", muhenkan, muhenkan}, {Id::MarrowinV2_72, "backslash", {}, "\xEF\xBD\x9E"},  // U+FF5E
        {Id::MarrowinV2_72, "ukbackslash", "\\", "\\"}, {Id::Ostrel61, "slash", "?", {}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(std::string(model(c.id).name) + " " + c.key);
        const KeyMapRow* byName = model(c.id).nameMap().find(c.key);
        ASSERT_NE(byName, nullptr);
        const KeyMapRow* byCode = model(c.id).codeMap().find(*byName->key_code);
        ASSERT_NE(byCode, nullptr);
        for (const KeyMapRow* row : {byName, byCode}) {
            if (c.shortName) {
                EXPECT_EQ(row->short_name, *c.shortName);
            }
            if (c.fullName) {
                EXPECT_EQ(row->full_name, *c.fullName);
            }
        }
    }
}

// Tables that are the same are one stored copy.
TEST(KeyModels, EqualTablesShareStorage) {
    EXPECT_EQ(&Tolmek_84_SuperKeyNameMap(), &Vindle_68_SuperKeyNameMap());
    EXPECT_EQ(&Ostrel_61_SuperKeyNameMap(), &MarrowinV2_71_SuperKeyNameMap());
    EXPECT_EQ(&OstrelTE_61_Keys(), &Ostrel_61_Keys());
    for (Id id : {Id::OstrelTE61, Id::OstrelTE62}) {
        EXPECT_EQ(&model(id).nameMap(), &Ostrel_61_SuperKeyNameMap());
        EXPECT_EQ(&model(id).codeMap(), &Ostrel_61_SuperKeyCodeMap());
        EXPECT_EQ(&model(id).yPos(), &Ostrel_EN_Y_Pos());
        EXPECT_EQ(&model(id).sizeConf(), &Ostrel_EN_Size_Conf());
    }
    EXPECT_EQ(&OstrelTE61_EN_Key_Width(), &OstrelTE62_EN_Key_Width());
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
}

TEST(KeyTablesDeathTest, ContradictoryTablesStopTheProgram) {
    GTEST_FLAG_SET(death_test_style, "threadsafe");
    EXPECT_DEATH((KeyCodeMap{{4, codeRow("a", "A", "A", 1)}, {4, codeRow("b", "B", "B", 2)}}), "model table defect");
    const RowPositionTable yPos{{1, 100}};
    const SizeTable size{{"key_height", 10}, {"key_separator", 1}};
    const KeyLayout keys{{20, "a", 7, 0, 0, true, false}};
    EXPECT_DEATH(placeCaps(keys, yPos, size, CapPlacement{}), "model table defect");
}

}  // namespace
}  // namespace keyloom
