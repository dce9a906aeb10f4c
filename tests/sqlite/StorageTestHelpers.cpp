#include "StorageTestHelpers.h"

#include <SQLiteCpp/Database.h>
#include <SQLiteCpp/Statement.h>
#include <gtest/gtest.h>
#include <sys/stat.h>

#include <filesystem>
#include <fstream>
#include <sstream>

#include "platform/DataPaths.h"

namespace keyloom::test {

std::string databasePath(const std::string& fileName) {
    return databaseFolder() + "/" + fileName;
}

void execSql(const std::string& fileName, const std::string& sql) {
    SQLite::Database db(databasePath(fileName), SQLite::OPEN_READWRITE | SQLite::OPEN_CREATE);
    db.exec(sql);
}

std::vector<std::vector<std::string>> queryRows(const std::string& fileName, const std::string& sql) {
    SQLite::Database db(databasePath(fileName), SQLite::OPEN_READONLY);
    SQLite::Statement query(db, sql);
    std::vector<std::vector<std::string>> rows;
    while (query.executeStep()) {
        std::vector<std::string> row;
        for (int i = 0; i < query.getColumnCount(); ++i)
            row.push_back(query.isColumnNull(i) ? "NULL" : query.getColumn(i).getString());
        rows.push_back(std::move(row));
    }
    return rows;
}

int64_t queryInt(const std::string& fileName, const std::string& sql) {
    SQLite::Database db(databasePath(fileName), SQLite::OPEN_READONLY);
    return db.execAndGet(sql).getInt64();
}

std::vector<ColumnInfo> tableInfo(const std::string& fileName, const std::string& table) {
    std::vector<ColumnInfo> columns;
    for (const auto& row : queryRows(fileName, "PRAGMA table_info(\"" + table + "\")"))
        columns.push_back({row[1], row[2], row[3] == "1", row[5] != "0"});
    return columns;
}

uint32_t fileChangeCounter(const std::string& fileName) {
    std::ifstream file(databasePath(fileName), std::ios::binary);
    unsigned char header[28] = {};
    file.read(reinterpret_cast<char*>(header), sizeof header);
    return (uint32_t(header[24]) << 24) | (uint32_t(header[25]) << 16) | (uint32_t(header[26]) << 8) | header[27];
}

std::vector<std::string> capturedLines(const std::function<void()>& body) {
    ::testing::internal::CaptureStdout();
    body();
    std::istringstream out(::testing::internal::GetCapturedStdout());
    std::vector<std::string> lines;
    for (std::string line; std::getline(out, line);) lines.push_back(line);
    return lines;
}

void blockDatabaseFolder() {
    std::filesystem::create_directories(applicationSupportFolder());
    std::ofstream(databaseFolder()) << "not a folder";
}

unsigned permissions(const std::string& path) {
    struct stat st {};
    if (::stat(path.c_str(), &st) != 0) return 0xFFFFFFFF;
    return st.st_mode & 07777;
}

}  // namespace keyloom::test
