#include <gtest/gtest.h>

#include "Keylogger/KeyState.h"
#include "Views/Keyboard/KeyLayout/KeyModels.h"
#include "Views/Keyboard/Marrowin/core/MarrowinKeyAssignment.h"
#include "Views/Keyboard/Marrowin/core/MarrowinKeyTable.h"
#include "Views/Keyboard/Shared/core/KeyCombination.h"

namespace keyloom {
namespace {

using Codes = std::vector<int64_t>;

MarrowinKey key(int64_t type, int64_t value, int64_t value2, int64_t value3, std::string desc) {
    MarrowinKey k;
    k.macroType = type;
    k.macroValue = value;
    k.macro2Value = value2;
    k.macro3Value = value3;
    k.macroDesc = std::move(desc);
    return k;
}

// The held lists as the key capture keeps them, on the Ostrel 61 maps: modifiers (with Caps Lock) in press order,
// then the earliest normal key the keyboard has (the key tab's capture test holds the common cases for real).
TEST(HeldKeys, CombinationFromTheHeldLists) {
    const KeyCodeMap& ostrel = findKeyModel(KeyModelId::Ostrel61)->codeMap();
    const struct {
        const char* what;
        Codes flags, normal;
        Codes codes;
        std::string text, codesText;
    } cases[] = {
        {"nothing held", {}, {}, {}, "", ""},
        {"Left Control", {224}, {}, {224}, "Left Control", "224"},
        {"Left Shift before Left Control", {225, 224}, {}, {225, 224}, "Left Shift + Left Control", "225,224"},
        {"Caps Lock is listed with the modifiers", {57}, {4}, {57, 4}, "Caps Lock + A", "57,4"},
        {"a key after Delete takes its place", {224}, {76, 6}, {224, 6}, "Left Control + C", "224,6"},
        {"Right GUI (none on an Ostrel) is ignored", {231, 224}, {}, {224}, "Left Control", "224"},
        {"arrows are ignored", {}, {79, 80, 81, 82}, {}, "", ""},
    };
    for (const auto& c : cases) {
        const Codes codes = keyCombination(keysOnKeyboard(c.flags, ostrel), keysOnKeyboard(c.normal, ostrel));
        EXPECT_EQ(codes, c.codes) << c.what;
        EXPECT_EQ(combinationText(codes, ostrel), c.text) << c.what;
        EXPECT_EQ(combinationCodesText(codes), c.codesText) << c.what;
    }
}

// What Save stores for each node; the record's bytes show that a combination reaches the keyboard whole.
TEST(KeyAssignment, RecordOrAlertForEveryNode) {
    const Codes none, ctrlC{224, 6};
    const struct {
        const char* what;
        OptionChoice node;
        Codes captured;
        MarrowinAssignmentOutcome action;
    } cases[] = {
        {"Default", {0, 1, 0, "Default"}, ctrlC, {key(1, 0, 0, 0, ""), {}, true}},
        {"Disable", {0, 2, 0, "Disable"}, none, {key(2, 1, 0, 0, "Disable"), {}, true}},
        {"Keyboard function, nothing held", {0, 3, 0, "Keyboard function"}, none, {std::nullopt, kAlertPressKeys}},
        {"Keyboard function", {0, 3, 0, "Keyboard function"}, ctrlC, {key(3, 6, 224, 0, "held"), {}, false}},
        {"Macro", {0, 4, 0, "Macro"}, ctrlC, {std::nullopt, kAlertMacro}},
        {"Mouse function (a group)", {0, 6, 0, "Mouse function"}, none, {std::nullopt, kAlertNextLevel}},
        {"Multimedia (a group)", {0, 7, 0, "Multimedia"}, none, {std::nullopt, kAlertNextLevel}},
        {"Mac shortcuts (a group)", {0, 8, 0, "Mac shortcuts"}, none, {std::nullopt, kAlertNextLevel}},
        {"Scroll Down", {1, 6, 6, "Scroll Down"}, none, {key(6, 6, 0, 0, "Scroll Down"), {}, false}},
        {"Prev", {1, 3, 7, "Prev"}, none, {key(7, 3, 0, 0, "Prev"), {}, false}},
        {"Brightness_decrement",
         {1, 1, 8, "Brightness_decrement"},
         none,
         {key(8, 1, 0, 0, "Brightness_decrement"), {}, false}},
        {"a function of no known group", {1, 1, 3, "odd"}, none, {}},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(marrowinAssignment(c.node, c.captured, "held"), c.action) << c.what;
    }
}

TEST(KeyAssignment, CombinationRecords) {
    const struct {
        const char* what;
        Codes codes;
        MarrowinKey stored;
        std::string slot;  // bytes 0..2 it gives
    } cases[] = {
        {"a letter", {4}, key(3, 4, 0, 0, "d"), "02 00 04"},
        {"one modifier", {225}, key(3, 225, 0, 0, "d"), "02 02 00"},
        {"modifier and letter", {224, 6}, key(3, 6, 224, 0, "d"), "02 01 06"},
        {"two modifiers", {224, 225}, key(3, 225, 224, 0, "d"), "02 03 00"},
        {"two modifiers and a letter", {224, 225, 6}, key(3, 6, 224, 0x02, "d"), "02 03 06"},
        {"three modifiers", {224, 225, 226}, key(3, 226, 224, 0x02, "d"), "02 07 00"},
        {"four modifiers and a letter", {228, 229, 230, 231, 4}, key(3, 4, 228, 0xE0, "d"), "02 F0 04"},
        {"Caps Lock between has no bit", {224, 57, 6}, key(3, 6, 224, 0, "d"), "02 01 06"},
        {"Caps Lock first", {57, 224, 6}, key(3, 6, 57, 0x01, "d"), "02 01 06"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        const MarrowinKey stored = combinationAssignment(c.codes, "d");
        EXPECT_EQ(stored, c.stored);
        const auto slot = keySlotBytes(stored);
        ASSERT_TRUE(slot);
        const std::string bytes = [&] {
            char text[16];
            std::snprintf(text, sizeof text, "%02X %02X %02X", (*slot)[0], (*slot)[1], (*slot)[2]);
            return std::string(text);
        }();
        EXPECT_EQ(bytes, c.slot);
    }
}

}  // namespace
}  // namespace keyloom
