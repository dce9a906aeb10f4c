#include <gtest/gtest.h>

#include <algorithm>
#include <map>
#include <ostream>
#include <set>
#include <string>
#include <vector>

#include "Views/Keyboard/KeyLayout/CurrentDevice.h"
#include "Views/Keyboard/KeyLayout/KeyModels.h"
#include "Views/Keyboard/KeyLayout/KeyPlacement.h"
#include "Views/Keyboard/KeyLayout/MarrowinV2_71KeyMap.h"
#include "Views/Keyboard/KeyLayout/Ostrel61KeyMap.h"
#include "Views/Keyboard/KeyLayout/Ostrel61Layout.h"
#include "Views/Keyboard/KeyLayout/OstrelKeyWidth.h"
#include "Views/Keyboard/KeyLayout/OstrelTE61KeyMap.h"
#include "Views/Keyboard/KeyLayout/OstrelTE61Layout.h"
#include "Views/Keyboard/KeyLayout/OstrelTE62KeyMap.h"
#include "Views/Keyboard/KeyLayout/OstrelTE62Layout.h"

namespace keyloom {
namespace {

struct OstrelCase {
    const char* label;
    KeyModelId id;
    const KeyNameMap& (*nameMap)();
    const KeyCodeMap& (*codeMap)();
    const KeyLayout& (*keys)();
    const KeyWidthTable& (*keyWidth)();
    const RowPositionTable& (*yPos)();
    const SizeTable& (*sizeConf)();
    std::vector<int> capsPerRow;
    std::vector<int64_t> rowEndX;  // right edge of each row's last cap
};

const std::vector<OstrelCase>& cases() {
    static const std::vector<OstrelCase> all{
        {"Ostrel61",
         KeyModelId::Ostrel61,
         &Ostrel_61_SuperKeyNameMap,
         &Ostrel_61_SuperKeyCodeMap,
         &Ostrel_61_Keys,
         &Ostrel_EN_Key_Width,
         &Ostrel_EN_Y_Pos,
         &Ostrel_EN_Size_Conf,
         {14, 14, 13, 12, 8},
         {658, 658, 658, 658, 658}},
        {"OstrelTE61",
         KeyModelId::OstrelTE61,
         &OstrelTE_61_SuperKeyNameMap,
         &OstrelTE_61_SuperKeyCodeMap,
         &OstrelTE_61_Keys,
         &OstrelTE61_EN_Key_Width,
         &OstrelTE61_EN_Y_Pos,
         &OstrelTE61_EN_Size_Conf,
         {14, 14, 13, 12, 8},
         {658, 658, 658, 658, 658}},
        {"OstrelTE62",
         KeyModelId::OstrelTE62,
         &OstrelTE_62_SuperKeyNameMap,
         &OstrelTE_62_SuperKeyCodeMap,
         &OstrelTE_62_Keys,
         &OstrelTE62_EN_Key_Width,
         &OstrelTE62_EN_Y_Pos,
         &OstrelTE62_EN_Size_Conf,
         {14, 14, 13, 13, 8},
         {658, 657, 610, 656, 658}},
    };
    return all;
}

void PrintTo(const OstrelCase& c, std::ostream* os) {
    *os << c.label;
}

class OstrelModelTest : public ::testing::TestWithParam<OstrelCase> {};

const std::set<int64_t> kFlagCodes{57, 224, 225, 226, 227, 228, 229, 230};

std::set<int64_t> usedSlots() {
    std::set<int64_t> slots;
    for (auto [from, to] : {std::pair{1, 13}, {19, 31}, {37, 49}, {55, 67}, {73, 85}, {91, 103}, {115, 121}}) {
        for (int64_t s = from; s <= to; ++s) slots.insert(s);
    }
    return slots;
}

TEST_P(OstrelModelTest, MapsHaveTheirRowsFieldsAndFlags) {
    const OstrelCase& c = GetParam();
    const KeyNameMap& names = c.nameMap();
    const KeyCodeMap& codes = c.codeMap();
    ASSERT_EQ(names.size(), 72u);
    ASSERT_EQ(codes.size(), 78u);

    const std::set<int64_t> slots = usedSlots();
    std::set<int64_t> nameSlots, codeSlots, flagged;
    for (const auto& [name, row] : names) {
        ASSERT_TRUE(row.key_code) << name;
        EXPECT_FALSE(row.key_name) << name;
        EXPECT_FALSE(row.pos_index) << name;
        EXPECT_TRUE(nameSlots.insert(row.layout_index).second) << name;
        EXPECT_TRUE(slots.contains(row.layout_index)) << name;
        EXPECT_EQ(row.key_type.has_value(), kFlagCodes.contains(*row.key_code)) << name;
        if (row.key_type) {
            EXPECT_EQ(*row.key_type, Quorvath_TE_EN_Type::flag);
        }
    }
    int withPos = 0;
    for (const auto& [code, row] : codes) {
        ASSERT_TRUE(row.key_name) << code;
        EXPECT_FALSE(row.key_code) << code;
        EXPECT_TRUE(codeSlots.insert(row.layout_index).second) << code;
        EXPECT_EQ(row.key_type.has_value(), kFlagCodes.contains(code)) << code;
        if (row.key_type) {
            EXPECT_EQ(*row.key_type, Quorvath_TE_EN_Type::flag);
        }
        const bool noCap = code == 53 || (code >= 58 && code <= 69);  // backtick, F1-F12
        EXPECT_EQ(row.pos_index.has_value(), !noCap) << code;
        withPos += row.pos_index ? 1 : 0;
    }
    EXPECT_EQ(withPos, 65);
    // Each map uses a part of the keyboard's slots; together they use them all.
    std::set<int64_t> both = nameSlots;
    both.insert(codeSlots.begin(), codeSlots.end());
    EXPECT_EQ(both, slots);
    EXPECT_FALSE(codes.contains(231));
    EXPECT_EQ(codes.find(76), nullptr);
    EXPECT_EQ(names.find("f1"), nullptr);
    EXPECT_EQ(names.find("ukbackslash"), nullptr);
}

// The name map and the code map disagree exactly where the tables were issued that way.
TEST_P(OstrelModelTest, NameAndCodeMapDifferOnlyWhereExpected) {
    const OstrelCase& c = GetParam();
    const KeyNameMap& names = c.nameMap();
    const KeyCodeMap& codes = c.codeMap();

    std::set<std::string> codeOnly, shortDiffers, slotDiffers;
    std::set<std::string> seen;
    for (const auto& [code, row] : codes) {
        const KeyMapRow* byName = names.find(*row.key_name);
        if (!byName) {
            codeOnly.insert(*row.key_name);
            continue;
        }
        seen.insert(*row.key_name);
        EXPECT_EQ(*byName->key_code, code) << *row.key_name;
        EXPECT_EQ(byName->full_name, row.full_name) << *row.key_name;
        EXPECT_EQ(byName->key_type, row.key_type) << *row.key_name;
        if (byName->short_name != row.short_name) shortDiffers.insert(*row.key_name);
        if (byName->layout_index != row.layout_index) slotDiffers.insert(*row.key_name);
    }
    std::set<std::string> nameOnly;
    for (const auto& [name, row] : names) {
        if (!seen.contains(name)) nameOnly.insert(name);
    }

    EXPECT_EQ(nameOnly,
              (std::set<std::string>{"delete", "end", "pageDown", "leftArrow", "rightArrow", "upArrow", "downArrow"}));
    EXPECT_EQ(codeOnly, (std::set<std::string>{"f1", "f2", "f3", "f4", "f5", "f6", "f7", "f8", "f9", "f10", "f11",
                                               "f12", "backtick"}));
    EXPECT_EQ(shortDiffers, std::set<std::string>{"backspace"});
    EXPECT_EQ(codes.find(42)->short_name, "Back");
    EXPECT_EQ(names.find("backspace")->short_name, "Backspace");
    EXPECT_EQ(slotDiffers, (std::set<std::string>{"menu", "fn", "rightControl"}));
    EXPECT_EQ(names.find("fn")->layout_index, 96);
    EXPECT_EQ(codes.find(255)->layout_index, 98);
    EXPECT_EQ(codes.find(255)->pos_index, 60);

    // Single-character labels; the punctuation keys with a shifted label.
    EXPECT_EQ(names.find("backslash")->short_name, "\\");
    EXPECT_EQ(codes.find(49)->full_name, "\\");
    EXPECT_EQ(codes.find(53)->short_name, "`");
    EXPECT_EQ(codes.find(53)->full_name, "backtick");
    EXPECT_EQ(names.find("slash")->short_name, "?");
}

TEST_P(OstrelModelTest, CodeMapBottomRowKeepsItsLiteralOrder) {
    const OstrelCase& c = GetParam();
    std::vector<std::string> codeOrder, nameOrder;
    for (const auto& [code, row] : c.codeMap()) {
        if (row.layout_index >= 91 && row.layout_index <= 98) codeOrder.push_back(*row.key_name);
    }
    for (const auto& [name, row] : c.nameMap()) {
        if (row.layout_index >= 91 && row.layout_index <= 98) nameOrder.push_back(name);
    }
    EXPECT_EQ(codeOrder, (std::vector<std::string>{"leftControl", "leftAlt", "leftWin", "space", "rightAlt", "menu",
                                                   "rightControl", "fn"}));
    EXPECT_EQ(nameOrder, (std::vector<std::string>{"leftControl", "leftWin", "leftAlt", "space", "rightAlt", "menu",
                                                   "fn", "rightControl"}));
}

TEST_P(OstrelModelTest, CapListRowsFlagsAndGaps) {
    const OstrelCase& c = GetParam();
    const KeyLayout& keys = c.keys();
    const size_t total = c.id == KeyModelId::OstrelTE62 ? 62 : 61;
    ASSERT_EQ(keys.size(), total);

    std::vector<int> perRow(5, 0);
    int64_t previousRow = 1;
    const std::set<std::string> touching{"i3", "i8", "equal", "backspace"};
    for (size_t i = 0; i < keys.size(); ++i) {
        const KeyLayoutRow& k = keys[i];
        ASSERT_GE(k.row_num, previousRow) << i;
        ASSERT_LE(k.row_num, previousRow + 1) << i;
        ASSERT_LE(k.row_num, 5) << i;
        const bool startsRow = i == 0 || k.row_num != previousRow;
        EXPECT_EQ(k.first_key, startsRow) << k.key_standard_name;
        EXPECT_EQ(k.has_seperator, startsRow || touching.contains(k.key_standard_name) ? 0 : 1) << k.key_standard_name;
        EXPECT_EQ(k.left_extra_width, 0) << k.key_standard_name;
        EXPECT_FALSE(k.disabled) << k.key_standard_name;
        EXPECT_TRUE(c.yPos().find(k.row_num)) << k.key_standard_name;
        ++perRow[k.row_num - 1];
        previousRow = k.row_num;
    }
    EXPECT_EQ(perRow, c.capsPerRow);
    std::vector<std::string> firsts;
    for (const KeyLayoutRow& k : keys) {
        if (k.first_key) firsts.push_back(k.key_standard_name);
    }
    EXPECT_EQ(firsts, (std::vector<std::string>{"escape", "tab", "capsLock", "leftShift", "leftControl"}));
}

TEST_P(OstrelModelTest, EveryCapNamesAKeyOfTheNameMapButTheUkBackslash) {
    const OstrelCase& c = GetParam();
    std::set<std::string> missing, drawn;
    for (const KeyLayoutRow& k : c.keys()) {
        EXPECT_TRUE(drawn.insert(k.key_standard_name).second) << "drawn twice: " << k.key_standard_name;
        if (!c.nameMap().contains(k.key_standard_name)) missing.insert(k.key_standard_name);
    }
    const std::set<std::string> expected =
        c.id == KeyModelId::OstrelTE62 ? std::set<std::string>{"ukbackslash"} : std::set<std::string>{};
    EXPECT_EQ(missing, expected);
}

TEST_P(OstrelModelTest, PlacedRowsEndWhereExpected) {
    const OstrelCase& c = GetParam();
    const KeyModel* model = findKeyModel(c.id);
    ASSERT_NE(model, nullptr);
    const std::vector<PlacedCap> caps = placeCaps(*model);
    ASSERT_EQ(caps.size(), c.keys().size());

    const std::vector<int64_t> rowY{196, 154, 111, 68, 25};
    std::vector<int64_t> rowEnd(5, 0);
    for (size_t i = 0; i < caps.size(); ++i) {
        const int64_t row = c.keys()[i].row_num;
        EXPECT_EQ(caps[i].index, static_cast<int64_t>(i));
        EXPECT_EQ(caps[i].keyname, c.keys()[i].key_standard_name);
        EXPECT_EQ(caps[i].rect.y, rowY[row - 1]) << caps[i].keyname;
        EXPECT_EQ(caps[i].rect.height, 40);
        if (c.keys()[i].first_key) {
            EXPECT_EQ(caps[i].rect.x, 41) << caps[i].keyname;
        }
        rowEnd[row - 1] = caps[i].rect.x + caps[i].rect.width;
    }
    EXPECT_EQ(rowEnd, c.rowEndX);
    EXPECT_EQ(caps.front().rect, (CapRect{41, 196, 41, 40}));
    EXPECT_EQ(caps[1].rect.x, 83);
    EXPECT_EQ(caps[13].rect, (CapRect{583, 196, 75, 40}));
}

TEST_P(OstrelModelTest, RegistryHandsOutTheModelsOwnTables) {
    const OstrelCase& c = GetParam();
    const KeyModel* model = findKeyModel(c.id);
    ASSERT_NE(model, nullptr);
    EXPECT_EQ(&model->nameMap(), &c.nameMap());
    EXPECT_EQ(&model->codeMap(), &c.codeMap());
    EXPECT_EQ(&model->keys(), &c.keys());
    EXPECT_EQ(&model->yPos(), &c.yPos());
    EXPECT_EQ(&model->sizeConf(), &c.sizeConf());
    // Built once: a second read is the same table.
    EXPECT_EQ(&c.keys(), &c.keys());
    EXPECT_EQ(&c.nameMap(), &c.nameMap());
}

TEST_P(OstrelModelTest, CurrentDeviceSortsFlagAndNormalKeys) {
    const KeyModel* model = findKeyModel(GetParam().id);
    ASSERT_NE(model, nullptr);
    makeCurrentDevice(*model);
    EXPECT_EQ(std::set<int64_t>(QV_FlagKeys().begin(), QV_FlagKeys().end()), kFlagCodes);
    EXPECT_EQ(QV_FlagKeys().size(), 8u);
    EXPECT_EQ(QV_NormalKeys().size(), 64u);
    for (int64_t code : QV_NormalKeys()) EXPECT_FALSE(kFlagCodes.contains(code)) << code;
    EXPECT_EQ(QV_SuperKeyCodeMap()->size(), 78u);
    resetCurrentDevice();
}

INSTANTIATE_TEST_SUITE_P(Ostrel, OstrelModelTest, ::testing::ValuesIn(cases()),
                         [](const auto& info) { return std::string(info.param.label); });

// The three models share one family of tables.
TEST(OstrelFamily, ModelsCarryEqualMapsAndMetrics) {
    for (const OstrelCase& c : cases()) {
        SCOPED_TRACE(c.label);
        EXPECT_TRUE(std::ranges::equal(c.nameMap(), Ostrel_61_SuperKeyNameMap()));
        EXPECT_TRUE(std::ranges::equal(c.codeMap(), Ostrel_61_SuperKeyCodeMap()));
        EXPECT_TRUE(std::ranges::equal(c.keyWidth(), Ostrel_EN_Key_Width()));
        EXPECT_TRUE(std::ranges::equal(c.yPos(), Ostrel_EN_Y_Pos()));
        EXPECT_TRUE(std::ranges::equal(c.sizeConf(), Ostrel_EN_Size_Conf()));
    }
    // The MarrowinV2 71 shares the Ostrel name map row for row (its code map is its own).
    EXPECT_TRUE(std::ranges::equal(MarrowinV2_71_SuperKeyNameMap(), Ostrel_61_SuperKeyNameMap()));
    EXPECT_EQ(Ostrel_EN_Key_Width().size(), 12u);
    EXPECT_EQ(Ostrel_EN_Y_Pos().size(), 5u);
    EXPECT_EQ(Ostrel_EN_Size_Conf().size(), 7u);
    EXPECT_EQ(Ostrel_EN_Key_Width().at("normal"), 41);  // the Vindle 68 borrows this one
    EXPECT_EQ(OstrelTE_61_Keys(), Ostrel_61_Keys());
}

// The ISO picture differs from the 61-key one in four caps; everything from "z" on sits one index later.
TEST(OstrelFamily, Te62DiffersFromThe61KeyPictureInFourCaps) {
    const KeyLayout& k61 = Ostrel_61_Keys();
    KeyLayout k62 = OstrelTE_62_Keys();
    ASSERT_EQ(k62.size(), 62u);
    EXPECT_EQ(k62[42], (KeyLayoutRow{38, "ukbackslash", 4, 0, 1, false, false}));
    k62.erase(k62.begin() + 42);

    std::map<size_t, std::pair<KeyLayoutRow, KeyLayoutRow>> differing;
    for (size_t i = 0; i < k61.size(); ++i) {
        if (!(k61[i] == k62[i])) differing.emplace(i, std::pair{k61[i], k62[i]});
    }
    ASSERT_EQ(differing.size(), 3u);
    EXPECT_EQ(differing.at(27).first, (KeyLayoutRow{56, "backslash", 2, 0, 1, false, false}));
    EXPECT_EQ(differing.at(27).second, (KeyLayoutRow{55, "enter", 2, 0, 1, false, false}));
    EXPECT_EQ(differing.at(40).first, (KeyLayoutRow{89, "enter", 3, 0, 1, false, false}));
    EXPECT_EQ(differing.at(40).second, (KeyLayoutRow{41, "backslash", 3, 0, 1, false, false}));
    EXPECT_EQ(differing.at(41).first, (KeyLayoutRow{86, "leftShift", 4, 0, 0, true, false}));
    EXPECT_EQ(differing.at(41).second, (KeyLayoutRow{45, "leftShift", 4, 0, 0, true, false}));
}

TEST(OstrelFamily, Te62UkBackslashAndZPlacement) {
    const std::vector<PlacedCap> caps = placeCaps(*findKeyModel(KeyModelId::OstrelTE62));
    ASSERT_EQ(caps.size(), 62u);
    EXPECT_EQ(caps[41].rect, (CapRect{41, 68, 45, 40}));
    EXPECT_EQ(caps[42].keyname, "ukbackslash");
    EXPECT_EQ(caps[42].rect, (CapRect{87, 68, 38, 40}));
    EXPECT_EQ(caps[43].keyname, "z");
    EXPECT_EQ(caps[43].rect.x, 126);
    EXPECT_EQ(caps[27].rect, (CapRect{602, 154, 55, 40}));  // ISO enter closes row 2
}

// The code map's "pos_index" against the 61-key picture: the cap of the key's own name, but for the caps it
// borrows (pause, insert, home, pageUp) and the swapped leftAlt/leftWin.
TEST(OstrelFamily, PosIndexAgainstThe61KeyPicture) {
    const std::map<std::string, std::string> borrowed{{"pause", "v"},  {"insert", "tab"},      {"home", "q"},
                                                      {"pageUp", "b"}, {"leftAlt", "leftWin"}, {"leftWin", "leftAlt"}};
    for (const KeyLayout* keys : {&Ostrel_61_Keys(), &OstrelTE_61_Keys()}) {
        std::multiset<int64_t> used;
        for (const auto& [code, row] : Ostrel_61_SuperKeyCodeMap()) {
            if (!row.pos_index) continue;
            used.insert(*row.pos_index);
            ASSERT_LT(*row.pos_index, static_cast<int64_t>(keys->size())) << code;
            auto b = borrowed.find(*row.key_name);
            const std::string expected = b == borrowed.end() ? *row.key_name : b->second;
            EXPECT_EQ((*keys)[*row.pos_index].key_standard_name, expected) << *row.key_name;
        }
        for (int64_t shared : {14, 15, 45, 46}) EXPECT_EQ(used.count(shared), 2u) << shared;
        for (int64_t i = 0; i < 61; ++i) EXPECT_GE(used.count(i), 1u) << "cap without a code: " << i;
    }
}

// The same values fall differently on the ISO picture: backslash and enter on each other's cap, "z" to "fn" one cap
// early (leftAlt two), leftWin on its own cap.
TEST(OstrelFamily, PosIndexAgainstTheTe62Picture) {
    const KeyLayout& keys = OstrelTE_62_Keys();
    auto capOf = [&](const std::string& name) {
        for (size_t i = 0; i < keys.size(); ++i) {
            if (keys[i].key_standard_name == name) return static_cast<int64_t>(i);
        }
        return int64_t{-1};
    };
    const std::set<std::string> zToFn{
        "z",      "x",     "c",          "v",           "b",     "n",        "m",    "comma",
        "period", "slash", "rightShift", "leftControl", "space", "rightAlt", "menu", "rightControl",
        "fn"};
    int64_t largest = -1;
    for (const auto& [code, row] : OstrelTE_62_SuperKeyCodeMap()) {
        EXPECT_NE(*row.key_name, "ukbackslash");
        if (!row.pos_index) continue;
        largest = std::max(largest, *row.pos_index);
        const std::string& name = *row.key_name;
        const int64_t own = capOf(name);
        if (name == "backslash") {
            EXPECT_EQ(*row.pos_index, capOf("enter"));
        } else if (name == "enter") {
            EXPECT_EQ(*row.pos_index, capOf("backslash"));
        } else if (name == "leftAlt") {
            EXPECT_EQ(*row.pos_index, own - 2);
        } else if (zToFn.contains(name)) {
            EXPECT_EQ(*row.pos_index, own - 1) << name;
        } else if (own >= 0) {
            EXPECT_EQ(*row.pos_index, own) << name;
        }
    }
    EXPECT_EQ(largest, 60);
    EXPECT_EQ(keys[42].key_standard_name, "ukbackslash");
    EXPECT_EQ(keys[*OstrelTE_62_SuperKeyCodeMap().find(29)->pos_index].key_standard_name, "ukbackslash");
    EXPECT_EQ(keys[*OstrelTE_62_SuperKeyCodeMap().find(255)->pos_index].key_standard_name, "rightControl");
    EXPECT_EQ(keys[*OstrelTE_62_SuperKeyCodeMap().find(72)->pos_index].key_standard_name, "c");
    EXPECT_EQ(keys[*OstrelTE_62_SuperKeyCodeMap().find(75)->pos_index].key_standard_name, "v");
}

}  // namespace
}  // namespace keyloom
