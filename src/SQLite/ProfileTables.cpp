#include "SQLite/ProfileTables.h"

#include <algorithm>

namespace keyloom::profile_tables {

std::string textFromColumn(const SQLite::Column& column) {
    // The text first, then its size: the order in which SQLite keeps both valid.
    const char* text = column.getText();
    return std::string(text, static_cast<size_t>(column.getBytes()));
}

uint8_t byteFromColumn(const SQLite::Column& column) noexcept {
    return static_cast<uint8_t>(std::clamp<int64_t>(column.getInt64(), 0, 255));
}

}  // namespace keyloom::profile_tables
