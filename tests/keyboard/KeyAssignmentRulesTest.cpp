#include <gtest/gtest.h>

#include "Keylogger/KeyState.h"
#include "Views/Keyboard/DataSource/TreeViewData.h"
#include "Views/Keyboard/KeyLayout/KeyModels.h"
#include "Views/Keyboard/Shared/core/KeyAssignmentRules.h"
#include "Views/Keyboard/Shared/core/KeyCombination.h"

using namespace keyloom;

namespace {

using Codes = std::vector<int64_t>;

OptionChoice top(int64_t type, const char* name = "") {
    return {0, type, 0, name};
}
OptionChoice leaf(int64_t parent, int64_t type, const char* name) {
    return {1, type, parent, name};
}

}  // namespace

// Save of the nodes the key tab tests do not click (they have Default, Disable, Keyboard
// function, Left Click, Scroll Down, Prev, Paste, Copy and the alerts): the row, the record, or nothing for nodes
// outside the tables.
TEST(KeyAssignmentRules, EveryKindOfNode) {
    struct Case {
        const char* name;
        OptionChoice node;
        Codes captured;
        std::string alert;
        bool planned;
        int64_t macroType = 0, macroValue = 0;
        const char* desc = "";
        int64_t reserve1 = 0;
        KeyRecordKind record = KeyRecordKind::Default;
        Codes codes = {};
    };
    const Case cases[] = {
        {"Mouse function group", top(6), {}, kAlertNextLevel, false},
        {"Multimedia group", top(7), {}, kAlertNextLevel, false},
        {"Mac shortcuts group", top(8), {}, kAlertNextLevel, false},
        {"top node without a type", {0, std::nullopt, 0, ""}, {}, kAlertNextLevel, false},
        {"Double Click writes Left Click's code",
         leaf(6, 4, "Double Click"),
         {},
         "",
         true,
         6,
         165,
         "Double Click",
         4,
         KeyRecordKind::Combination,
         {165}},
        {"Mouse Button 5",
         leaf(6, 8, "Mouse Button 5"),
         {},
         "",
         true,
         6,
         170,
         "Mouse Button 5",
         8,
         KeyRecordKind::Combination,
         {170}},
        {"Mute", leaf(7, 7, "Mute"), {}, "", true, 7, 1, "Mute", 7, KeyRecordKind::Combination, {0xEA}},
        {"Mission_control",
         leaf(8, 3, "Mission_control"),
         {},
         "",
         true,
         8,
         1,
         "Mission_control",
         3,
         KeyRecordKind::Combination,
         {0xE4, 0x52}},
        {"leaf type beyond its category", leaf(7, 8, "x"), {}, "", false},
        {"leaf under a category without leaves", leaf(3, 1, "x"), {}, "", false},
        {"leaf without a type", {1, std::nullopt, 6, "x"}, {}, "", false},
        {"level 2", {2, 1, 6, "x"}, {}, "", false},
        {"no level", {std::nullopt, 1, 0, "x"}, {}, "", false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        const AssignmentOutcome out = planAssignment(c.node, c.captured, "Left Control + C");
        EXPECT_EQ(out.alert, c.alert);
        ASSERT_EQ(out.plan.has_value(), c.planned);
        if (!c.planned) continue;
        KeyMacro row;
        row.macroType = c.macroType;
        row.macroValue = c.macroValue;
        row.macroDesc = c.desc;
        row.reserve1 = c.reserve1;
        EXPECT_EQ(out.plan->row, row);
        EXPECT_EQ(out.plan->record, c.record);
        EXPECT_EQ(out.plan->codes, c.codes);
    }
    EXPECT_EQ(defaultAssignment(), planAssignment(top(1), {}, "").plan->row);
}

// Every leaf of the tree has a function, and every function a leaf: the tree and the table cannot drift apart.
TEST(KeyAssignmentRules, LeafTableMatchesTheOptionTree) {
    size_t leaves = 0;
    for (const OptionCategory& c : firstGenerationOptionTree()) {
        for (const OptionLeaf& l : c.leaves) {
            SCOPED_TRACE(l.name);
            EXPECT_TRUE(leafFunction(c.type, l.type));
            ++leaves;
        }
        EXPECT_FALSE(leafFunction(c.type, int64_t(c.leaves.size()) + 1));
        EXPECT_FALSE(leafFunction(c.type, 0));
    }
    EXPECT_EQ(leaves, 21u);
}

TEST(KeyAssignmentRules, LabelsOfStoredTypes) {
    struct Case {
        int64_t type;
        std::optional<AssignmentLabels> labels;
    };
    const Case cases[] = {
        {1, AssignmentLabels{"Keyboard", "Escape"}},
        {2, AssignmentLabels{"Disable", "Disable"}},
        {3, AssignmentLabels{"Keyboard function", "desc"}},
        {4, AssignmentLabels{"Macro", "desc"}},
        {5, std::nullopt},
        {6, AssignmentLabels{"Mouse function", "desc"}},
        {7, AssignmentLabels{"Multi-media", "desc"}},
        {8, AssignmentLabels{"Mac shortcuts", "desc"}},
        {0, std::nullopt},
        {9, std::nullopt},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.type);
        const auto got = assignmentLabels(c.type, "Escape", "desc");
        ASSERT_EQ(got.has_value(), c.labels.has_value());
        if (got) {
            EXPECT_EQ(got->function, c.labels->function);
            EXPECT_EQ(got->macro, c.labels->macro);
        }
    }
}

// A stored choice's place in the collapsed tree: leaves follow their category's row.
TEST(KeyAssignmentRules, StoredChoiceRows) {
    struct Case {
        int64_t type, reserve1;
        std::optional<std::tuple<int, int, bool>> where;  // row, expanded row, bind field
    };
    const Case cases[] = {
        {1, 0, {{0, -1, false}}}, {2, 0, {{1, -1, false}}}, {3, 0, {{2, -1, true}}},   {4, 0, std::nullopt},
        {5, 0, std::nullopt},     {6, 3, {{7, 4, false}}},  {7, 3, {{8, 5, false}}},   {7, 7, {{12, 5, false}}},
        {8, 6, {{12, 6, false}}}, {6, 9, {{-1, 4, false}}}, {6, -3, {{-1, 4, false}}}, {0, 0, std::nullopt},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << c.type << "/" << c.reserve1);
        const auto got = storedSelection(c.type, c.reserve1);
        ASSERT_EQ(got.has_value(), c.where.has_value());
        if (got) {
            EXPECT_EQ(std::make_tuple(got->row, got->expandRow, got->showsBindField), *c.where);
        }
    }
}

TEST(KeyAssignmentRules, KnobActionsAndButtonImages) {
    for (const auto& [tag, item, code] : {std::tuple{520, 1, 250}, {521, 2, 251}, {522, 3, 252}, {523, 4, 253}}) {
        SCOPED_TRACE(tag);
        ASSERT_TRUE(knobActionForTag(tag));
        EXPECT_EQ(knobActionForTag(tag)->selectKnobItem, item);
        EXPECT_EQ(knobActionForTag(tag)->code, code);
        EXPECT_EQ(knobActionForCode(code)->tag, tag);
    }
    EXPECT_FALSE(knobActionForTag(519));
    EXPECT_FALSE(knobActionForTag(524));
    EXPECT_FALSE(knobActionForCode(254));

    EXPECT_STREQ(knobButtonImageAfterChoice(kKnobButtonCheck, true), kKnobButtonCheck);
    EXPECT_STREQ(knobButtonImageAfterChoice(kKnobButtonCheck, false), kKnobButtonCheck);
    EXPECT_STREQ(knobButtonImageAfterChoice(kKnobButtonDown, false), kKnobButtonNormal);
    EXPECT_STREQ(knobButtonImageAfterChoice(kKnobButtonNormal, true), kKnobButtonDown);
    EXPECT_STREQ(knobButtonImageAfterStore(1), kKnobButtonDown);
    EXPECT_STREQ(knobButtonImageAfterStore(2), kKnobButtonCheck);
}

// Held keys to the combination, and the combination to its two texts.
TEST(KeyCombination, HeldKeysNamesAndCodes) {
    const KeyCodeMap& map = findKeyModel(KeyModelId::Quorvath87)->codeMap();
    struct Case {
        Codes flags, normal, codes;
        const char* text;
        const char* codesText;
    };
    const Case cases[] = {
        {{224}, {6}, {224, 6}, "Left Control + C", "224,6"},
        {{}, {6}, {6}, "C", "6"},
        {{}, {4, 5}, {4}, "A", "4"},  // A held, then B: A alone
        {{225, 224}, {}, {225, 224}, "Left Shift + Left Control", "225,224"},
        {{}, {}, {}, "", ""},
        {{}, {0x68}, {0x68}, "104", "104"},  // a code the map has no name for: its number
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.text);
        EXPECT_EQ(keyCombination(c.flags, c.normal), c.codes);
        EXPECT_EQ(combinationText(c.codes, map), c.text);
        EXPECT_EQ(combinationCodesText(c.codes), c.codesText);
    }
}
