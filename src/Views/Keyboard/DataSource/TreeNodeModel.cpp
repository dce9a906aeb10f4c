#include "Views/Keyboard/DataSource/TreeNodeModel.h"

#include <algorithm>

namespace keyloom {

const std::vector<std::unique_ptr<TreeNodeModel>>& TreeNodeModel::childNodes() const {
    if (!childNodes_) childNodes_.emplace();
    return *childNodes_;
}

TreeNodeModel& TreeNodeModel::appendChild(std::unique_ptr<TreeNodeModel> child) {
    if (!childNodes_) childNodes_.emplace();
    child->parent_ = this;
    childNodes_->push_back(std::move(child));
    return *childNodes_->back();
}

int TreeNodeModel::row() const {
    if (!parent_) return -1;
    const auto& siblings = parent_->childNodes();
    auto it = std::find_if(siblings.begin(), siblings.end(), [this](const auto& n) { return n.get() == this; });
    return it == siblings.end() ? -1 : int(it - siblings.begin());
}

}  // namespace keyloom
