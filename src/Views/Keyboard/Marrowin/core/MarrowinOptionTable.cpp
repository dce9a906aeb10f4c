#include "Views/Keyboard/Marrowin/core/MarrowinOptionTable.h"

namespace keyloom {

namespace {

constexpr MarrowinOption kMouseLeaves[] = {
    {"Left Click", 1},  {"Middle Click", 2},   {"Right Click", 3},    {"Scroll Up", 5},
    {"Scroll Down", 6}, {"Mouse Button 4", 7}, {"Mouse Button 5", 8},
};
constexpr MarrowinOption kMultimediaLeaves[] = {
    {"Play/Pause", 1}, {"Prev", 3}, {"Next", 4}, {"Volume +", 5}, {"Volume -", 6}, {"Mute", 7},
};
constexpr MarrowinOption kMacLeaves[] = {
    {"Brightness_decrement", 1},
    {"Brightness_increment", 2},
    {"Mission_control", 3},
    {"Copy", 4},
    {"Paste", 5},
    {"Cut", 6},
};

constexpr MarrowinOptionGroup kGroups[] = {
    {{"Default", kMacroTypeDefault}, "icon_custom_default", {}},
    {{"Disable", kMacroTypeDisable}, "icon_custom_disable", {}},
    {{"Keyboard function", kMacroTypeKeyCombination}, "icon_custom_keyboard", {}},
    {{"Macro", kMacroTypeMacro}, "icon_custom_macro", {}},
    {{"Mouse function", kMacroTypeMouse}, "icon_custom_mouse", kMouseLeaves},
    {{"Multimedia", kMacroTypeMultimedia}, "icon_custom_multimedia", kMultimediaLeaves},
    {{"Mac shortcuts", kMacroTypeMacShortcut}, "icon_custom_mac", kMacLeaves},
};

}  // namespace

std::span<const MarrowinOptionGroup> marrowinOptionGroups() {
    return kGroups;
}

std::optional<MarrowinOptionPosition> optionForAssignment(int64_t macroType, int64_t macroValue) {
    if (macroType == kMacroTypeMacro) return std::nullopt;
    for (size_t g = 0; g < std::size(kGroups); ++g) {
        const MarrowinOptionGroup& group = kGroups[g];
        if (group.node.type != macroType) continue;
        MarrowinOptionPosition position{g, std::nullopt};
        for (size_t i = 0; i < group.leaves.size(); ++i) {
            if (group.leaves[i].type == macroValue) position.leaf = i;
        }
        return position;
    }
    return std::nullopt;
}

MarrowinMacroLabels macroLabels(int64_t macroType, const std::string& fullName, const std::string& macroDesc) {
    switch (macroType) {
        case kMacroTypeDisable:
            return {"Disable", "Disable"};
        case kMacroTypeKeyCombination:
            return {"Keyboard function", macroDesc};
        case kMacroTypeMacro:
            return {"Macro", macroDesc};
        case kMacroTypeMouse:
            return {"Mouse function", macroDesc};
        case kMacroTypeMultimedia:
            return {"Multi-media", macroDesc};
        case kMacroTypeMacShortcut:
            return {"Mac shortcuts", macroDesc};
        default:  // default (1), and codes without a label of their own
            return {"Keyboard", fullName};
    }
}

}  // namespace keyloom
