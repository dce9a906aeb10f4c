#include "SQLite/LocalSQLite.h"

#include <SQLiteCpp/Statement.h>

#include <string>

#include "SQLite/ProfileTables.h"
#include "SQLite/SQLiteConnection.h"

namespace keyloom {

namespace {

constexpr const char* kFileName = "local.sqlite3";
constexpr const char* kCreateStatement =
    R"(CREATE TABLE IF NOT EXISTS "t_login" ("userId" INTEGER PRIMARY KEY NOT NULL, "email" TEXT NOT NULL,
       "psw" TEXT NOT NULL, "remember" INTEGER NOT NULL, "autoLogin" INTEGER NOT NULL))";

using profile_tables::printLine;

}  // namespace

LocalSQLite::LocalSQLite() {
    std::string error;
    db_ = SQLiteConnection::open(kFileName, true, error);
    if (!db_) {
        printLine("init: connect fail " + error);
        return;
    }
    createTable();
    printLine("init: connect success");
}

LocalSQLite::~LocalSQLite() = default;
LocalSQLite::LocalSQLite(LocalSQLite&&) noexcept = default;
LocalSQLite& LocalSQLite::operator=(LocalSQLite&&) noexcept = default;

void LocalSQLite::createTable() {
    if (!db_) return;
    std::string error;
    if (db_->run([](SQLite::Database& db) { db.exec(kCreateStatement); }, &error))
        printLine("createTable success");
    else
        printLine("createTable fail " + error);
}

int64_t LocalSQLite::updateLoginData(const LoginData& data) {
    if (!db_) {
        printLine("0");
        return 0;
    }
    int64_t rowId = 0;
    std::string error;
    const bool stored = db_->run(
        [&](SQLite::Database& db) {
            Transaction scope = db_->beginScope();
            {
                SQLite::Statement remove(db, R"(DELETE FROM "t_login")");
                remove.exec();
                SQLite::Statement insert(db, R"(INSERT INTO "t_login" ("email", "psw", "remember", "autoLogin")
                                                VALUES (?, ?, ?, ?))");
                insert.bind(1, data.email);
                // Without "remember" nothing reads the digest again: keep no copy of it.
                insert.bind(2, data.remember == 1 ? data.psw : std::string());
                insert.bind(3, data.remember);
                insert.bind(4, data.autoLogin);
                insert.exec();
            }
            rowId = db.getLastInsertRowid();
            SQLiteConnection::commitScope(scope);
        },
        &error);
    if (!stored) {
        printLine("insertRow  fail " + error);
        return 0;
    }
    printLine(std::to_string(rowId));
    return rowId;
}

StoreFailure LocalSQLite::writeFailure() const noexcept {
    return db_ ? db_->lastFailure() : StoreFailure::NoDatabase;
}

bool LocalSQLite::getLoginData(LoginData& data) const {
    if (!db_) return false;
    bool found = false;
    std::string error;
    const bool ok = db_->run(
        [&](SQLite::Database& db) {
            SQLite::Statement query(db, R"(SELECT "userId", "email", "psw", "remember", "autoLogin" FROM "t_login"
                                           ORDER BY "userId" LIMIT 1)");
            if (!query.executeStep()) return;
            LoginData read;
            read.userId = query.getColumn(0).getInt64();
            read.email = profile_tables::textFromColumn(query.getColumn(1));
            read.psw = profile_tables::textFromColumn(query.getColumn(2));
            read.remember = query.getColumn(3).getInt64();
            read.autoLogin = query.getColumn(4).getInt64();
            data = std::move(read);
            found = true;
        },
        &error);
    if (!ok) printLine("getLoginData  fail " + error);
    return ok && found;
}

}  // namespace keyloom
