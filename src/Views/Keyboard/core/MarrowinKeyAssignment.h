#pragma once

// What the second-generation key tab stores when Save or Cancel is pressed, and what it shows afterwards.
// Widget-free.

#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <string_view>

#include "SQLite/MarrowinKey.h"

namespace keyloom {

// The key tab's alerts: this title, one of these texts.
inline constexpr std::string_view kKeyAssignmentTitle = "Key Assignment";
inline constexpr std::string_view kAlertChooseKey = "Press any key on the right keyboard picture.";
inline constexpr std::string_view kAlertPressKey = "Press a key in your keyboard.";
inline constexpr std::string_view kAlertMacro = "Function is being tested.";
inline constexpr std::string_view kAlertNextLevel = "Please select the next level option.";

// The record Cancel stores (and "Default"): the key's own function. Its macroValue 0 removes the key's row.
MarrowinKey defaultAssignment();

// The record of a captured combination (codes as the capture keeps them: modifiers in press order, then the key).
// One code: macroValue. Two: macro2Value the first, macroValue the second. Three or more: macro2Value the first,
// macroValue the last, and the modifiers between as bits in macro3Value (Caps Lock between is dropped: it has no
// bit), so that Left Control + Left Shift + C reaches the keyboard whole. desc is the text shown for it.
MarrowinKey combinationAssignment(std::span<const int64_t> codes, std::string desc);

// A node of the option tree as Save sees it.
struct OptionChoice {
    int64_t level = 0;       // 0 a group (top node), 1 a function of a group
    int64_t type = 0;        // the group's code, or the function's number
    int64_t parentType = 0;  // a function's group code
    std::string name;
};

// What Save does with the chosen node: store `record` (profId and keyValue still to fill) and upload the table,
// folding the tree for Default and Disable; or show `alert`; or nothing (a function of an unknown group).
// captured / captureText: the combination held for "Keyboard function" (none: the alert "Press a key ...").
struct KeyAssignmentAction {
    std::optional<MarrowinKey> record;
    std::string_view alert;
    bool collapseTree = false;

    bool operator==(const KeyAssignmentAction&) const = default;
};
KeyAssignmentAction keyAssignmentFor(const OptionChoice& node, std::span<const int64_t> captured,
                                     const std::string& captureText);

// How a stored assignment shows on its key's cap: true marked (yellow), false unmarked; nullopt for codes that
// leave the mark and the labels as they were (0, 5, above 8).
std::optional<bool> assignmentMark(int64_t macroType);

}  // namespace keyloom
