#pragma once

// The functions a second-generation key can be given (the option tree's data), and what the editor shows and
// selects for a stored assignment. Widget-free.

#include <cstddef>
#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <string_view>

namespace keyloom {

// Assignment codes (a stored macroType, the type of a top node). There is no code 5.
inline constexpr int64_t kMacroTypeDefault = 1;
inline constexpr int64_t kMacroTypeDisable = 2;
inline constexpr int64_t kMacroTypeKeyCombination = 3;
inline constexpr int64_t kMacroTypeMacro = 4;
inline constexpr int64_t kMacroTypeMouse = 6;
inline constexpr int64_t kMacroTypeMultimedia = 7;
inline constexpr int64_t kMacroTypeMacShortcut = 8;

struct MarrowinOption {
    std::string_view name;
    int64_t type;  // a top node's assignment code, or a leaf's function number within its group (macroValue)
};

struct MarrowinOptionGroup {
    MarrowinOption node;
    std::string_view image;  // icon of the group and of its leaves
    std::span<const MarrowinOption> leaves;
};

// The seven top nodes in display order, with their leaves (19 in all). The leaf numbers are not contiguous: the
// key-table upload encodes them by these exact values.
std::span<const MarrowinOptionGroup> marrowinOptionGroups();

// Where a stored assignment is shown in the tree: the group row, and the leaf within it for the groups that have
// leaves. The leaf is the one whose number equals macroValue (none when the group has no such leaf: the group row
// is selected). None for a macro (4) and for codes the tree does not have: nothing is selected then.
struct MarrowinOptionPosition {
    size_t group = 0;
    std::optional<size_t> leaf;

    bool operator==(const MarrowinOptionPosition&) const = default;
};
std::optional<MarrowinOptionPosition> optionForAssignment(int64_t macroType, int64_t macroValue);

// The two labels of a clicked key: the kind of function and the function. fullName is the key's own name.
struct MarrowinMacroLabels {
    std::string function;
    std::string macro;

    bool operator==(const MarrowinMacroLabels&) const = default;
};
MarrowinMacroLabels macroLabels(int64_t macroType, const std::string& fullName, const std::string& macroDesc);

}  // namespace keyloom
