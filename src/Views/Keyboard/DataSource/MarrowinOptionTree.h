#pragma once

#include <span>

#include "Views/Keyboard/DataSource/TreeViewData.h"

namespace keyloom {

// The second-generation editor's tree "marrowinkeycustomTree": 7 categories (types 1, 2, 3, 4, 6, 7, 8) and 19
// leaves, 26 nodes in all (the rules that read it: core/MarrowinOptionTable.h).
std::span<const OptionCategory> marrowinOptionTree();

}  // namespace keyloom
