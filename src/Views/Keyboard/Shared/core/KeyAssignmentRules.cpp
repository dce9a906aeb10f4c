#include "Views/Keyboard/Shared/core/KeyAssignmentRules.h"

#include <algorithm>
#include <array>
#include <map>
#include <utility>

namespace keyloom {

namespace {

// Mouse and multimedia codes are the keyboard's own function codes; the Mac shortcuts are keyboard-page usages
// (0x47 Scroll Lock, 0x48 Pause, 0xE4 Right Control + 0x52 Up Arrow, 0xE3 Left GUI + C, V or X).
const std::map<std::pair<int64_t, int64_t>, LeafFunction>& leafTable() {
    static const std::map<std::pair<int64_t, int64_t>, LeafFunction> table{
        {{kAssignMouse, 1}, {165, {0xA5}}},            // Left Click
        {{kAssignMouse, 2}, {167, {0xA7}}},            // Middle Click
        {{kAssignMouse, 3}, {166, {0xA6}}},            // Right Click
        {{kAssignMouse, 4}, {165, {0xA5}}},            // Double Click
        {{kAssignMouse, 5}, {168, {0xA8}}},            // Scroll Up
        {{kAssignMouse, 6}, {168, {0xA8}}},            // Scroll Down
        {{kAssignMouse, 7}, {169, {0xA9}}},            // Mouse Button 4
        {{kAssignMouse, 8}, {170, {0xAA}}},            // Mouse Button 5
        {{kAssignMultimedia, 1}, {1, {0xF2}}},         // Play/Pause
        {{kAssignMultimedia, 2}, {1, {0xF4}}},         // Stop
        {{kAssignMultimedia, 3}, {1, {0xF1}}},         // Prev
        {{kAssignMultimedia, 4}, {1, {0xF3}}},         // Next
        {{kAssignMultimedia, 5}, {1, {0xE8}}},         // Volume +
        {{kAssignMultimedia, 6}, {1, {0xE9}}},         // Volume -
        {{kAssignMultimedia, 7}, {1, {0xEA}}},         // Mute
        {{kAssignMacShortcut, 1}, {1, {0x47}}},        // Brightness_decrement
        {{kAssignMacShortcut, 2}, {1, {0x48}}},        // Brightness_increment
        {{kAssignMacShortcut, 3}, {1, {0xE4, 0x52}}},  // Mission_control
        {{kAssignMacShortcut, 4}, {1, {0xE3, 0x06}}},  // Copy
        {{kAssignMacShortcut, 5}, {1, {0xE3, 0x19}}},  // Paste
        {{kAssignMacShortcut, 6}, {1, {0xE3, 0x1B}}},  // Cut
    };
    return table;
}

// Rows of the categories in the collapsed tree.
constexpr int kMouseRow = 4;
constexpr int kMultimediaRow = 5;
constexpr int kMacShortcutRow = 6;

constexpr std::array<KnobAction, 4> kKnobActions{{
    {520, 1, 250},  // single click
    {521, 2, 251},  // double click
    {522, 3, 252},  // turn forward
    {523, 4, 253},  // turn backward
}};

}  // namespace

std::optional<LeafFunction> leafFunction(int64_t parentType, int64_t leafType) {
    const auto& table = leafTable();
    const auto it = table.find({parentType, leafType});
    if (it == table.end()) return std::nullopt;
    return it->second;
}

KeyMacro defaultAssignment() {
    KeyMacro row;
    row.macroType = kAssignDefault;
    return row;
}

AssignmentOutcome planAssignment(const OptionChoice& node, const std::vector<int64_t>& captured,
                                 const std::string& capturedText) {
    AssignmentOutcome out;
    if (node.level == 0) {
        AssignmentPlan plan;
        switch (node.type.value_or(0)) {
            case kAssignDefault:
                plan.row = defaultAssignment();
                plan.record = KeyRecordKind::Default;
                break;
            case kAssignDisable:
                plan.row.macroType = kAssignDisable;
                plan.row.macroValue = 1;
                plan.row.macroDesc = "Disable";
                plan.record = KeyRecordKind::Disable;
                break;
            case kAssignKeyboardFunction:
                if (captured.empty()) {
                    out.alert = kAlertPressKeys;
                    return out;
                }
                plan.row.macroType = kAssignKeyboardFunction;
                plan.row.macroValue = captured.front();
                plan.row.macroDesc = capturedText;
                plan.record = KeyRecordKind::Combination;
                plan.codes = captured;
                break;
            case kAssignMacro:
                out.alert = kAlertMacro;
                return out;
            default:  // a category of leaves, or a node without a type
                out.alert = kAlertNextLevel;
                return out;
        }
        out.plan = std::move(plan);
    } else if (node.level == 1 && node.parentType && node.type) {
        const auto leaf = leafFunction(*node.parentType, *node.type);
        if (!leaf) return out;
        AssignmentPlan plan;
        plan.row.macroType = *node.parentType;
        plan.row.macroValue = leaf->macroValue;
        plan.row.macroDesc = node.name;
        plan.row.reserve1 = *node.type;
        plan.record = KeyRecordKind::Combination;
        plan.codes = leaf->codes;
        out.plan = std::move(plan);
    }
    return out;
}

std::optional<AssignmentLabels> assignmentLabels(int64_t macroType, const std::string& ownName,
                                                 const std::string& macroDesc) {
    switch (macroType) {
        case kAssignDefault:
            return AssignmentLabels{"Keyboard", ownName};
        case kAssignDisable:
            return AssignmentLabels{"Disable", "Disable"};
        case kAssignKeyboardFunction:
            return AssignmentLabels{"Keyboard function", macroDesc};
        case kAssignMacro:
            return AssignmentLabels{"Macro", macroDesc};
        case kAssignMouse:
            return AssignmentLabels{"Mouse function", macroDesc};
        case kAssignMultimedia:
            return AssignmentLabels{"Multi-media", macroDesc};
        case kAssignMacShortcut:
            return AssignmentLabels{"Mac shortcuts", macroDesc};
        default:
            return std::nullopt;
    }
}

std::optional<StoredSelection> storedSelection(int64_t macroType, int64_t reserve1) {
    auto leafRow = [reserve1, macroType](int categoryRow) {
        // Leaves follow their category; a leaf type the category lacks selects nothing rather than another row.
        const int row = leafFunction(macroType, reserve1) ? categoryRow + int(reserve1) : -1;
        return StoredSelection{row, categoryRow, false};
    };
    switch (macroType) {
        case kAssignDefault:
            return StoredSelection{0, -1, false};
        case kAssignDisable:
            return StoredSelection{1, -1, false};
        case kAssignKeyboardFunction:
            return StoredSelection{2, -1, true};
        case kAssignMouse:
            return leafRow(kMouseRow);
        case kAssignMultimedia:
            return leafRow(kMultimediaRow);
        case kAssignMacShortcut:
            return leafRow(kMacShortcutRow);
        default:
            return std::nullopt;
    }
}

std::span<const KnobAction> knobActions() {
    return kKnobActions;
}

std::optional<KnobAction> knobActionForTag(int tag) {
    const auto it =
        std::find_if(kKnobActions.begin(), kKnobActions.end(), [tag](const auto& a) { return a.tag == tag; });
    return it == kKnobActions.end() ? std::nullopt : std::optional<KnobAction>(*it);
}

std::optional<KnobAction> knobActionForCode(int64_t code) {
    const auto it =
        std::find_if(kKnobActions.begin(), kKnobActions.end(), [code](const auto& a) { return a.code == code; });
    return it == kKnobActions.end() ? std::nullopt : std::optional<KnobAction>(*it);
}

const char* knobButtonImageAfterChoice(const std::string& current, bool chosen) {
    if (current == kKnobButtonCheck) return kKnobButtonCheck;
    return chosen ? kKnobButtonDown : kKnobButtonNormal;
}

const char* knobButtonImageAfterStore(int64_t macroType) {
    return macroType == kAssignDefault ? kKnobButtonDown : kKnobButtonCheck;
}

}  // namespace keyloom
