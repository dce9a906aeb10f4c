#include "SQLite/ProfileTables.h"

#include <algorithm>
#include <iostream>

namespace keyloom::profile_tables {

void printLine(const std::string& line) {
    std::cout << line << std::endl;
}

uint8_t byteFromColumn(const SQLite::Column& column) noexcept {
    return static_cast<uint8_t>(std::clamp<int64_t>(column.getInt64(), 0, 255));
}

}  // namespace keyloom::profile_tables
