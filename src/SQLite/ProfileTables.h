#pragma once

#include <SQLiteCpp/Column.h>

#include <cstdint>
#include <string>

#include "platform/PrintLine.h"

// Small helpers of the storage classes.
namespace keyloom::profile_tables {

// The storage classes print through the program's one line function.
using keyloom::printLine;

// A stored text whole: the column's bytes and size, so a NUL byte inside does not cut it.
std::string textFromColumn(const SQLite::Column& column);

// A stored value as a lighting byte; values outside 0..255 (only an outside writer can store them) are clamped.
uint8_t byteFromColumn(const SQLite::Column& column) noexcept;

}  // namespace keyloom::profile_tables
