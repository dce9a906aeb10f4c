#pragma once

#include <SQLiteCpp/Column.h>
#include <SQLiteCpp/Statement.h>

#include <cstdint>
#include <functional>
#include <span>
#include <string>
#include <vector>

#include "SQLite/RGBData.h"
#include "SQLite/SQLiteConnection.h"

// What the profile databases of both generations share: table creation, default rows, and the operations on the
// settings, selection and key-colour tables, whose columns are the same in both. A null connection means that
// opening failed; each function then gives the no-connection result. Nothing here throws unless it says so.
namespace keyloom::profile_tables {

struct Setting {
    const char* key;
    const char* value;
};

// One line on standard output.
void printLine(const std::string& line);

// Runs the CREATE TABLE statements in order; on the first failure prints "createTable fail " and the error and
// returns false.
bool createTables(SQLiteConnection& db, std::span<const char* const> statements);

// Writes `defaults` for `profile` when t_configdata holds no row at all; all or nothing. Prints "insertRow  fail " and
// the error on failure.
void writeDefaultSettings(SQLiteConnection& db, int64_t profile, std::span<const Setting> defaults);

// Writes modes 1..lastMode of `profile` with `insertSql` when the profile has no t_radidata row; `bind` binds one
// mode's values. All or nothing. True when rows existed, all were written, or without a connection.
bool writeDefaultModes(SQLiteConnection* db, int64_t profile, int lastMode, const char* insertSql,
                       const std::function<void(SQLite::Statement&, int mode)>& bind) noexcept;

bool selectRaidMode(SQLiteConnection* db, int64_t profile, int64_t mode) noexcept;
int64_t getRadiModeSelectIndex(SQLiteConnection* db, int64_t profile) noexcept;
// The first t_radidata row of (profile, mode), all columns, handed to `read`. False without a connection, without a
// row, or on failure.
bool queryRadiRow(SQLiteConnection* db, int64_t profile, int64_t mode,
                  const std::function<void(SQLite::Statement&)>& read) noexcept;

void insertKeyRGB(SQLiteConnection* db, const RGBData& data) noexcept;
bool queryKeyRGB(SQLiteConnection* db, int64_t profile, std::vector<RGBData>& dataArray) noexcept;
bool updateConfigData(SQLiteConnection* db, int64_t profile, const std::string& keyValue,
                      const std::string& newvalue) noexcept;
std::string getConfigData(SQLiteConnection* db, int64_t profile, const std::string& keyValue) noexcept;

// The store of a key or knob assignment: 0 when keyValue is 0; deletes every row of `table` with that keyvalue (any
// profile, any layer); 1 when macroValue is 0 (removal), else `insert` runs and its row id is the result. The delete
// and the insert commit together: on a failure the old row stays and the result is 0.
int64_t replaceAssignment(SQLiteConnection* db, const char* table, int64_t keyValue, int64_t macroValue,
                          const std::function<void(SQLite::Database&)>& insert) noexcept;

// Runs `query` (rows appended through `read`); false on failure with `dataArray` unchanged, and without a connection.
template <typename Record>
bool appendRows(SQLiteConnection* db, const std::function<void(SQLite::Statement&)>& bindFilter, const char* sql,
                const std::function<Record(SQLite::Statement&)>& read, std::vector<Record>& dataArray) noexcept {
    if (!db) return false;
    try {
        SQLite::Statement query(db->database(), sql);
        bindFilter(query);
        std::vector<Record> rows;
        while (query.executeStep()) rows.push_back(read(query));
        dataArray.insert(dataArray.end(), std::make_move_iterator(rows.begin()), std::make_move_iterator(rows.end()));
        return true;
    } catch (...) {
        return false;
    }
}

// A stored value as a lighting byte; values outside 0..255 (only an outside writer can store them) are clamped.
uint8_t byteFromColumn(const SQLite::Column& column) noexcept;

}  // namespace keyloom::profile_tables
