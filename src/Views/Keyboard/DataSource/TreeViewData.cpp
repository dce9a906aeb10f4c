#include "Views/Keyboard/DataSource/TreeViewData.h"

namespace keyloom {

void appendOptionTree(TreeNodeModel& root, std::span<const OptionCategory> table) {
    for (const OptionCategory& c : table) {
        auto category = std::make_unique<TreeNodeModel>();
        category->name = c.name;
        category->image = c.image;
        category->level = 0;
        category->parentType = 0;
        category->type = c.type;
        TreeNodeModel& added = root.appendChild(std::move(category));
        for (const OptionLeaf& l : c.leaves) {
            auto leaf = std::make_unique<TreeNodeModel>();
            leaf->name = l.name;
            leaf->image = c.image;
            leaf->level = 1;
            leaf->parentType = added.type;
            leaf->type = l.type;
            added.appendChild(std::move(leaf));
        }
    }
}

std::span<const OptionCategory> firstGenerationOptionTree() {
    // The order is fixed: stored assignments are shown again by row (types 1-3 at rows 0-2, 6-8 under rows 4-6).
    static const std::vector<OptionCategory> table{
        {"Default", "icon_custom_default", 1, {}},
        {"Disable", "icon_custom_disable", 2, {}},
        {"Keyboard function", "icon_custom_keyboard", 3, {}},
        {"Macro", "icon_custom_macro", 4, {}},
        {"Mouse function",
         "icon_custom_mouse",
         6,
         {{"Left Click", 1},
          {"Middle Click", 2},
          {"Right Click", 3},
          {"Double Click", 4},
          {"Scroll Up", 5},
          {"Scroll Down", 6},
          {"Mouse Button 4", 7},
          {"Mouse Button 5", 8}}},
        {"Multimedia",
         "icon_custom_multimedia",
         7,
         {{"Play/Pause", 1}, {"Stop", 2}, {"Prev", 3}, {"Next", 4}, {"Volume +", 5}, {"Volume -", 6}, {"Mute", 7}}},
        {"Mac shortcuts",
         "icon_custom_mac",
         8,
         {{"Brightness_decrement", 1},
          {"Brightness_increment", 2},
          {"Mission_control", 3},
          {"Copy", 4},
          {"Paste", 5},
          {"Cut", 6}}},
    };
    return table;
}

}  // namespace keyloom
