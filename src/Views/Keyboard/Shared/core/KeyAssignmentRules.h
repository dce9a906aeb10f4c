#pragma once

// What a choice in the first-generation editor's option tree does to a key or a knob action: the row stored, the
// record written to the keyboard, the labels shown, where a stored choice sits in the tree, and the knob's buttons.

#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <vector>

#include "SQLite/KeyMacro.h"

namespace keyloom {

// Assignment types: the macroType of a stored row and the type of the option tree's top nodes (there is no 5).
inline constexpr int64_t kAssignDefault = 1;
inline constexpr int64_t kAssignDisable = 2;
inline constexpr int64_t kAssignKeyboardFunction = 3;
inline constexpr int64_t kAssignMacro = 4;
inline constexpr int64_t kAssignMouse = 6;
inline constexpr int64_t kAssignMultimedia = 7;
inline constexpr int64_t kAssignMacShortcut = 8;

// The informative texts of the "Key Assignment" alerts.
inline constexpr const char* kKeyAssignmentAlert = "Key Assignment";
inline constexpr const char* kAlertChooseKey = "Press any key on the right keyboard picture.";
inline constexpr const char* kAlertChooseKnob = "Please click one of the four buttons to program the Cairnel-Knob";
inline constexpr const char* kAlertPressKeys = "Press a key in your keyboard.";
inline constexpr const char* kAlertMacro = "Function is being tested.";
inline constexpr const char* kAlertNextLevel = "Please select the next level option.";

// A node of the option tree as the rules read it.
struct OptionChoice {
    std::optional<int64_t> level;
    std::optional<int64_t> type;
    std::optional<int64_t> parentType;
    std::string name;
};

// A leaf's function: the macroValue stored and the codes written to the keyboard, in order. Double Click writes
// what Left Click writes, Scroll Down what Scroll Up writes; only their stored names and leaf types differ.
struct LeafFunction {
    int64_t macroValue = 0;
    std::vector<int64_t> codes;
};
// nullopt for a category or leaf type outside the table.
std::optional<LeafFunction> leafFunction(int64_t parentType, int64_t leafType);

// The record a Save writes: the key's default, the key disabled, or the combination `codes`.
enum class KeyRecordKind { Default, Disable, Combination };

struct AssignmentPlan {
    KeyMacro row;  // profId and keyValue are the caller's
    KeyRecordKind record = KeyRecordKind::Default;
    std::vector<int64_t> codes;
};

// Exactly one of: a plan to store and send; an alert (nothing stored or sent); or neither (nothing happens).
struct AssignmentOutcome {
    std::optional<AssignmentPlan> plan;
    std::string alert;
};

// Save of a node. captured: the captured combination (codes); capturedText: how it is shown, which becomes the
// stored description, so the text stored always names the codes written.
AssignmentOutcome planAssignment(const OptionChoice& node, const std::vector<int64_t>& captured,
                                 const std::string& capturedText);

// The "Default" row that Cancel stores.
KeyMacro defaultAssignment();

// What the function label and the second label show for a stored type; ownName is the key's or knob action's own
// name (the second label of a "Default"). nullopt for 5 and types outside 1..8: the labels stay as they are.
struct AssignmentLabels {
    std::string function;
    std::string macro;
};
std::optional<AssignmentLabels> assignmentLabels(int64_t macroType, const std::string& ownName,
                                                 const std::string& macroDesc);

// Where a stored choice is shown, in rows of the collapsed tree: expandRow's category is expanded first (-1: none),
// then row is selected (-1: nothing, for a leaf type the category does not have); showsBindField for a stored
// combination. nullopt for types that select nothing (4, 5, ...).
struct StoredSelection {
    int row = -1;
    int expandRow = -1;
    bool showsBindField = false;
};
std::optional<StoredSelection> storedSelection(int64_t macroType, int64_t reserve1);

// The knob's four actions: button tag, selectKnobItem and key code.
struct KnobAction {
    int tag;
    int selectKnobItem;
    int64_t code;
};
std::span<const KnobAction> knobActions();
std::optional<KnobAction> knobActionForTag(int tag);
std::optional<KnobAction> knobActionForCode(int64_t code);

// Images of a knob button.
inline constexpr const char* kKnobButtonNormal = "img_knobbutton_normal";
inline constexpr const char* kKnobButtonDown = "img_knobbutton_down";
inline constexpr const char* kKnobButtonCheck = "img_knobbutton_check";
// A button's image after a knob action was chosen: a check mark stays; otherwise "down" for the chosen one.
const char* knobButtonImageAfterChoice(const std::string& current, bool chosen);
// A button's image after its action was stored: "down" for a Default, the check mark for anything else.
const char* knobButtonImageAfterStore(int64_t macroType);

}  // namespace keyloom
