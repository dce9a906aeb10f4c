#pragma once

#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <vector>

namespace keyloom {

// One node of an editor's option tree. A root keeps every field absent and is never shown; its children are the
// top rows. A category node has level 0 and parentType 0; a leaf level 1 and its category's type as parentType.
class TreeNodeModel {
  public:
    TreeNodeModel() = default;
    TreeNodeModel(const TreeNodeModel&) = delete;
    TreeNodeModel& operator=(const TreeNodeModel&) = delete;

    std::optional<std::string> name;   // the row's text, shown verbatim
    std::optional<std::string> image;  // keyloomImage name of the row's icon
    std::optional<int64_t> type;       // category number, or 1..n within the category for a leaf
    std::optional<int64_t> level;      // 0 category, 1 leaf
    std::optional<int64_t> parentType;

    // The children in display order; the list comes into being on first use (a leaf asked for its children then
    // holds an empty list).
    const std::vector<std::unique_ptr<TreeNodeModel>>& childNodes() const;
    bool hasChildNodesList() const { return childNodes_.has_value(); }
    // Appends a child the node then owns; returns it.
    TreeNodeModel& appendChild(std::unique_ptr<TreeNodeModel> child);

    // The node whose child this is; nullptr for a root.
    TreeNodeModel* parent() const { return parent_; }
    // Position in the parent's list; -1 for a root.
    int row() const;

  private:
    mutable std::optional<std::vector<std::unique_ptr<TreeNodeModel>>> childNodes_;
    TreeNodeModel* parent_ = nullptr;
};

}  // namespace keyloom
