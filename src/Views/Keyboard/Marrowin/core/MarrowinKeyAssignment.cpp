#include "Views/Keyboard/Marrowin/core/MarrowinKeyAssignment.h"

#include "Views/Keyboard/Marrowin/core/MarrowinKeyTable.h"
#include "Views/Keyboard/Marrowin/core/MarrowinOptionTable.h"

namespace keyloom {

std::vector<int64_t> keysOnKeyboard(std::span<const int64_t> codes, const KeyCodeMap& codeMap) {
    std::vector<int64_t> keys;
    for (int64_t code : codes)
        if (codeMap.contains(code)) keys.push_back(code);
    return keys;
}

MarrowinKey marrowinDefaultAssignment() {
    MarrowinKey record;
    record.macroType = kMacroTypeDefault;
    return record;
}

MarrowinKey combinationAssignment(std::span<const int64_t> codes, std::string desc) {
    MarrowinKey record;
    record.macroType = kMacroTypeKeyCombination;
    record.macroDesc = std::move(desc);
    if (codes.empty()) return record;
    record.macroValue = codes.back();
    if (codes.size() >= 2) record.macro2Value = codes.front();
    for (size_t i = 1; i + 1 < codes.size(); ++i)
        if (auto bit = modifierBit(codes[i])) record.macro3Value |= *bit;
    return record;
}

MarrowinAssignmentOutcome marrowinAssignment(const OptionChoice& node, std::span<const int64_t> captured,
                                             const std::string& captureText) {
    const int64_t type = node.type.value_or(0);
    if (node.level == 1) {
        const int64_t group = node.parentType.value_or(0);
        if (group != kMacroTypeMouse && group != kMacroTypeMultimedia && group != kMacroTypeMacShortcut) return {};
        MarrowinKey record;
        record.macroType = group;
        record.macroValue = type;
        record.macroDesc = node.name;
        return {record, {}, false};
    }
    if (node.level != 0) return {};
    switch (type) {
        case kMacroTypeDefault:
            return {marrowinDefaultAssignment(), {}, true};
        case kMacroTypeDisable: {
            MarrowinKey record;
            record.macroType = kMacroTypeDisable;
            record.macroValue = 1;
            record.macroDesc = "Disable";
            return {record, {}, true};
        }
        case kMacroTypeKeyCombination:
            if (captured.empty()) return {std::nullopt, kAlertPressKeys, false};
            return {combinationAssignment(captured, captureText), {}, false};
        case kMacroTypeMacro:
            return {std::nullopt, kAlertMacro, false};
        default:  // a group whose functions are its leaves
            return {std::nullopt, kAlertNextLevel, false};
    }
}

std::optional<bool> assignmentMark(int64_t macroType) {
    switch (macroType) {
        case kMacroTypeDefault:
            return false;
        case kMacroTypeDisable:
        case kMacroTypeKeyCombination:
        case kMacroTypeMacro:
        case kMacroTypeMouse:
        case kMacroTypeMultimedia:
        case kMacroTypeMacShortcut:
            return true;
        default:
            return std::nullopt;
    }
}

}  // namespace keyloom
