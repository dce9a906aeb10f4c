#pragma once

#include <SQLiteCpp/Database.h>
#include <SQLiteCpp/Statement.h>
#include <gtest/gtest.h>

#include <cstdint>
#include <functional>
#include <memory>
#include <sstream>
#include <string>
#include <vector>

#include "SQLite/DeviceSQLite.h"
#include "SQLite/MarrowinDeviceSQLite.h"
#include "platform/DataPaths.h"
#include "support/TestSupport.h"

namespace keyloom::test {

using Rows = std::vector<std::vector<std::string>>;

inline const char* const kGen1 = "670046462_device.sqlite3";
inline const char* const kGen2 = "marrowinv2_device.sqlite3";

inline std::string str(int64_t v) {
    return std::to_string(v);
}
inline std::string str(const std::string& text) {
    return text;
}

inline std::string databasePath(const std::string& file) {
    return databaseFolder() + "/" + file;
}

// Runs SQL on a connection of its own: triggers, direct edits.
inline void execSql(const std::string& file, const std::string& sql) {
    SQLite::Database(databasePath(file), SQLite::OPEN_READWRITE | SQLite::OPEN_CREATE).exec(sql);
}

inline Rows queryRows(const std::string& file, const std::string& sql) {
    SQLite::Database db(databasePath(file), SQLite::OPEN_READONLY);
    SQLite::Statement query(db, sql);
    Rows rows;
    while (query.executeStep()) {
        rows.emplace_back();
        for (int i = 0; i < query.getColumnCount(); ++i) rows.back().push_back(query.getColumn(i).getString());
    }
    return rows;
}

// What `body` prints, lines joined by " / ".
inline std::string printed(const std::function<void()>& body) {
    QuietStdout quiet;
    body();
    std::istringstream out(quiet.finish());
    std::string lines;
    for (std::string line; std::getline(out, line);) lines += (lines.empty() ? "" : " / ") + line;
    return lines;
}

inline std::string failInsertsOn(const std::string& table, const std::string& when = "",
                                 const std::string& raise = "ABORT") {
    return "CREATE TRIGGER fail_" + table + " BEFORE INSERT ON " + table + (when.empty() ? "" : " WHEN " + when) +
           " BEGIN SELECT RAISE(" + raise + ", 'injected'); END";
}

// Both profile stores, with the lighting modes of profile 1.
class Stored : public ::testing::Test {
  protected:
    void SetUp() override {
        printed([&] {
            gen1 = std::make_unique<DeviceSQLite>(kGen1);
            gen2 = std::make_unique<MarrowinDeviceSQLite>(kGen2);
        });
        ASSERT_TRUE(gen1->writeRadiProfile(1) && gen2->writeRadiProfile(1));
    }
    TempDataHome home;
    std::unique_ptr<DeviceSQLite> gen1;
    std::unique_ptr<MarrowinDeviceSQLite> gen2;
};

}  // namespace keyloom::test
