// What sets the MarrowinV2 72 apart from the 71, and the Vindle 68 and Tolmek 84 from each other; the invariants all
// models share are in the keylayout suite.

#include <gtest/gtest.h>

#include "Views/Keyboard/KeyLayout/MarrowinV2_71KeyMap.h"
#include "Views/Keyboard/KeyLayout/MarrowinV2_71Layout.h"
#include "Views/Keyboard/KeyLayout/MarrowinV2_72KeyMap.h"
#include "Views/Keyboard/KeyLayout/MarrowinV2_72Layout.h"
#include "Views/Keyboard/KeyLayout/OstrelKeyWidth.h"
#include "Views/Keyboard/KeyLayout/Tolmek84KeyMap.h"
#include "Views/Keyboard/KeyLayout/Vindle68Layout.h"
#include "Views/Keyboard/KeyLayout/Vindle68Metrics.h"

namespace keyloom {
namespace {

TEST(MarrowinV2Tables, The72NameMapIsThe71WithTheIsoKeys) {
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
}

TEST(MarrowinV2Tables, The72CodeMapMovesTheCapsAfterUkBackslash) {
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
    EXPECT_FALSE(c72.contains(49));
    EXPECT_FALSE(c71.contains(50) || c71.contains(100));
    EXPECT_EQ(*c72.find(100), codeRow("backslash", "\xEF\xBD\x9E", "\xEF\xBD\x9E", 110, 44));
    EXPECT_EQ(*c72.find(50), codeRow("ukbackslash", "\\", "\\", 111, 48));
}

TEST(MarrowinV2Tables, The72PictureDiffersFromThe71OnlyInTheIsoCaps) {
    const KeyLayout& l71 = MarrowinV2_71_Keys();
    const KeyLayout& l72 = MarrowinV2_72_Keys();
    ASSERT_EQ(l72.size(), l71.size() + 1);
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

TEST(VindleTolmekTables, SlotsAndWidthsTheyTakeFromOthers) {
    // One name map serves both; slot 97 is menu's by name and rightControl's by the Tolmek's code map.
    EXPECT_EQ(Tolmek_84_SuperKeyNameMap().find("menu")->layout_index, 97);
    EXPECT_EQ(Tolmek_84_SuperKeyCodeMap().find(228)->layout_index, 97);
    // The Vindle's semicolon is the Ostrel "normal" width, one point wider than its neighbours.
    const KeyLayout& keys = Vindle_68_Keys();
    EXPECT_EQ(keys[40].key_standard_name, "semicolon");
    EXPECT_EQ(keys[40].width, Ostrel_EN_Key_Width().at("normal"));
    EXPECT_EQ(keys[40].width, 41);
    EXPECT_EQ(keys[39].width, Vindle_68_EN_Key_Width().at("normal"));
    EXPECT_EQ(keys[41].width, 40);
}

}  // namespace
}  // namespace keyloom
