#pragma once

// The option trees' content: categories of assignable functions, some opening into single functions.

#include <cstdint>
#include <span>
#include <string>
#include <vector>

#include "Views/Keyboard/DataSource/TreeNodeModel.h"

namespace keyloom {

struct OptionLeaf {
    const char* name;
    int64_t type;
};

struct OptionCategory {
    const char* name;
    const char* image;  // the category's icon, which its leaves carry too
    int64_t type;
    std::vector<OptionLeaf> leaves;
};

// Appends one node per category (level 0, parentType 0) under root, each followed by its leaves (level 1, the
// category's image, parentType = the category's type). Appends only: a second call adds a second copy.
void appendOptionTree(TreeNodeModel& root, std::span<const OptionCategory> table);

// The first-generation editor's tree: 7 categories (types 1, 2, 3, 4, 6, 7, 8), 28 nodes in all.
std::span<const OptionCategory> firstGenerationOptionTree();

}  // namespace keyloom
