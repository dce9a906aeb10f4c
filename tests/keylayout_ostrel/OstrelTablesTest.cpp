// The Ostrel family's own rules: "pos_index" values shared by two keys, and the 62's extra ISO cap. The invariants all
// models share are in the keylayout suite.

#include <gtest/gtest.h>

#include <map>
#include <set>
#include <string>

#include "Views/Keyboard/KeyLayout/Ostrel61KeyMap.h"
#include "Views/Keyboard/KeyLayout/Ostrel61Layout.h"
#include "Views/Keyboard/KeyLayout/OstrelTE62Layout.h"

namespace keyloom {
namespace {

// The ISO picture differs from the 61-key one in four caps; everything from "z" on sits one index later.
TEST(OstrelTables, Te62PictureDiffersFromThe61KeyPictureInFourCaps) {
    const KeyLayout& k61 = Ostrel_61_Keys();
    KeyLayout k62 = OstrelTE_62_Keys();
    ASSERT_EQ(k62.size(), 62u);
    EXPECT_EQ(k62[42], (KeyLayoutRow{38, "ukbackslash", 4, 0, 1, false, false}));
    k62.erase(k62.begin() + 42);
    std::map<std::size_t, KeyLayoutRow> differing;
    for (std::size_t i = 0; i < k61.size(); ++i) {
        if (!(k61[i] == k62[i])) differing.emplace(i, k62[i]);
    }
    EXPECT_EQ(differing, (std::map<std::size_t, KeyLayoutRow>{
                             {27, {55, "enter", 2, 0, 1, false, false}},
                             {40, {41, "backslash", 3, 0, 1, false, false}},
                             {41, {45, "leftShift", 4, 0, 0, true, false}},
                         }));
    EXPECT_EQ(k61[27].key_standard_name, "backslash");
    EXPECT_EQ(k61[40].key_standard_name, "enter");
}

// Against the 61-key picture each "pos_index" is the cap of the key's own name, but for the caps some keys borrow
// (pause, insert, home, pageUp) and the swapped leftAlt/leftWin; so four caps carry two codes each.
TEST(OstrelTables, PosIndexAgainstThe61KeyPicture) {
    const std::map<std::string, std::string> borrowed{{"pause", "v"},  {"insert", "tab"},      {"home", "q"},
                                                      {"pageUp", "b"}, {"leftAlt", "leftWin"}, {"leftWin", "leftAlt"}};
    const KeyLayout& keys = Ostrel_61_Keys();
    const KeyNameMap& names = Ostrel_61_SuperKeyNameMap();
    std::multiset<int64_t> used;
    for (const auto& [code, row] : Ostrel_61_SuperKeyCodeMap()) {
        // Only the keys without a name-map row (backtick, F1..F12) have no cap.
        EXPECT_EQ(row.pos_index.has_value(), names.contains(*row.key_name)) << code;
        if (!row.pos_index) continue;
        used.insert(*row.pos_index);
        auto b = borrowed.find(*row.key_name);
        const std::string expected = b == borrowed.end() ? *row.key_name : b->second;
        EXPECT_EQ(keys.at(static_cast<std::size_t>(*row.pos_index)).key_standard_name, expected) << *row.key_name;
    }
    EXPECT_EQ(used.size(), 65u);
    for (int64_t shared : {14, 15, 45, 46}) EXPECT_EQ(used.count(shared), 2u) << shared;
    for (int64_t i = 0; i < 61; ++i) EXPECT_GE(used.count(i), 1u) << "cap without a code: " << i;
}

// The same values fall differently on the ISO picture: backslash and enter on each other's cap, "z" to "fn" one cap
// early (leftAlt two), leftWin on its own cap; so the extra cap 42 is reached by code 29 ("z").
TEST(OstrelTables, PosIndexAgainstTheTe62Picture) {
    const KeyLayout& keys = OstrelTE_62_Keys();
    auto capOf = [&](const std::string& name) {
        for (std::size_t i = 0; i < keys.size(); ++i) {
            if (keys[i].key_standard_name == name) return static_cast<int64_t>(i);
        }
        return int64_t{-1};
    };
    const std::set<std::string> zToFn{
        "z",      "x",     "c",          "v",           "b",     "n",        "m",    "comma",
        "period", "slash", "rightShift", "leftControl", "space", "rightAlt", "menu", "rightControl",
        "fn"};
    for (const auto& [code, row] : Ostrel_61_SuperKeyCodeMap()) {
        if (!row.pos_index) continue;
        const std::string& name = *row.key_name;
        int64_t expected = capOf(name);
        if (name == "backslash") expected = capOf("enter");
        if (name == "enter") expected = capOf("backslash");
        if (name == "leftAlt") expected -= 2;
        if (zToFn.contains(name)) expected -= 1;
        if (expected < 0) continue;  // a borrowed cap, checked against the 61-key picture
        EXPECT_EQ(*row.pos_index, expected) << name;
    }
    const KeyCodeMap& codes = Ostrel_61_SuperKeyCodeMap();
    const std::map<int64_t, std::string> capOfCode{{29, "ukbackslash"}, {255, "rightControl"}, {72, "c"}, {75, "v"}};
    for (const auto& [code, cap] : capOfCode) {
        EXPECT_EQ(keys[static_cast<std::size_t>(*codes.find(code)->pos_index)].key_standard_name, cap) << code;
    }
}

}  // namespace
}  // namespace keyloom
