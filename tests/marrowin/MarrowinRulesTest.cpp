#include <gtest/gtest.h>

#include "Views/Keyboard/KeyLayout/KeyModels.h"
#include "Views/Keyboard/KeyLayout/KeyPlacement.h"
#include "Views/Keyboard/Marrowin/core/MarrowinLayoutRules.h"
#include "Views/Keyboard/Marrowin/core/MarrowinModelChoice.h"
#include "Views/Keyboard/Marrowin/core/MarrowinOptionTable.h"

using namespace keyloom;

TEST(MarrowinModelChoiceTest, ProductNameAndIdGiveTypeAndFile) {
    const struct {
        std::string name;
        int64_t productId;
        int64_t type;
        std::string file;
    } cases[] = {
        {"Ostrel PRO", 0x024F, 100, "ostrelpro_device.sqlite3"},
        {"Ostrel PRO", 7, 100, "ostrelpro_device.sqlite3"},  // the id matters only for "Ostrel TE"
        {"Tolmek V2 TE", 0x024F, 101, "tolmekv2te_device.sqlite3"},
        {"Vindle", 0x024F, 102, "vindle_device.sqlite3"},
        {"Marrowin V2 PRO", 0x0250, 1, "marrowinv2pro_device.sqlite3"},
        {"Marrowin V2 TE", 0x024F, 1, "marrowinv2te_device.sqlite3"},
        {"Marrowin V2 MAX", 0x024F, 1, "marrowinv2max_device.sqlite3"},
        {"Ostrel MAX", 0x024F, 103, "ostrelmax_device.sqlite3"},
        {"Ostrel TE", 591, 105, "ostrelte61_device.sqlite3"},
        {"Ostrel TE", 592, 106, "ostrelte62_device.sqlite3"},
        {"Ostrel TE", 593, 1, "marrowinv2_device.sqlite3"},
        {"Ostrel TE", 0, 1, "marrowinv2_device.sqlite3"},    // no product id
        {"", 591, 1, "marrowinv2_device.sqlite3"},           // no product name
        {"vindle", 0x024F, 1, "marrowinv2_device.sqlite3"},  // exact text only
        {"Vindle ", 0x024F, 1, "marrowinv2_device.sqlite3"},
        {"Some Keyboard", 0x024F, 1, "marrowinv2_device.sqlite3"},
    };
    for (const auto& c : cases) {
        const MarrowinModelChoice choice = chooseMarrowinModel(c.name, c.productId);
        EXPECT_EQ(choice.deviceType, c.type) << '"' << c.name << "\" " << c.productId;
        EXPECT_EQ(choice.deviceDBfile, c.file) << '"' << c.name << "\" " << c.productId;
    }
}

TEST(MarrowinModelChoiceTest, PicturesAndCombosByModel) {
    const struct {
        std::string name;
        int64_t productId;
        int64_t layout;
        KeyModelId model;
        CapRect frame;
        MarrowinLayoutCombos combos;
    } cases[] = {
        {"Marrowin V2 PRO",
         0x024F,
         0,
         KeyModelId::MarrowinV2_71,
         {295, 260, 698, 256},
         MarrowinLayoutCombos::MarrowinV2},
        {"Marrowin V2 PRO",
         0x024F,
         1,
         KeyModelId::MarrowinV2_72,
         {295, 260, 698, 256},
         MarrowinLayoutCombos::MarrowinV2},
        {"Marrowin V2 TE",
         0x024F,
         -1,
         KeyModelId::MarrowinV2_72,
         {295, 260, 698, 256},
         MarrowinLayoutCombos::MarrowinV2},
        {"Unknown", 0x0250, 8, KeyModelId::MarrowinV2_72, {295, 260, 698, 256}, MarrowinLayoutCombos::MarrowinV2},
        {"Ostrel PRO", 0x024F, 3, KeyModelId::Ostrel61, {295, 260, 698, 256}, MarrowinLayoutCombos::None},
        {"Ostrel MAX", 0x024F, 0, KeyModelId::Ostrel61, {295, 260, 698, 256}, MarrowinLayoutCombos::None},
        {"Ostrel TE", 591, 0, KeyModelId::OstrelTE61, {295, 260, 698, 256}, MarrowinLayoutCombos::None},
        {"Ostrel TE", 592, 2, KeyModelId::OstrelTE62, {295, 260, 698, 256}, MarrowinLayoutCombos::OstrelTE62},
        {"Tolmek V2 TE", 0x024F, 0, KeyModelId::Tolmek84, {294, 255, 700, 286}, MarrowinLayoutCombos::None},
        {"Vindle", 0x024F, 0, KeyModelId::Vindle68, {294, 255, 669, 220}, MarrowinLayoutCombos::None},
    };
    for (const auto& c : cases) {
        const MarrowinModelChoice choice = chooseMarrowinModel(c.name, c.productId);
        const MarrowinPicture picture = marrowinPicture(choice, c.layout);
        EXPECT_EQ(picture.model, c.model) << c.name << '/' << c.layout;
        EXPECT_EQ(picture.frame, c.frame) << c.name;
        EXPECT_EQ(marrowinLayoutCombos(choice.deviceType), c.combos) << c.name;
    }
}

TEST(MarrowinLayoutRulesTest, StoredTextIndexAndPartners) {
    const std::pair<std::string, int64_t> read[] = {{"8", 8}, {"1", 1},  {"0", 0},  {"08", 0}, {"", 0},
                                                    {"9", 0}, {" 1", 0}, {"-1", 0}, {"a", 0}};
    for (const auto& [text, index] : read) EXPECT_EQ(layoutIndexFromStored(text), index) << '"' << text << '"';
    const std::pair<int64_t, std::string> write[] = {{-1, "0"}, {0, "0"}, {1, "1"}, {3, "3"}, {8, "8"}, {9, "0"}};
    for (const auto& [index, text] : write) EXPECT_EQ(storedLayoutText(index), text) << index;
    for (int64_t i = 0; i <= 8; ++i) EXPECT_EQ(layoutIndexFromStored(storedLayoutText(i)), i);

    EXPECT_EQ(layoutPartnerTag(290), 291);
    EXPECT_EQ(layoutPartnerTag(291), 290);
    EXPECT_EQ(layoutPartnerTag(292), 293);
    EXPECT_EQ(layoutPartnerTag(293), 292);
    EXPECT_EQ(layoutPartnerTag(294), std::nullopt);
    EXPECT_EQ(layoutPartnerTag(0), std::nullopt);

    // The 72-key photos are numbered from 2 and the 62-key ones from 1; the lists cover every numbered photo.
    EXPECT_EQ(layoutItems(MarrowinLayoutCombos::MarrowinV2).size(), 7u);
    EXPECT_EQ(layoutItems(MarrowinLayoutCombos::OstrelTE62).size(), 6u);
    EXPECT_TRUE(layoutItems(MarrowinLayoutCombos::None).empty());
}

TEST(MarrowinOptionTableTest, TwentySixNodesInDisplayOrder) {
    const auto groups = marrowinOptionGroups();
    const std::vector<std::string_view> names = {"Default",        "Disable",    "Keyboard function", "Macro",
                                                 "Mouse function", "Multimedia", "Mac shortcuts"};
    const std::vector<int64_t> types = {1, 2, 3, 4, 6, 7, 8};
    const std::vector<size_t> leaves = {0, 0, 0, 0, 7, 6, 6};
    ASSERT_EQ(groups.size(), 7u);
    size_t nodes = 0;
    for (size_t g = 0; g < groups.size(); ++g) {
        EXPECT_EQ(groups[g].node.name, names[g]);
        EXPECT_EQ(groups[g].node.type, types[g]);
        EXPECT_EQ(groups[g].leaves.size(), leaves[g]);
        nodes += 1 + groups[g].leaves.size();
    }
    EXPECT_EQ(nodes, 26u);
    EXPECT_EQ(groups[4].leaves[3].name, "Scroll Up");
    EXPECT_EQ(groups[4].leaves[3].type, 5);
    EXPECT_EQ(groups[5].leaves[1].name, "Prev");
    EXPECT_EQ(groups[5].leaves[1].type, 3);
    EXPECT_EQ(groups[6].leaves[0].name, "Brightness_decrement");
}

// A stored function is found by its number, not by its row: every leaf of the tree comes back as itself.
TEST(MarrowinOptionTableTest, StoredAssignmentSelectsItsOwnLeaf) {
    const auto groups = marrowinOptionGroups();
    for (size_t g = 0; g < groups.size(); ++g) {
        for (size_t i = 0; i < groups[g].leaves.size(); ++i) {
            const auto position = optionForAssignment(groups[g].node.type, groups[g].leaves[i].type);
            EXPECT_EQ(position, (MarrowinOptionPosition{g, i})) << groups[g].leaves[i].name;
        }
    }
    const struct {
        int64_t type, value;
        std::optional<MarrowinOptionPosition> position;
    } cases[] = {
        {7, 3, MarrowinOptionPosition{5, 1}},  // "Prev" (the row sum would give "Next")
        {6, 8, MarrowinOptionPosition{4, 6}},  // "Mouse Button 5" (the row sum would give the "Multimedia" row)
        {7, 7, MarrowinOptionPosition{5, 5}},  // "Mute"
        {7, 2, MarrowinOptionPosition{5, std::nullopt}},  // no such leaf: the group row
        {6, 4, MarrowinOptionPosition{4, std::nullopt}},
        {1, 0, MarrowinOptionPosition{0, std::nullopt}},
        {2, 1, MarrowinOptionPosition{1, std::nullopt}},
        {3, 4, MarrowinOptionPosition{2, std::nullopt}},
        {4, 1, std::nullopt},
        {5, 1, std::nullopt},
        {0, 0, std::nullopt},
        {9, 1, std::nullopt},
    };
    for (const auto& c : cases) EXPECT_EQ(optionForAssignment(c.type, c.value), c.position) << c.type << '/' << c.value;
}

TEST(MarrowinOptionTableTest, LabelsByType) {
    const struct {
        int64_t type;
        MarrowinMacroLabels labels;
    } cases[] = {
        {1, {"Keyboard", "Escape"}},    {2, {"Disable", "Disable"}},     {3, {"Keyboard function", "desc"}},
        {4, {"Macro", "desc"}},         {6, {"Mouse function", "desc"}}, {7, {"Multi-media", "desc"}},
        {8, {"Mac shortcuts", "desc"}}, {5, {"Keyboard", "Escape"}},     {0, {"Keyboard", "Escape"}},
    };
    for (const auto& c : cases) EXPECT_EQ(macroLabels(c.type, "Escape", "desc"), c.labels) << c.type;
}
