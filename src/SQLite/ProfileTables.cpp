#include "SQLite/ProfileTables.h"

#include <algorithm>
#include <iostream>

namespace keyloom::profile_tables {

void printLine(const std::string& line) {
    std::cout << line << std::endl;
}

bool createTables(SQLiteConnection& db, std::span<const char* const> statements) {
    try {
        for (const char* sql : statements) db.database().exec(sql);
        return true;
    } catch (const std::exception& e) {
        printLine(std::string("createTable fail ") + e.what());
        return false;
    }
}

void writeDefaultSettings(SQLiteConnection& db, int64_t profile, std::span<const Setting> defaults) {
    try {
        Transaction scope = db.beginScope();
        {
            SQLite::Statement first(db.database(), R"(SELECT "keyId" FROM "t_configdata" LIMIT 1)");
            if (first.executeStep()) return;
        }
        SQLite::Statement insert(db.database(),
                                 R"(INSERT INTO "t_configdata" ("key", "profId", "value") VALUES (?, ?, ?))");
        for (const Setting& setting : defaults) {
            insert.reset();
            insert.bind(1, setting.key);
            insert.bind(2, profile);
            insert.bind(3, setting.value);
            insert.exec();
        }
        SQLiteConnection::commitScope(scope);
    } catch (const std::exception& e) {
        printLine(std::string("insertRow  fail ") + e.what());
    }
}

bool writeDefaultModes(SQLiteConnection* db, int64_t profile, int lastMode, const char* insertSql,
                       const std::function<void(SQLite::Statement&, int mode)>& bind) noexcept {
    if (!db) return true;
    try {
        Transaction scope = db->beginScope();
        {
            SQLite::Statement first(db->database(), R"(SELECT "radiId" FROM "t_radidata" WHERE "profId" = ? LIMIT 1)");
            first.bind(1, profile);
            if (first.executeStep()) return true;
        }
        SQLite::Statement insert(db->database(), insertSql);
        for (int mode = 1; mode <= lastMode; ++mode) {
            insert.reset();
            insert.clearBindings();
            bind(insert, mode);
            insert.exec();
        }
        SQLiteConnection::commitScope(scope);
        return true;
    } catch (...) {
        return false;
    }
}

bool selectRaidMode(SQLiteConnection* db, int64_t profile, int64_t mode) noexcept {
    if (!db) return true;
    try {
        Transaction scope = db->beginScope();
        {
            SQLite::Statement clear(db->database(), R"(UPDATE "t_radidata" SET "status" = 0 WHERE "profId" = ?)");
            clear.bind(1, profile);
            clear.exec();
            SQLite::Statement set(db->database(),
                                  R"(UPDATE "t_radidata" SET "status" = 1 WHERE "profId" = ? AND "mode" = ?)");
            set.bind(1, profile);
            set.bind(2, mode);
            set.exec();
        }
        SQLiteConnection::commitScope(scope);
        return true;
    } catch (...) {
        return false;
    }
}

int64_t getRadiModeSelectIndex(SQLiteConnection* db, int64_t profile) noexcept {
    if (!db) return 0;
    try {
        SQLite::Statement query(
            db->database(),
            R"(SELECT "mode" FROM "t_radidata" WHERE "profId" = ? AND "status" = 1 ORDER BY "radiId" LIMIT 1)");
        query.bind(1, profile);
        return query.executeStep() ? query.getColumn(0).getInt64() : 0;
    } catch (...) {
        return 0;
    }
}

bool queryRadiRow(SQLiteConnection* db, int64_t profile, int64_t mode,
                  const std::function<void(SQLite::Statement&)>& read) noexcept {
    if (!db) return false;
    try {
        SQLite::Statement query(
            db->database(),
            R"(SELECT * FROM "t_radidata" WHERE "profId" = ? AND "mode" = ? ORDER BY "radiId" LIMIT 1)");
        query.bind(1, profile);
        query.bind(2, mode);
        if (!query.executeStep()) return false;
        read(query);
        return true;
    } catch (...) {
        return false;
    }
}

void insertKeyRGB(SQLiteConnection* db, const RGBData& data) noexcept {
    if (data.keyvalue == 0 || !db) return;
    try {
        Transaction scope = db->beginScope();
        {
            SQLite::Statement remove(db->database(), R"(DELETE FROM "t_keyrgbdata" WHERE "keyvalue" = ?)");
            remove.bind(1, data.keyvalue);
            remove.exec();
            if (data.rgbvalue != 0) {
                SQLite::Statement insert(
                    db->database(),
                    R"(INSERT INTO "t_keyrgbdata" ("radiId", "profId", "keyvalue", "rgbvalue") VALUES (?, ?, ?, ?))");
                insert.bind(1, data.radiId);
                insert.bind(2, data.profile);
                insert.bind(3, data.keyvalue);
                insert.bind(4, data.rgbvalue);
                insert.exec();
            }
        }
        SQLiteConnection::commitScope(scope);
    } catch (...) {
        // The scope rolls back: the key keeps its earlier colour.
    }
}

bool queryKeyRGB(SQLiteConnection* db, int64_t profile, std::vector<RGBData>& dataArray) noexcept {
    return appendRows<RGBData>(
        db, [&](SQLite::Statement& q) { q.bind(1, profile); },
        R"(SELECT "rgbId", "radiId", "profId", "keyvalue", "rgbvalue" FROM "t_keyrgbdata" WHERE "profId" = ?
           ORDER BY "rgbId")",
        [](SQLite::Statement& q) {
            return RGBData{q.getColumn(0).getInt64(), q.getColumn(1).getInt64(), q.getColumn(2).getInt64(),
                           q.getColumn(3).getInt64(), q.getColumn(4).getInt64()};
        },
        dataArray);
}

bool updateConfigData(SQLiteConnection* db, int64_t profile, const std::string& keyValue,
                      const std::string& newvalue) noexcept {
    if (!db) return true;
    try {
        SQLite::Statement update(db->database(),
                                 R"(UPDATE "t_configdata" SET "value" = ? WHERE "profId" = ? AND "key" = ?)");
        update.bind(1, newvalue);
        update.bind(2, profile);
        update.bind(3, keyValue);
        update.exec();
        return true;
    } catch (...) {
        return false;
    }
}

std::string getConfigData(SQLiteConnection* db, int64_t profile, const std::string& keyValue) noexcept {
    if (!db) return {};
    try {
        SQLite::Statement query(
            db->database(),
            R"(SELECT "value" FROM "t_configdata" WHERE "profId" = ? AND "key" = ? ORDER BY "keyId" LIMIT 1)");
        query.bind(1, profile);
        query.bind(2, keyValue);
        return query.executeStep() ? std::string(query.getColumn(0).getText()) : std::string();
    } catch (...) {
        return {};
    }
}

int64_t replaceAssignment(SQLiteConnection* db, const char* table, int64_t keyValue, int64_t macroValue,
                          const std::function<void(SQLite::Database&)>& insert) noexcept {
    if (keyValue == 0) return 0;
    if (!db) return macroValue == 0 ? 1 : 0;
    try {
        Transaction scope = db->beginScope();
        {
            // The table name comes from our own constants, never from input.
            SQLite::Statement remove(db->database(),
                                     std::string("DELETE FROM \"") + table + "\" WHERE \"keyvalue\" = ?");
            remove.bind(1, keyValue);
            remove.exec();
        }
        int64_t rowId = 1;
        if (macroValue != 0) {
            insert(db->database());
            rowId = db->database().getLastInsertRowid();
        }
        SQLiteConnection::commitScope(scope);
        return rowId;
    } catch (...) {
        return 0;
    }
}

uint8_t byteFromColumn(const SQLite::Column& column) noexcept {
    return static_cast<uint8_t>(std::clamp<int64_t>(column.getInt64(), 0, 255));
}

}  // namespace keyloom::profile_tables
