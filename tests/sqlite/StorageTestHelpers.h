#pragma once

#include <cstdint>
#include <functional>
#include <string>
#include <vector>

namespace keyloom::test {

// Full path of a database file in the current temporary data home.
std::string databasePath(const std::string& fileName);

// Runs SQL on a connection of its own (closed before returning): schema changes, triggers, direct edits.
void execSql(const std::string& fileName, const std::string& sql);
// Every row of a query as text cells (NULL as "NULL"), through a connection of its own.
std::vector<std::vector<std::string>> queryRows(const std::string& fileName, const std::string& sql);
int64_t queryInt(const std::string& fileName, const std::string& sql);

struct ColumnInfo {
    std::string name;
    std::string type;
    bool notNull;
    bool primaryKey;
    bool operator==(const ColumnInfo&) const = default;
};
std::vector<ColumnInfo> tableInfo(const std::string& fileName, const std::string& table);

// The database header's change counter: it grows by one with every committed write transaction.
uint32_t fileChangeCounter(const std::string& fileName);

// Runs `body` with standard output captured and returns the printed lines.
std::vector<std::string> capturedLines(const std::function<void()>& body);

// Makes a regular file where the database folder should be, so that every open fails.
void blockDatabaseFolder();

// Permission bits (07777) of a path.
unsigned permissions(const std::string& path);

}  // namespace keyloom::test
