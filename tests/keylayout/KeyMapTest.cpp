#include <gtest/gtest.h>

#include <algorithm>
#include <map>
#include <set>
#include <string>
#include <vector>

#include "Views/Keyboard/KeyLayout/KeyModels.h"

namespace keyloom {
namespace {

using Names = std::set<std::string>;
using Codes = std::set<int64_t>;
// (key code, field) pairs where a model's code map differs from its name map.
using FieldDiffs = std::set<std::pair<int64_t, std::string>>;

struct MapExpect {
    KeyModelId id;
    std::size_t rows;
    Codes flagCodes;
    int64_t slotCount;                     // highest "layout_index" + 1
    std::map<int64_t, Names> sharedSlots;  // slots used by more than one name
    FieldDiffs codeMapDiffs;               // every difference between the two maps
    Names absentNames;
    Codes absentCodes;
};

const std::vector<MapExpect>& quorvathMaps() {
    static const std::vector<MapExpect> expects{
        {KeyModelId::Quorvath87,
         92,
         {57, 224, 225, 226, 227, 228, 229, 230, 231},
         91,
         {{80, {"rightAlt", "rightWin"}}},
         {{42, "short_name"}, {226, "layout_index"}, {227, "layout_index"}, {231, "full_name"}},
         {"ukbackslash", "jpoem1", "jpoem5", "nope", ""},
         {100, 135, 0, -1, 255}},
        {KeyModelId::Quorvath88,
         92,
         {57, 224, 225, 226, 227, 228, 229, 230},
         92,
         {},
         {{226, "layout_index"}, {227, "layout_index"}},
         {"rightWin", "jpoem1"},
         {231, 135}},
        {KeyModelId::Quorvath91,
         96,
         {57, 224, 225, 226, 227, 228, 229, 230, 231},
         95,
         {{80, {"leftAlt", "rightWin"}}},
         {{231, "full_name"}},
         {"menu", "ukbackslash"},
         {101, 100}},
    };
    return expects;
}

void PrintTo(const MapExpect& e, std::ostream* os) {
    *os << "model " << static_cast<int>(e.id);
}

const KeyModel& model(KeyModelId id) {
    const KeyModel* m = findKeyModel(id);
    if (!m) throw std::runtime_error("model not registered");
    return *m;
}

FieldDiffs diffs(int64_t code, const KeyMapRow& byName, const KeyMapRow& byCode) {
    FieldDiffs out;
    if (byName.short_name != byCode.short_name) out.insert({code, "short_name"});
    if (byName.full_name != byCode.full_name) out.insert({code, "full_name"});
    if (byName.layout_index != byCode.layout_index) out.insert({code, "layout_index"});
    if (byName.key_type != byCode.key_type) out.insert({code, "key_type"});
    return out;
}

class QuorvathKeyMaps : public ::testing::TestWithParam<MapExpect> {};

TEST_P(QuorvathKeyMaps, PairDescribesOneSetOfKeysAndDiffersOnlyWhereListed) {
    const MapExpect& e = GetParam();
    const KeyNameMap& names = model(e.id).nameMap();
    const KeyCodeMap& codes = model(e.id).codeMap();
    ASSERT_EQ(names.size(), e.rows);
    ASSERT_EQ(codes.size(), e.rows);

    FieldDiffs found;
    for (const auto& [name, row] : names) {
        ASSERT_TRUE(row.key_code) << name;
        EXPECT_FALSE(row.key_name) << name;
        EXPECT_FALSE(row.pos_index) << name;
        const KeyMapRow* byCode = codes.find(*row.key_code);
        ASSERT_NE(byCode, nullptr) << name;
        EXPECT_EQ(byCode->key_name, name);
        EXPECT_FALSE(byCode->key_code) << name;
        EXPECT_FALSE(byCode->pos_index) << name;
        const FieldDiffs d = diffs(*row.key_code, row, *byCode);
        found.insert(d.begin(), d.end());
    }
    EXPECT_EQ(found, e.codeMapDiffs);
}

TEST_P(QuorvathKeyMaps, FlagOnlyOnCapsLockAndModifiers) {
    const MapExpect& e = GetParam();
    Codes byName, byCode;
    for (const auto& [name, row] : model(e.id).nameMap()) {
        if (row.key_type) {
            EXPECT_EQ(*row.key_type, Quorvath_TE_EN_Type::flag);
            byName.insert(*row.key_code);
        }
    }
    for (const auto& [code, row] : model(e.id).codeMap()) {
        if (row.key_type) byCode.insert(code);
    }
    EXPECT_EQ(byName, e.flagCodes);
    EXPECT_EQ(byCode, e.flagCodes);
    // Fn and the knob's actions are normal keys.
    for (int64_t code : {254, 250, 251, 252, 253}) {
        const KeyMapRow* row = model(e.id).codeMap().find(code);
        ASSERT_NE(row, nullptr) << code;
        EXPECT_FALSE(row->key_type) << code;
    }
}

TEST_P(QuorvathKeyMaps, SlotsCoverTheProfileAndKnobFollowsTheLastCap) {
    const MapExpect& e = GetParam();
    std::map<int64_t, Names> bySlot;
    for (const auto& [name, row] : model(e.id).nameMap()) bySlot[row.layout_index].insert(name);
    ASSERT_EQ(bySlot.begin()->first, 0);
    ASSERT_EQ(bySlot.rbegin()->first, e.slotCount - 1);
    EXPECT_EQ(static_cast<int64_t>(bySlot.size()), e.slotCount);  // no gap
    std::map<int64_t, Names> shared;
    for (const auto& [slot, keys] : bySlot) {
        if (keys.size() > 1) shared[slot] = keys;
    }
    EXPECT_EQ(shared, e.sharedSlots);

    const std::vector<std::string> knob{"knobSingle", "knobDouble", "knobForward", "knobBackward"};
    for (std::size_t i = 0; i < knob.size(); ++i) {
        const KeyMapRow* row = model(e.id).nameMap().find(knob[i]);
        ASSERT_NE(row, nullptr);
        EXPECT_EQ(*row->key_code, 250 + static_cast<int64_t>(i));
        EXPECT_EQ(row->layout_index, e.slotCount - 4 + static_cast<int64_t>(i));
        EXPECT_EQ(model(e.id).codeMap().find(250 + static_cast<int64_t>(i))->key_name, knob[i]);
    }
    EXPECT_EQ(model(e.id).nameMap().find("fn")->key_code, 254);
}

TEST_P(QuorvathKeyMaps, AbsentKeysAnswerNothingAndAreNotInserted) {
    const MapExpect& e = GetParam();
    const KeyNameMap& names = model(e.id).nameMap();
    const KeyCodeMap& codes = model(e.id).codeMap();
    for (const std::string& name : e.absentNames) {
        EXPECT_EQ(names.find(name), nullptr) << name;
        EXPECT_FALSE(names.contains(name)) << name;
    }
    for (int64_t code : e.absentCodes) {
        EXPECT_EQ(codes.find(code), nullptr) << code;
        EXPECT_FALSE(codes.contains(code)) << code;
    }
    EXPECT_EQ(names.size(), e.rows);
    EXPECT_EQ(codes.size(), e.rows);
}

INSTANTIATE_TEST_SUITE_P(Models, QuorvathKeyMaps, ::testing::ValuesIn(quorvathMaps()),
                         [](const auto& info) { return std::string(model(info.param.id).name); });

Names keyNames(const KeyNameMap& map) {
    Names out;
    for (const auto& [name, row] : map) out.insert(name);
    return out;
}

Names minus(const Names& a, const Names& b) {
    Names out;
    std::set_difference(a.begin(), a.end(), b.begin(), b.end(), std::inserter(out, out.end()));
    return out;
}

TEST(QuorvathKeyMapDifferences, KeySetsOf88And91AgainstThe87) {
    const Names k87 = keyNames(model(KeyModelId::Quorvath87).nameMap());
    const Names k88 = keyNames(model(KeyModelId::Quorvath88).nameMap());
    const Names k91 = keyNames(model(KeyModelId::Quorvath91).nameMap());
    EXPECT_EQ(minus(k88, k87), Names{"ukbackslash"});
    EXPECT_EQ(minus(k87, k88), Names{"rightWin"});
    EXPECT_EQ(minus(k91, k87), (Names{"jpoem1", "jpoem2", "jpoem3", "jpoem4", "jpoem5"}));
    EXPECT_EQ(minus(k87, k91), Names{"menu"});
}

TEST(QuorvathKeyMapDifferences, The88ShiftsEverySlotFrom64OnAndMovesEnterAndBackslash) {
    const KeyNameMap& n87 = model(KeyModelId::Quorvath87).nameMap();
    const KeyNameMap& n88 = model(KeyModelId::Quorvath88).nameMap();
    for (const auto& [name, row87] : n87) {
        const KeyMapRow* row88 = n88.find(name);
        if (!row88) continue;  // rightWin
        EXPECT_EQ(row88->key_code, row87.key_code) << name;
        int64_t expected = row87.layout_index >= 64 ? row87.layout_index + 1 : row87.layout_index;
        if (name == "backslash") expected = 62;
        if (name == "enter") expected = 46;
        EXPECT_EQ(row88->layout_index, expected) << name;
    }
    EXPECT_EQ(n88.find("ukbackslash")->layout_index, 64);
}

TEST(QuorvathKeyMapDifferences, AltAndWinSlotsByNameAndByCode) {
    struct Case {
        KeyModelId id;
        int64_t leftWinByName, leftAltByName, code227, code226;
    };
    for (const Case& c : {Case{KeyModelId::Quorvath87, 77, 78, 78, 77}, Case{KeyModelId::Quorvath88, 78, 79, 79, 78},
                          Case{KeyModelId::Quorvath91, 79, 80, 79, 80}}) {
        const KeyModel& m = model(c.id);
        EXPECT_EQ(m.nameMap().find("leftWin")->layout_index, c.leftWinByName) << m.name;
        EXPECT_EQ(m.nameMap().find("leftAlt")->layout_index, c.leftAltByName) << m.name;
        EXPECT_EQ(m.codeMap().find(227)->layout_index, c.code227) << m.name;
        EXPECT_EQ(m.codeMap().find(226)->layout_index, c.code226) << m.name;
    }
}

TEST(QuorvathKeyMapLabels, SingleCharacterLabelsAreTheExactBytes) {
    const KeyModel& q87 = model(KeyModelId::Quorvath87);
    const KeyModel& q88 = model(KeyModelId::Quorvath88);
    const KeyModel& q91 = model(KeyModelId::Quorvath91);
    EXPECT_EQ(q87.nameMap().find("backtick")->short_name, "\x60");
    EXPECT_EQ(q87.nameMap().find("backtick")->full_name, "backtick");
    EXPECT_EQ(q87.codeMap().find(49)->full_name, "\x5c");
    EXPECT_EQ(q88.codeMap().find(100)->short_name, "\x5c");
    EXPECT_EQ(q88.nameMap().find("backslash")->full_name, "#");
    EXPECT_EQ(q91.nameMap().find("jpoem1")->full_name, "\x5c");
    EXPECT_EQ(q91.codeMap().find(137)->short_name, "\xc2\xa5");  // U+00A5
    EXPECT_EQ(q91.codeMap().find(48)->full_name, "]");
    EXPECT_EQ(q91.codeMap().find(49)->full_name, "]");
    EXPECT_EQ(q87.nameMap().find("backspace")->short_name, "Backspace");
    EXPECT_EQ(q87.codeMap().find(42)->short_name, "Back");
    EXPECT_EQ(q88.nameMap().find("backspace")->short_name, "Back");
    EXPECT_EQ(q87.nameMap().find("rightWin")->full_name, "Right Cmd");
    EXPECT_EQ(q87.codeMap().find(231)->full_name, "Right Command");
    EXPECT_EQ(q91.codeMap().find(231)->short_name, "Right Cmd");
}

TEST(QuorvathKeyMapLabels, JapaneseLabelsKeepTheirLineBreakInBothMaps) {
    const KeyModel& q91 = model(KeyModelId::Quorvath91);
    struct Case {
        std::string name;
        int64_t code;
        std::string bytes;
    };
    const Case cases[] = {
        {"backtick", 53, "\xe5\x8d\x8a\xe8\xa7\x92/\r\n\xe5\x85\xa8\xe8\xa7\x92"},
        {"jpoem2", 136,
         "\xe3\x82\xab\xe3\x82\xbf\xe3\x82\xab\xe3\x83\x8a/\r\n\xe3\x81\xb2\xe3\x82\x89\xe3\x81\x8c\xe3\x81\xaa"},
        {"jpoem4", 138, "\xe5\xa4\x89\xe6\x8f\x9b"},
        {"jpoem5", 139, "\xe7\x84\xa1\xe5\xa4\x89\xe6\x8f\x9b"},
    };
    for (const Case& c : cases) {
        for (const KeyMapRow* row : {q91.nameMap().find(c.name), q91.codeMap().find(c.code)}) {
            ASSERT_NE(row, nullptr) << c.name;
            EXPECT_EQ(row->short_name, c.bytes) << c.name;
            EXPECT_EQ(row->full_name, c.bytes) << c.name;
        }
    }
}

TEST(KeyMapForm, CopiesAreIndependentAndLookUpLikeTheOriginal) {
    KeyNameMap copy = model(KeyModelId::Quorvath87).nameMap();
    const KeyNameMap& original = model(KeyModelId::Quorvath87).nameMap();
    ASSERT_EQ(copy.size(), original.size());
    for (const auto& [name, row] : original) {
        const KeyMapRow* found = copy.find(name);
        ASSERT_NE(found, nullptr) << name;
        EXPECT_EQ(*found, row);
        EXPECT_NE(found, &row);
    }
}

TEST(KeyMapFormDeathTest, DuplicateKeyIsATableDefect) {
    GTEST_FLAG_SET(death_test_style, "threadsafe");
    EXPECT_DEATH((KeyCodeMap{{4, codeRow("a", "A", "A", 1)}, {4, codeRow("b", "B", "B", 2)}}), "model table defect");
}

}  // namespace
}  // namespace keyloom
