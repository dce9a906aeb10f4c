#pragma once

#include <SQLiteCpp/Column.h>

#include <cstdint>
#include <string>

// Small helpers of the storage classes.
namespace keyloom::profile_tables {

// One line on standard output.
void printLine(const std::string& line);

// A stored text whole: the column's bytes and size, so a NUL byte inside does not cut it.
std::string textFromColumn(const SQLite::Column& column);

// A stored value as a lighting byte; values outside 0..255 (only an outside writer can store them) are clamped.
uint8_t byteFromColumn(const SQLite::Column& column) noexcept;

}  // namespace keyloom::profile_tables
