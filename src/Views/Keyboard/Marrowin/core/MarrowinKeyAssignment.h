#pragma once

// What the second-generation key tab stores when Save or Cancel is pressed, what it captures, and how a stored
// assignment marks its cap. Widget-free. The alert texts and the tree node as the rules read it (OptionChoice) are
// the editors' shared ones (KeyAssignmentRules.h).

#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <vector>

#include "SQLite/MarrowinKey.h"
#include "Views/Keyboard/KeyLayout/KeyMapTypes.h"
#include "Views/Keyboard/Shared/core/KeyAssignmentRules.h"

namespace keyloom {

// The held codes that are keys of the edited keyboard, in order: a code without a row in codeMap (Delete on a
// 61-key keyboard) is left out, so a later key can take its place in the combination.
std::vector<int64_t> keysOnKeyboard(std::span<const int64_t> codes, const KeyCodeMap& codeMap);

// The record Cancel and "Default" store: the key's own function. Its macroValue 0 makes the store remove the key's
// row.
MarrowinKey marrowinDefaultAssignment();

// The record of a captured combination (codes as the capture keeps them: modifiers in press order, then the key).
// One code: macroValue. Two: macro2Value the first, macroValue the second. Three or more: macro2Value the first,
// macroValue the last, and the modifiers between as bits in macro3Value (Caps Lock between is dropped: it has no
// bit), so that Left Control + Left Shift + C reaches the keyboard whole. desc is the text shown for it.
MarrowinKey combinationAssignment(std::span<const int64_t> codes, std::string desc);

// What Save does with the chosen node: store `record` (profId and keyValue still to fill) and upload the table,
// folding the tree for Default and Disable; or show `alert`; or nothing (a function of an unknown group).
// captured / captureText: the combination held for "Keyboard function" (none: the alert "Press a key ...").
struct MarrowinAssignmentOutcome {
    std::optional<MarrowinKey> record;
    std::string alert;
    bool collapseTree = false;

    bool operator==(const MarrowinAssignmentOutcome&) const = default;
};
MarrowinAssignmentOutcome marrowinAssignment(const OptionChoice& node, std::span<const int64_t> captured,
                                             const std::string& captureText);

// How a stored assignment shows on its key's cap: true marked (yellow), false unmarked; nullopt for codes that
// leave the mark and the labels as they were (0, 5, above 8).
std::optional<bool> assignmentMark(int64_t macroType);

}  // namespace keyloom
