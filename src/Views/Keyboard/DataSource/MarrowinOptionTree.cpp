#include "Views/Keyboard/DataSource/MarrowinOptionTree.h"

#include "Views/Keyboard/Marrowin/core/MarrowinOptionTable.h"

namespace keyloom {

std::span<const OptionCategory> marrowinOptionTree() {
    // The texts are literals of the option table, so their data() ends where their text does.
    static const std::vector<OptionCategory> table = [] {
        std::vector<OptionCategory> out;
        for (const MarrowinOptionGroup& group : marrowinOptionGroups()) {
            OptionCategory category{group.node.name.data(), group.image.data(), group.node.type, {}};
            for (const MarrowinOption& leaf : group.leaves) category.leaves.push_back({leaf.name.data(), leaf.type});
            out.push_back(std::move(category));
        }
        return out;
    }();
    return table;
}

}  // namespace keyloom
