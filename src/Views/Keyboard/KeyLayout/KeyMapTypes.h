#pragma once

// The key-map row, the key type and the two kinds of key map (by name, by code) that every keyboard model uses.

#include <cstddef>
#include <cstdint>
#include <initializer_list>
#include <optional>
#include <string>
#include <string_view>
#include <type_traits>
#include <unordered_map>
#include <utility>
#include <vector>

namespace keyloom {

// Only `flag` is ever stored; readers test "key_type" for presence, never its value.
enum class Quorvath_TE_EN_Type { flag, normalKey };

// One key of a model. A field a row lacks is absent (nullopt), never defaulted: name-map rows carry key_code,
// code-map rows key_name; pos_index only in second-generation code maps; key_type only on Caps Lock and modifiers.
struct KeyMapRow {
    std::optional<int64_t> key_code;
    std::optional<std::string> key_name;
    std::string short_name;
    std::string full_name;
    int64_t layout_index = 0;
    std::optional<int64_t> pos_index;
    std::optional<Quorvath_TE_EN_Type> key_type;

    bool operator==(const KeyMapRow&) const = default;
};

// A row of a key-name map.
inline KeyMapRow nameRow(int64_t keyCode, std::string shortName, std::string fullName, int64_t layoutIndex,
                         std::optional<Quorvath_TE_EN_Type> keyType = std::nullopt) {
    return KeyMapRow{keyCode,      std::nullopt, std::move(shortName), std::move(fullName), layoutIndex,
                     std::nullopt, keyType};
}

// A row of a key-code map.
inline KeyMapRow codeRow(std::string keyName, std::string shortName, std::string fullName, int64_t layoutIndex,
                         std::optional<int64_t> posIndex = std::nullopt,
                         std::optional<Quorvath_TE_EN_Type> keyType = std::nullopt) {
    return KeyMapRow{std::nullopt, std::move(keyName), std::move(shortName), std::move(fullName), layoutIndex, posIndex,
                     keyType};
}

// Stops the program: a model table contradicts itself (duplicate key, missing width class or row). Such tables are
// fixed data, so this can only be a defect of their definition, never of run-time input.
[[noreturn]] void tableDefect(std::string_view what);

namespace detail {
struct TransparentStringHash {
    using is_transparent = void;
    std::size_t operator()(std::string_view s) const noexcept { return std::hash<std::string_view>{}(s); }
};
}  // namespace detail

// An immutable map from a key name (std::string) or key code (int64_t) to its row. Look-ups answer "absent" and
// never insert. Walking visits the rows in the order the table was written; nothing relies on that order.
template <typename Key>
class KeyMap {
  public:
    using Lookup = std::conditional_t<std::is_same_v<Key, std::string>, std::string_view, Key>;
    using Entry = std::pair<Key, KeyMapRow>;

    KeyMap() = default;
    KeyMap(std::initializer_list<Entry> rows) : rows_(rows) {
        index_.reserve(rows_.size());
        for (std::size_t i = 0; i < rows_.size(); ++i) {
            if (!index_.emplace(rows_[i].first, i).second) tableDefect("duplicate key in a key map");
        }
    }

    // The row of key, or nullptr when the map has none. The pointer lives as long as the map.
    const KeyMapRow* find(Lookup key) const {
        auto it = index_.find(key);
        return it == index_.end() ? nullptr : &rows_[it->second].second;
    }
    bool contains(Lookup key) const { return index_.find(key) != index_.end(); }

    std::size_t size() const { return rows_.size(); }
    bool empty() const { return rows_.empty(); }
    auto begin() const { return rows_.cbegin(); }
    auto end() const { return rows_.cend(); }

  private:
    using Hash = std::conditional_t<std::is_same_v<Key, std::string>, detail::TransparentStringHash, std::hash<Key>>;
    using Equal = std::conditional_t<std::is_same_v<Key, std::string>, std::equal_to<>, std::equal_to<Key>>;

    std::vector<Entry> rows_;
    std::unordered_map<Key, std::size_t, Hash, Equal> index_;
};

using KeyNameMap = KeyMap<std::string>;
using KeyCodeMap = KeyMap<int64_t>;

}  // namespace keyloom
