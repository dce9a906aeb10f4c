#include "SQLite/ProfileSQLite.h"

#include <optional>
#include <unordered_set>

#include "SQLite/ProfileTables.h"
#include "SQLite/SQLiteConnection.h"

namespace keyloom {

using profile_tables::printLine;

ProfileSQLite::ProfileSQLite(const std::string& device, const Schema& schema) : schema_(&schema) {
    std::string error;
    db_ = SQLiteConnection::open(device, false, error);
    if (!db_) {
        printLine("init: connect fail " + error);
        return;
    }
    createTable();
    readDefaultsFromMemoryWhenMissing();
    printLine("init: connect success");
}

void ProfileSQLite::readDefaultsFromMemoryWhenMissing() {
    // A new file on a full disk was opened for writing: its tables could not be created.
    StoreFailure why = db_->writeBlocked();
    if (why == StoreFailure::None && db_->lastFailure() == StoreFailure::DiskFull) why = StoreFailure::DiskFull;
    if (why != StoreFailure::ReadOnly && why != StoreFailure::DiskFull) return;
    if (db_->isDamaged() || hasDefaults()) return;
    db_->readFromMemoryCopy(why, [this] {
        for (const char* sql : schema_->createStatements) db_->database().exec(sql);
        initDBdata(1);
        writeRadiProfile(1);
    });
}

bool ProfileSQLite::hasDefaults() const {
    bool complete = false;
    run([&](SQLite::Database& db) {
        // Creating a table that exists writes nothing, and is refused on a file that cannot be written otherwise.
        for (const char* sql : schema_->createStatements) db.exec(sql);
        SQLite::Statement settings(db, R"(SELECT 1 FROM "t_configdata" LIMIT 1)");
        SQLite::Statement modes(db, R"(SELECT 1 FROM "t_radidata" WHERE "profId" = 1 LIMIT 1)");
        complete = settings.executeStep() && modes.executeStep();
    });
    return complete;
}

ProfileSQLite::~ProfileSQLite() = default;
ProfileSQLite::ProfileSQLite(ProfileSQLite&&) noexcept = default;
ProfileSQLite& ProfileSQLite::operator=(ProfileSQLite&&) noexcept = default;

StoreFailure ProfileSQLite::writeFailure() const noexcept {
    return db_ ? db_->lastFailure() : StoreFailure::NoDatabase;
}

bool ProfileSQLite::isReadOnly() const noexcept {
    return db_ && db_->isReadOnly();
}

StoreFailure ProfileSQLite::writeBlocked() const noexcept {
    return db_ ? db_->writeBlocked() : StoreFailure::NoDatabase;
}

std::string ProfileSQLite::damagedFileKeptAs() const {
    return db_ ? db_->damagedFileKeptAs() : std::string();
}

Transaction ProfileSQLite::transaction() noexcept {
    return SQLiteConnection::transaction(db_);
}

bool ProfileSQLite::run(const std::function<void(SQLite::Database&)>& body, std::string* error) const noexcept {
    if (!db_) return false;
    return db_->run(body, error);
}

void ProfileSQLite::createTable() {
    if (!db_) return;
    std::string error;
    const bool created = run(
        [this](SQLite::Database& db) {
            for (const char* sql : schema_->createStatements) db.exec(sql);
        },
        &error);
    if (!created) {
        printLine("createTable fail " + error);
        return;
    }
    initDBdata(1);
    printLine("createTable success");
}

void ProfileSQLite::initDBdata(int64_t profile) {
    if (!db_) return;
    std::string error;
    const bool written = run(
        [&](SQLite::Database& db) {
            writeOnce(db, R"(SELECT "keyId" FROM "t_configdata" LIMIT 1)", profile, [&] {
                SQLite::Statement insert(db,
                                         R"(INSERT INTO "t_configdata" ("key", "profId", "value") VALUES (?, ?, ?))");
                for (const Setting& setting : schema_->defaultSettings) {
                    insert.reset();
                    insert.bind(1, setting.key);
                    insert.bind(2, profile);
                    insert.bind(3, setting.value);
                    insert.exec();
                }
            });
        },
        &error);
    if (!written) printLine("insertRow  fail " + error);
}

bool ProfileSQLite::writeRadiProfile(int64_t profile) {
    if (!db_) return true;
    return run([&](SQLite::Database& db) {
        writeOnce(db, R"(SELECT "radiId" FROM "t_radidata" WHERE "profId" = ?1 LIMIT 1)", profile, [&] {
            SQLite::Statement insert(db, schema_->modeInsert);
            for (int mode = 1; mode <= schema_->lastMode; ++mode) {
                insert.reset();
                insert.clearBindings();
                schema_->bindMode(insert, profile, mode);
                insert.exec();
            }
        });
    });
}

void ProfileSQLite::writeOnce(SQLite::Database& db, const char* existingRowSql, int64_t profile,
                              const std::function<void()>& write) {
    const auto exists = [&] {
        SQLite::Statement first(db, existingRowSql);
        if (first.getBindParameterCount() > 0) first.bind(1, profile);
        return first.executeStep();
    };
    // Looked at before the scope, so that a store that has its rows takes no write lock.
    if (exists()) return;
    Transaction scope = db_->beginScope();
    if (exists()) return;  // written by someone else meanwhile
    write();
    SQLiteConnection::commitScope(scope);
}

bool ProfileSQLite::selectRaidMode(int64_t profile, int64_t mode) {
    if (!db_) return true;
    return run([&](SQLite::Database& db) {
        Transaction scope = db_->beginScope();
        {
            SQLite::Statement clear(db, R"(UPDATE "t_radidata" SET "status" = 0 WHERE "profId" = ?)");
            clear.bind(1, profile);
            clear.exec();
            SQLite::Statement set(db, R"(UPDATE "t_radidata" SET "status" = 1 WHERE "profId" = ? AND "mode" = ?)");
            set.bind(1, profile);
            set.bind(2, mode);
            set.exec();
        }
        SQLiteConnection::commitScope(scope);
    });
}

int64_t ProfileSQLite::getRadiModeSelectIndex(int64_t profile) const {
    int64_t selected = 0;
    run([&](SQLite::Database& db) {
        SQLite::Statement query(
            db, R"(SELECT "mode" FROM "t_radidata" WHERE "profId" = ? AND "status" = 1 ORDER BY "radiId" LIMIT 1)");
        query.bind(1, profile);
        if (query.executeStep()) selected = query.getColumn(0).getInt64();
    });
    return selected;
}

bool ProfileSQLite::queryRadiRow(int64_t profile, int64_t mode,
                                 const std::function<void(SQLite::Statement&)>& read) const {
    bool found = false;
    const bool ok = run([&](SQLite::Database& db) {
        SQLite::Statement query(
            db, R"(SELECT * FROM "t_radidata" WHERE "profId" = ? AND "mode" = ? ORDER BY "radiId" LIMIT 1)");
        query.bind(1, profile);
        query.bind(2, mode);
        if (!query.executeStep()) return;
        read(query);
        found = true;
    });
    return ok && found;
}

void ProfileSQLite::insertKeyRGB(const RGBData& data) {
    if (data.keyvalue == 0) return;
    // On a failure the scope rolls back: the key keeps its earlier colour.
    run([&](SQLite::Database& db) {
        Transaction scope = db_->beginScope();
        {
            SQLite::Statement remove(db, R"(DELETE FROM "t_keyrgbdata" WHERE "keyvalue" = ?)");
            remove.bind(1, data.keyvalue);
            remove.exec();
            if (data.rgbvalue != 0) {
                SQLite::Statement insert(
                    db,
                    R"(INSERT INTO "t_keyrgbdata" ("radiId", "profId", "keyvalue", "rgbvalue") VALUES (?, ?, ?, ?))");
                insert.bind(1, data.radiId);
                insert.bind(2, data.profile);
                insert.bind(3, data.keyvalue);
                insert.bind(4, data.rgbvalue);
                insert.exec();
            }
        }
        SQLiteConnection::commitScope(scope);
    });
}

bool ProfileSQLite::storeKeyRGBs(std::span<const RGBData> rows) {
    if (!db_) return false;
    // What insertKeyRGB of each row in turn leaves: every row of the keys written goes; each key's last row comes
    // back unless black, the keys in the order of their last rows, after every row of the other keys.
    std::unordered_set<int64_t> keys;
    std::vector<RGBData> added;
    for (const RGBData& row : rows) {
        if (row.keyvalue == 0) continue;
        keys.insert(row.keyvalue);
        std::erase_if(added, [&row](const RGBData& a) { return a.keyvalue == row.keyvalue; });
        if (row.rgbvalue != 0) added.push_back(row);
    }
    return run([&](SQLite::Database& db) {
        Transaction scope = db_->beginScope();
        std::vector<RGBData> stored;
        {
            SQLite::Statement query(
                db,
                R"(SELECT "rgbId", "radiId", "profId", "keyvalue", "rgbvalue" FROM "t_keyrgbdata" ORDER BY "rgbId")");
            while (query.executeStep())
                stored.push_back({query.getColumn(0).getInt64(), query.getColumn(1).getInt64(),
                                  query.getColumn(2).getInt64(), query.getColumn(3).getInt64(),
                                  query.getColumn(4).getInt64()});
        }
        // New rows can only go after every stored row, so a stored row of a written key stays (updated in place)
        // only as part of the longest run of `added`, from its start, that the rows after the other keys' last row
        // already hold in order. The rest of them go, and the rest of `added` is inserted after.
        size_t tail = 0;
        for (size_t i = 0; i < stored.size(); ++i)
            if (!keys.contains(stored[i].keyvalue)) tail = i + 1;
        std::vector<size_t> removed, updated;  // stored positions
        for (size_t i = 0; i < tail; ++i)
            if (keys.contains(stored[i].keyvalue)) removed.push_back(i);
        size_t next = tail;  // the first stored row not placed yet
        size_t kept = 0;     // added[0, kept) stay in stored rows
        for (; kept < added.size(); ++kept) {
            size_t at = next;
            while (at < stored.size() && stored[at].keyvalue != added[kept].keyvalue) ++at;
            if (at == stored.size()) break;
            for (; next < at; ++next) removed.push_back(next);
            const RGBData& want = added[kept];
            RGBData& have = stored[at];
            if (have.radiId != want.radiId || have.profile != want.profile || have.rgbvalue != want.rgbvalue) {
                have = {have.rgbId, want.radiId, want.profile, want.keyvalue, want.rgbvalue};
                updated.push_back(at);
            }
            next = at + 1;
        }
        for (; next < stored.size(); ++next) removed.push_back(next);

        {
            SQLite::Statement remove(db, R"(DELETE FROM "t_keyrgbdata" WHERE "rgbId" = ?)");
            for (size_t i : removed) {
                remove.reset();
                remove.bind(1, stored[i].rgbId);
                remove.exec();
            }
            SQLite::Statement update(
                db, R"(UPDATE "t_keyrgbdata" SET "radiId" = ?, "profId" = ?, "rgbvalue" = ? WHERE "rgbId" = ?)");
            for (size_t i : updated) {
                update.reset();
                update.bind(1, stored[i].radiId);
                update.bind(2, stored[i].profile);
                update.bind(3, stored[i].rgbvalue);
                update.bind(4, stored[i].rgbId);
                update.exec();
            }
            SQLite::Statement insert(
                db, R"(INSERT INTO "t_keyrgbdata" ("radiId", "profId", "keyvalue", "rgbvalue") VALUES (?, ?, ?, ?))");
            for (size_t i = kept; i < added.size(); ++i) {
                insert.reset();
                insert.bind(1, added[i].radiId);
                insert.bind(2, added[i].profile);
                insert.bind(3, added[i].keyvalue);
                insert.bind(4, added[i].rgbvalue);
                insert.exec();
            }
        }
        SQLiteConnection::commitScope(scope);
    });
}

bool ProfileSQLite::queryKeyRGB(int64_t profile, std::vector<RGBData>& dataArray) const {
    return appendRows<RGBData>(
        [&](SQLite::Statement& q) { q.bind(1, profile); },
        R"(SELECT "rgbId", "radiId", "profId", "keyvalue", "rgbvalue" FROM "t_keyrgbdata" WHERE "profId" = ?
           ORDER BY "rgbId")",
        [](SQLite::Statement& q) {
            return RGBData{q.getColumn(0).getInt64(), q.getColumn(1).getInt64(), q.getColumn(2).getInt64(),
                           q.getColumn(3).getInt64(), q.getColumn(4).getInt64()};
        },
        dataArray);
}

bool ProfileSQLite::updateConfigData(int64_t profile, const std::string& keyValue, const std::string& newvalue) {
    if (!db_) return true;
    return run([&](SQLite::Database& db) {
        SQLite::Statement update(db, R"(UPDATE "t_configdata" SET "value" = ? WHERE "profId" = ? AND "key" = ?)");
        update.bind(1, newvalue);
        update.bind(2, profile);
        update.bind(3, keyValue);
        update.exec();
    });
}

std::optional<std::string> ProfileSQLite::storedConfigData(int64_t profile, const std::string& keyValue) const {
    std::optional<std::string> value;
    run([&](SQLite::Database& db) {
        SQLite::Statement query(
            db, R"(SELECT "value" FROM "t_configdata" WHERE "profId" = ? AND "key" = ? ORDER BY "keyId" LIMIT 1)");
        query.bind(1, profile);
        query.bind(2, keyValue);
        if (query.executeStep()) value = profile_tables::textFromColumn(query.getColumn(0));
    });
    return value;
}

std::string ProfileSQLite::getConfigData(int64_t profile, const std::string& keyValue) const {
    return storedConfigData(profile, keyValue).value_or(std::string());
}

std::string ProfileSQLite::configDataOrDefault(int64_t profile, const std::string& keyValue) const {
    if (std::optional<std::string> value = storedConfigData(profile, keyValue)) return *value;
    for (const Setting& setting : schema_->defaultSettings)
        if (keyValue == setting.key) return setting.value;
    return {};
}

int64_t ProfileSQLite::replaceAssignment(const char* table, int64_t keyValue, int64_t macroValue,
                                         const std::function<void(SQLite::Database&)>& insert) {
    if (keyValue == 0) return 0;
    if (!db_) return macroValue == 0 ? 1 : 0;
    int64_t rowId = 1;
    const bool ok = run([&](SQLite::Database& db) {
        Transaction scope = db_->beginScope();
        {
            // The table name comes from our own constants, never from input.
            SQLite::Statement remove(db, std::string("DELETE FROM \"") + table + "\" WHERE \"keyvalue\" = ?");
            remove.bind(1, keyValue);
            remove.exec();
        }
        if (macroValue != 0) {
            insert(db);
            rowId = db.getLastInsertRowid();
        }
        SQLiteConnection::commitScope(scope);
    });
    return ok ? rowId : 0;
}

bool ProfileSQLite::eachRow(const std::function<void(SQLite::Statement&)>& bindFilter, const char* sql,
                            const std::function<void(SQLite::Statement&)>& onRow) const {
    return run([&](SQLite::Database& db) {
        SQLite::Statement query(db, sql);
        bindFilter(query);
        while (query.executeStep()) onRow(query);
    });
}

}  // namespace keyloom
