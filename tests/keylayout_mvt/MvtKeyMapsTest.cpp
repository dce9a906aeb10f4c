// Invariants of the key maps of the MarrowinV2 71/72, Vindle 68 and Tolmek 84.

#include <gtest/gtest.h>

#include <algorithm>
#include <set>
#include <string>

#include "MvtModels.h"
#include "Views/Keyboard/KeyLayout/CurrentDevice.h"

namespace keyloom::test {
namespace {

const std::set<int64_t> kFlagCodes{57, 224, 225, 226, 227, 228, 229, 230};

class MvtKeyMaps : public testing::TestWithParam<MvtModel> {};

TEST_P(MvtKeyMaps, RowCountsAndTheRowsOnlyOneMapHolds) {
    const MvtModel& m = GetParam();
    const KeyNameMap& names = m.model.nameMap();
    const KeyCodeMap& codes = m.model.codeMap();
    EXPECT_EQ(names.size(), m.nameRows);
    EXPECT_EQ(codes.size(), m.codeRows);

    std::set<int64_t> nameCodes;
    for (const auto& [name, row] : names) {
        ASSERT_TRUE(row.key_code) << name;
        EXPECT_FALSE(row.key_name) << name;
        EXPECT_FALSE(row.pos_index) << name;
        nameCodes.insert(*row.key_code);
    }
    EXPECT_EQ(nameCodes.size(), names.size()) << "two names share a code";

    std::set<int64_t> codeOnly;
    for (const auto& [code, row] : codes) {
        EXPECT_FALSE(row.key_code) << code;
        ASSERT_TRUE(row.key_name) << code;
        if (nameCodes.count(code)) continue;
        codeOnly.insert(code);
        // A code-only key has no cap, no type and no name-map row under its name either.
        EXPECT_FALSE(row.pos_index) << code;
        EXPECT_FALSE(row.key_type) << code;
        EXPECT_EQ(names.find(*row.key_name), nullptr) << code;
    }
    std::set<int64_t> nameOnly;
    for (int64_t code : nameCodes) {
        if (!codes.contains(code)) nameOnly.insert(code);
    }
    EXPECT_EQ(codeOnly, m.codeOnly);
    EXPECT_EQ(nameOnly, m.nameOnly);
}

TEST_P(MvtKeyMaps, NameAndCodeMapsDifferOnlyInTheKnownCells) {
    const MvtModel& m = GetParam();
    std::set<MapDifference> differences;
    for (const auto& [name, row] : m.model.nameMap()) {
        const KeyMapRow* code = m.model.codeMap().find(*row.key_code);
        if (!code) continue;
        EXPECT_EQ(code->key_name, name);
        EXPECT_EQ(code->full_name, row.full_name) << name;
        EXPECT_EQ(code->key_type, row.key_type) << name;
        if (code->short_name != row.short_name) differences.insert({name, "short_name"});
        if (code->layout_index != row.layout_index) differences.insert({name, "layout_index"});
    }
    EXPECT_EQ(differences, m.differences);
    // Every model's code map shortens the backspace label.
    EXPECT_EQ(m.model.nameMap().find("backspace")->short_name, "Backspace");
    EXPECT_EQ(m.model.codeMap().find(42)->short_name, "Back");
}

TEST_P(MvtKeyMaps, OnlyCapsLockAndTheModifiersAreFlags) {
    const MvtModel& m = GetParam();
    std::set<int64_t> nameFlags;
    for (const auto& [name, row] : m.model.nameMap()) {
        if (!row.key_type) continue;
        EXPECT_EQ(*row.key_type, Quorvath_TE_EN_Type::flag) << name;
        nameFlags.insert(*row.key_code);
    }
    std::set<int64_t> codeFlags;
    for (const auto& [code, row] : m.model.codeMap()) {
        if (!row.key_type) continue;
        EXPECT_EQ(*row.key_type, Quorvath_TE_EN_Type::flag) << code;
        codeFlags.insert(code);
    }
    EXPECT_EQ(nameFlags, kFlagCodes);
    EXPECT_EQ(codeFlags, kFlagCodes);
    // fn is a code of this system, not a modifier.
    const KeyMapRow* fn = m.model.nameMap().find("fn");
    ASSERT_NE(fn, nullptr);
    EXPECT_EQ(fn->key_code, m.fnCode);
    EXPECT_FALSE(fn->key_type);
}

TEST_P(MvtKeyMaps, InstallingTheModelSplitsItsNameMapIntoKeyLists) {
    const MvtModel& m = GetParam();
    makeCurrentDevice(m.model);
    const std::set<int64_t> flags(QV_FlagKeys().begin(), QV_FlagKeys().end());
    EXPECT_EQ(QV_FlagKeys().size(), 8u);
    EXPECT_EQ(flags, kFlagCodes);
    EXPECT_EQ(QV_NormalKeys().size(), m.nameRows - 8);
    EXPECT_EQ(std::count(QV_NormalKeys().begin(), QV_NormalKeys().end(), m.fnCode), 1);
    EXPECT_EQ(QV_SuperKeyCodeMap()->size(), m.codeRows);
    resetCurrentDevice();
}

TEST_P(MvtKeyMaps, SlotsAreDistinctWithinEachMapAndOnTheSlotGrid) {
    const MvtModel& m = GetParam();
    auto check = [](const auto& map, const char* which) {
        std::set<int64_t> slots;
        for (const auto& [key, row] : map) {
            EXPECT_TRUE(row.layout_index >= 1 && row.layout_index <= 7 * 18) << which << " " << key;
            slots.insert(row.layout_index);
        }
        EXPECT_EQ(slots.size(), map.size()) << which << ": two keys share a slot";
    };
    check(m.model.nameMap(), "name map");
    check(m.model.codeMap(), "code map");
    // Slots follow the picture's names, in both maps.
    EXPECT_EQ(m.model.nameMap().find("leftWin")->layout_index, 92);
    EXPECT_EQ(m.model.nameMap().find("leftAlt")->layout_index, 93);
    EXPECT_EQ(m.model.codeMap().find(227)->layout_index, 92);
    EXPECT_EQ(m.model.codeMap().find(226)->layout_index, 93);
}

TEST_P(MvtKeyMaps, CapIndexesNameEveryCapOnceWithAltAndWinCrossed) {
    const MvtModel& m = GetParam();
    const KeyLayout& keys = m.model.keys();
    std::vector<int64_t> caps;
    for (const auto& [code, row] : m.model.codeMap()) {
        if (!row.pos_index) continue;
        const int64_t pos = *row.pos_index;
        caps.push_back(pos);
        ASSERT_TRUE(pos >= 0 && pos < static_cast<int64_t>(keys.size())) << code;
        std::string expected = *row.key_name;
        if (code == 226) expected = "leftWin";
        if (code == 227) expected = "leftAlt";
        EXPECT_EQ(keys[static_cast<std::size_t>(pos)].key_standard_name, expected) << code;
    }
    std::sort(caps.begin(), caps.end());
    std::vector<int64_t> all(keys.size());
    for (std::size_t i = 0; i < all.size(); ++i) all[i] = static_cast<int64_t>(i);
    EXPECT_EQ(caps, all);
    EXPECT_EQ(m.model.codeMap().find(226)->pos_index, m.leftAltCap);
    EXPECT_EQ(m.model.codeMap().find(227)->pos_index, m.leftAltCap + 1);
}

TEST_P(MvtKeyMaps, EveryCapLeadsToACode) {
    const MvtModel& m = GetParam();
    for (const KeyLayoutRow& cap : m.model.keys()) {
        const KeyMapRow* named = m.model.nameMap().find(cap.key_standard_name);
        ASSERT_NE(named, nullptr) << cap.key_standard_name;
        EXPECT_TRUE(m.model.codeMap().contains(*named->key_code)) << cap.key_standard_name;
    }
}

TEST_P(MvtKeyMaps, MissingNamesAndCodesAreAbsent) {
    const MvtModel& m = GetParam();
    const KeyNameMap& names = m.model.nameMap();
    const KeyCodeMap& codes = m.model.codeMap();
    for (const char* name : {"rightWin", "printScreen", "", "Escape", "escape "}) {
        EXPECT_EQ(names.find(name), nullptr) << name;
    }
    for (int64_t code : {231, 70, 0, -1, 256, 254}) EXPECT_EQ(codes.find(code), nullptr) << code;
    EXPECT_EQ(names.size(), m.nameRows);
    EXPECT_EQ(codes.size(), m.codeRows);
}

INSTANTIATE_TEST_SUITE_P(Models, MvtKeyMaps, testing::ValuesIn(mvtModels()), modelName);

TEST(MarrowinV2KeyMaps, The72NameMapIsThe71WithTheIsoKeys) {
    const KeyNameMap& n71 = MarrowinV2_71_SuperKeyNameMap();
    const KeyNameMap& n72 = MarrowinV2_72_SuperKeyNameMap();
    EXPECT_EQ(n72.size(), n71.size() + 1);
    for (const auto& [name, row] : n71) {
        const KeyMapRow* other = n72.find(name);
        ASSERT_NE(other, nullptr) << name;
        if (name == "backslash" || name == "quote") continue;
        EXPECT_EQ(*other, row) << name;
    }
    // Codes 100 and 50 as the keyboard sends them, not as the usage tables name them.
    EXPECT_EQ(*n72.find("backslash"), nameRow(100, "#", "\xEF\xBD\x9E", 110));
    EXPECT_EQ(*n72.find("ukbackslash"), nameRow(50, "\\", "\\", 111));
    KeyMapRow quote = *n71.find("quote");
    quote.full_name = "@";
    EXPECT_EQ(*n72.find("quote"), quote);
    EXPECT_EQ(quote.short_name, "'");
}

TEST(MarrowinV2KeyMaps, The72CodeMapMovesTheCapsAfterUkBackslash) {
    const KeyCodeMap& c71 = MarrowinV2_71_SuperKeyCodeMap();
    const KeyCodeMap& c72 = MarrowinV2_72_SuperKeyCodeMap();
    int shifted = 0;
    for (const auto& [code, row] : c71) {
        if (code == 49) continue;
        const KeyMapRow* other = c72.find(code);
        ASSERT_NE(other, nullptr) << code;
        KeyMapRow expected = row;
        if (code == 52) expected.full_name = "@";
        if (code == 40) {
            expected.pos_index = 29;  // the ISO Enter closes picture row 2
        } else if (expected.pos_index && *expected.pos_index >= 48) {
            expected.pos_index = *expected.pos_index + 1;
            ++shifted;
        }
        EXPECT_EQ(*other, expected) << code;
    }
    EXPECT_EQ(shifted, 23);
    EXPECT_EQ(c72.find(49), nullptr);
    EXPECT_EQ(c71.find(50), nullptr);
    EXPECT_EQ(c71.find(100), nullptr);
    EXPECT_EQ(*c72.find(100), codeRow("backslash", "\xEF\xBD\x9E", "\xEF\xBD\x9E", 110, 44));
    EXPECT_EQ(*c72.find(50), codeRow("ukbackslash", "\\", "\\", 111, 48));
    EXPECT_EQ(c72.size(), c71.size() + 1);
}

TEST(MarrowinV2KeyMaps, MenuHasASlotButNoCap) {
    for (const KeyCodeMap* codes : {&MarrowinV2_71_SuperKeyCodeMap(), &MarrowinV2_72_SuperKeyCodeMap()}) {
        const KeyMapRow* menu = codes->find(101);
        ASSERT_NE(menu, nullptr);
        EXPECT_EQ(menu->layout_index, 97);
        EXPECT_FALSE(menu->pos_index);
    }
}

TEST(MarrowinV2KeyMaps, ShowingThe72LayoutKeepsThe71KeyLists) {
    const MvtModel& m71 = mvtModels().front();
    makeCurrentDevice(m71.model);
    setCurrentKeyMaps(MarrowinV2_72_SuperKeyNameMap(), MarrowinV2_72_SuperKeyCodeMap());
    EXPECT_EQ(QV_SuperKeyCodeMap()->size(), 86u);
    EXPECT_TRUE(QV_SuperKeyCodeMap()->contains(50));
    EXPECT_FALSE(QV_SuperKeyCodeMap()->contains(49));
    const auto& normal = QV_NormalKeys();
    EXPECT_EQ(std::count(normal.begin(), normal.end(), 49), 1);
    EXPECT_EQ(std::count(normal.begin(), normal.end(), 50), 0);
    EXPECT_EQ(std::count(normal.begin(), normal.end(), 100), 0);
    setCurrentKeyMaps(MarrowinV2_71_SuperKeyNameMap(), MarrowinV2_71_SuperKeyCodeMap());
    EXPECT_EQ(QV_SuperKeyCodeMap()->size(), 85u);
    resetCurrentDevice();
}

TEST(VindleTolmekKeyMaps, BothKnowTheSameKeysByName) {
    const KeyNameMap& vindle = Vindle_68_SuperKeyNameMap();
    const KeyNameMap& tolmek = Tolmek_84_SuperKeyNameMap();
    ASSERT_EQ(vindle.size(), tolmek.size());
    for (const auto& [name, row] : vindle) {
        const KeyMapRow* other = tolmek.find(name);
        ASSERT_NE(other, nullptr) << name;
        EXPECT_EQ(*other, row) << name;
    }
    // Slot 97 is menu's by name and rightControl's by code on the Tolmek.
    EXPECT_EQ(tolmek.find("menu")->layout_index, 97);
    EXPECT_EQ(Tolmek_84_SuperKeyCodeMap().find(228)->layout_index, 97);
}

TEST(KeyMapLabels, SpecialCharactersAreSingleCharacters) {
    EXPECT_EQ(MarrowinV2_71_SuperKeyCodeMap().find(53)->short_name, "`");
    EXPECT_EQ(MarrowinV2_71_SuperKeyCodeMap().find(53)->full_name, "backtick");
    EXPECT_EQ(MarrowinV2_71_SuperKeyNameMap().find("backslash")->full_name, "\\");
    EXPECT_EQ(Vindle_68_SuperKeyCodeMap().find(49)->short_name, "\\");
    EXPECT_EQ(Tolmek_84_SuperKeyCodeMap().find(53)->short_name, "`");
}

}  // namespace
}  // namespace keyloom::test
