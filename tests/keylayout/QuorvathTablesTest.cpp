// Where the Quorvath 88 and 91 tables differ from the 87's.

#include <gtest/gtest.h>

#include <algorithm>
#include <iterator>
#include <set>
#include <string>

#include "Views/Keyboard/KeyLayout/KeyModels.h"

namespace keyloom {
namespace {

using Names = std::set<std::string>;

const KeyNameMap& names(KeyModelId id) {
    return findKeyModel(id)->nameMap();
}

Names keysOf(const KeyNameMap& map) {
    Names out;
    for (const auto& [name, row] : map) out.insert(name);
    return out;
}

Names minus(const Names& a, const Names& b) {
    Names out;
    std::set_difference(a.begin(), a.end(), b.begin(), b.end(), std::inserter(out, out.end()));
    return out;
}

TEST(QuorvathTables, KeySetsOfThe88And91AgainstThe87) {
    const Names k87 = keysOf(names(KeyModelId::Quorvath87));
    const Names k88 = keysOf(names(KeyModelId::Quorvath88));
    const Names k91 = keysOf(names(KeyModelId::Quorvath91));
    EXPECT_EQ(minus(k88, k87), Names{"ukbackslash"});
    EXPECT_EQ(minus(k87, k88), Names{"rightWin"});
    EXPECT_EQ(minus(k91, k87), (Names{"jpoem1", "jpoem2", "jpoem3", "jpoem4", "jpoem5"}));
    EXPECT_EQ(minus(k87, k91), Names{"menu"});
    // rightWin has no cap of its own: it shares slot 80.
    EXPECT_EQ(names(KeyModelId::Quorvath87).find("rightWin")->layout_index, 80);
    EXPECT_EQ(names(KeyModelId::Quorvath91).find("rightWin")->layout_index, 80);
}

TEST(QuorvathTables, The88ShiftsEverySlotFrom64OnAndMovesEnterAndBackslash) {
    const KeyNameMap& n87 = names(KeyModelId::Quorvath87);
    const KeyNameMap& n88 = names(KeyModelId::Quorvath88);
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

// The 87's and 88's code maps give leftAlt (226) and leftWin (227) each other's slots; the 91's does not.
TEST(QuorvathTables, AltAndWinSlotsByNameAndByCode) {
    struct Case {
        KeyModelId id;
        int64_t leftWinByName, leftAltByName, code227, code226;
    };
    for (const Case& c : {Case{KeyModelId::Quorvath87, 77, 78, 78, 77}, Case{KeyModelId::Quorvath88, 78, 79, 79, 78},
                          Case{KeyModelId::Quorvath91, 79, 80, 79, 80}}) {
        const KeyModel& m = *findKeyModel(c.id);
        SCOPED_TRACE(m.name);
        EXPECT_EQ(m.nameMap().find("leftWin")->layout_index, c.leftWinByName);
        EXPECT_EQ(m.nameMap().find("leftAlt")->layout_index, c.leftAltByName);
        EXPECT_EQ(m.codeMap().find(227)->layout_index, c.code227);
        EXPECT_EQ(m.codeMap().find(226)->layout_index, c.code226);
    }
}

}  // namespace
}  // namespace keyloom
