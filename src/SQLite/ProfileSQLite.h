#pragma once

#include <SQLiteCpp/Column.h>
#include <SQLiteCpp/Statement.h>

#include <cstdint>
#include <functional>
#include <memory>
#include <optional>
#include <span>
#include <string>
#include <vector>

#include "SQLite/RGBData.h"
#include "SQLite/StoreFailure.h"
#include "SQLite/Transaction.h"

namespace keyloom {

class SQLiteConnection;

// What the profile databases of both generations share: the open, the scope of a user action, the schema and default
// rows (each generation hands in its own), and the operations on the settings, selection and key-colour tables, whose
// columns are the same in both. Without a connection every operation gives its no-connection result. Nothing throws.
// Main thread only.
class ProfileSQLite {
  public:
    struct Setting {
        const char* key;
        const char* value;
    };

    // One generation's tables and default rows. Lives as long as the program (a constant of the generation).
    struct Schema {
        std::span<const char* const> createStatements;  // in creation order
        std::span<const Setting> defaultSettings;       // written for profile 1 into an empty t_configdata
        int lastMode;                                   // default lighting modes are 1..lastMode
        const char* modeInsert;                         // the INSERT of one default mode
        void (*bindMode)(SQLite::Statement& insert, int64_t profile, int mode);
    };

    ~ProfileSQLite();
    ProfileSQLite(ProfileSQLite&&) noexcept;
    ProfileSQLite& operator=(ProfileSQLite&&) noexcept;
    ProfileSQLite(const ProfileSQLite&) = delete;
    ProfileSQLite& operator=(const ProfileSQLite&) = delete;

    bool isConnected() const noexcept { return db_ != nullptr; }
    // Why the last user action (a transaction() from begin to end), or the last operation outside one, did not reach
    // the file: None when it did, or when it only read. NoDatabase without a connection, whatever the operations
    // answered. The operations' own results are unchanged by it.
    StoreFailure writeFailure() const noexcept;
    // Opened read-only: the file or its folder is not writable, or the disk is full, so nothing can be stored.
    bool isReadOnly() const noexcept;
    // Why nothing can be stored now, as far as is known: NoDatabase without a connection; ReadOnly or DiskFull when
    // opened read-only for that; Busy when the last user action found another program holding the write lock (its
    // reads went on); None otherwise.
    StoreFailure writeBlocked() const noexcept;
    // The name under which the file found damaged at this opening was kept (a fresh one took its place); empty when
    // it was sound.
    std::string damagedFileKeptAs() const;
    // One scope for the writes of one user action (see Transaction); inactive without a connection.
    Transaction transaction() noexcept;

    // Schema and default rows. createTable prints "createTable fail " and the error, or runs initDBdata(1) and prints
    // "createTable success". The default settings and the default modes of a profile are each written all or nothing.
    void createTable();
    void initDBdata(int64_t profile);
    // True when the profile had lighting rows, all defaults were written, or without a connection.
    bool writeRadiProfile(int64_t profile);

    // The selected mode: one status 1 row per profile, cleared and set together.
    bool selectRaidMode(int64_t profile, int64_t mode);
    int64_t getRadiModeSelectIndex(int64_t profile) const;
    // One row per key across profiles: the key's old row goes, the new one (not for colour 0 or key 0) comes, together.
    void insertKeyRGB(const RGBData& data);
    // Leaves the table as insertKeyRGB of each of `rows` in turn would, writing only what that changes: a key that
    // keeps its colour is not written, one that changes colour is updated in place. The rows read in row-id order
    // are exactly those insertKeyRGB would leave, in the same order (only their ids may differ). All or nothing;
    // false without a connection or on failure.
    bool storeKeyRGBs(std::span<const RGBData> rows);
    bool queryKeyRGB(int64_t profile, std::vector<RGBData>& dataArray) const;
    bool updateConfigData(int64_t profile, const std::string& keyValue, const std::string& newvalue);
    std::string getConfigData(int64_t profile, const std::string& keyValue) const;
    // The stored value of a setting or, when none can be read (no connection, no row, a failed read), the value a new
    // profile gets; empty when the schema has no default for it either.
    std::string configDataOrDefault(int64_t profile, const std::string& keyValue) const;

  protected:
    // Opens (creating) the file `device` in the database folder and runs createTable(); prints "init: connect
    // success", or "init: connect fail " and the error. A file that cannot be written (read-only, or a full disk)
    // and lacks the tables or default rows of profile 1 is read through a copy in memory that has them: the editors
    // show what a new profile shows, and nothing is stored.
    ProfileSQLite(const std::string& device, const Schema& schema);

    // Runs one operation's statements on the connection: false (with the error's description in `error`) when one
    // throws. Without a connection: false, nothing run.
    bool run(const std::function<void(SQLite::Database&)>& body, std::string* error = nullptr) const noexcept;

    // The first t_radidata row of (profile, mode), all columns, handed to `read`. False without a connection, without
    // a row, or on failure.
    bool queryRadiRow(int64_t profile, int64_t mode, const std::function<void(SQLite::Statement&)>& read) const;

    // The store of a key or knob assignment: 0 when keyValue is 0; deletes every row of `table` with that keyvalue
    // (any profile, any layer); 1 when macroValue is 0 (removal), else `insert` runs and its row id is the result. The
    // delete and the insert commit together: on a failure the old row stays and the result is 0.
    int64_t replaceAssignment(const char* table, int64_t keyValue, int64_t macroValue,
                              const std::function<void(SQLite::Database&)>& insert);

    // Runs `sql` (filter bound by `bindFilter`, rows appended through `read`); false on failure with `dataArray`
    // unchanged, and without a connection.
    template <typename Record>
    bool appendRows(const std::function<void(SQLite::Statement&)>& bindFilter, const char* sql,
                    const std::function<Record(SQLite::Statement&)>& read, std::vector<Record>& dataArray) const {
        std::vector<Record> rows;
        const bool ok = eachRow(bindFilter, sql, [&](SQLite::Statement& row) { rows.push_back(read(row)); });
        if (ok)
            dataArray.insert(dataArray.end(), std::make_move_iterator(rows.begin()),
                             std::make_move_iterator(rows.end()));
        return ok;
    }

  private:
    // The tables, the default settings and profile 1's default modes are all there.
    bool hasDefaults() const;
    // The setting's stored value; nullopt when none can be read.
    std::optional<std::string> storedConfigData(int64_t profile, const std::string& keyValue) const;
    void readDefaultsFromMemoryWhenMissing();
    // Runs `write` in a scope of its own unless `existingRowSql` (bound with the profile when it has a parameter)
    // finds a row.
    void writeOnce(SQLite::Database& db, const char* existingRowSql, int64_t profile,
                   const std::function<void()>& write);
    bool eachRow(const std::function<void(SQLite::Statement&)>& bindFilter, const char* sql,
                 const std::function<void(SQLite::Statement&)>& onRow) const;

    std::shared_ptr<SQLiteConnection> db_;
    const Schema* schema_;
};

}  // namespace keyloom
