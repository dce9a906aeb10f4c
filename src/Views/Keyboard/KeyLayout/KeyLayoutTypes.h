#pragma once

// Picture layout rows and the per-family metric tables (key widths, row positions, sizes) every keyboard picture is
// placed from. Lengths are picture points; the picture's origin is its bottom-left corner, y grows upward.

#include <cstdint>
#include <initializer_list>
#include <optional>
#include <string>
#include <string_view>
#include <type_traits>
#include <utility>
#include <vector>

#include "Views/Keyboard/KeyLayout/KeyMapTypes.h"

namespace keyloom {

// One drawn key cap, with its width and gaps already resolved to plain numbers.
struct KeyLayoutRow {
    int64_t width = 0;
    std::string key_standard_name;
    int64_t row_num = 0;
    int64_t left_extra_width = 0;
    int64_t has_seperator = 0;  // an integer: only 1 adds the separator gap
    bool first_key = false;
    bool disabled = false;  // kept as data; nothing reads it

    bool operator==(const KeyLayoutRow&) const = default;
};

// A model's caps in drawing order: rows from the top, each from left to right. Position = the cap's index.
using KeyLayout = std::vector<KeyLayoutRow>;

// A small immutable table of named numbers, kept in the order it was written. at() treats a missing key as a
// defect of the table definitions (fatal), find() answers "absent".
template <typename Key>
class MetricTable {
  public:
    using Lookup = std::conditional_t<std::is_same_v<Key, std::string>, std::string_view, Key>;
    using Entry = std::pair<Key, int64_t>;

    MetricTable(std::initializer_list<Entry> entries) : entries_(entries) {
        for (std::size_t i = 0; i < entries_.size(); ++i) {
            for (std::size_t j = 0; j < i; ++j) {
                if (entries_[j].first == entries_[i].first) tableDefect("duplicate key in a metric table");
            }
        }
    }

    std::optional<int64_t> find(Lookup key) const {
        for (const auto& [k, v] : entries_) {
            if (k == key) return v;
        }
        return std::nullopt;
    }
    int64_t at(Lookup key) const {
        if (auto v = find(key)) return *v;
        tableDefect("missing entry in a metric table");
    }

    std::size_t size() const { return entries_.size(); }
    auto begin() const { return entries_.cbegin(); }
    auto end() const { return entries_.cend(); }

  private:
    std::vector<Entry> entries_;
};

// Width class ("normal", "backspace", ..., "91space") -> cap width.
using KeyWidthTable = MetricTable<std::string>;
// Picture row ("row_num", 1 = top) -> the row's y.
using RowPositionTable = MetricTable<int64_t>;
// Setting ("key_height", "container_margin_left", "key_separator", "keypad_margin_left", ...) -> points.
using SizeTable = MetricTable<std::string>;

// Sum of two table values while a layout is built; an overflow is a defect of the tables.
inline int64_t checkedAdd(int64_t a, int64_t b) {
    int64_t sum = 0;
    if (__builtin_add_overflow(a, b, &sum)) tableDefect("overflow while resolving a layout width");
    return sum;
}

}  // namespace keyloom
