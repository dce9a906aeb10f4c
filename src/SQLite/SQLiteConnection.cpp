#include "SQLite/SQLiteConnection.h"

#include <SQLiteCpp/Exception.h>
#include <sqlite3.h>

#include <algorithm>

#include "platform/DataPaths.h"
#include "platform/UserFiles.h"

namespace keyloom {

namespace {

std::string scopeName(uint64_t id) {
    return "kl_scope_" + std::to_string(id);
}

// The name is a bare file name; anything that would lead out of the folder is refused.
bool validFileName(const std::string& name) {
    return !name.empty() && name != "." && name != ".." && name.find('/') == std::string::npos &&
           name.find('\0') == std::string::npos;
}

}  // namespace

SQLiteConnection::SQLiteConnection(Key, const std::string& path)
    : db_(path, SQLite::OPEN_READWRITE | SQLite::OPEN_CREATE) {
    // A quoted column name that a table lacks must be an error, not silently the text of its name.
    sqlite3_db_config(db_.getHandle(), SQLITE_DBCONFIG_DQS_DML, 0, nullptr);
}

std::shared_ptr<SQLiteConnection> SQLiteConnection::open(const std::string& fileName, bool userOnlyFile,
                                                         std::string& error) noexcept {
    try {
        if (!validFileName(fileName)) {
            error = "invalid database file name \"" + fileName + "\"";
            return nullptr;
        }
        const std::string folder = databaseFolder();
        if (!makeUserOnlyFolder(folder, error)) return nullptr;
        const std::string path = folder + "/" + fileName;
        if (userOnlyFile && !makeUserOnlyFile(path, error)) return nullptr;
        return std::make_shared<SQLiteConnection>(Key{}, path);
    } catch (const std::exception& e) {
        error = e.what();
    } catch (...) {
        error = "unknown error";
    }
    return nullptr;
}

bool SQLiteConnection::run(const std::function<void(SQLite::Database&)>& body, std::string* error) noexcept {
    try {
        body(db_);
        return true;
    } catch (const std::exception& e) {
        if (error) *error = e.what();
    } catch (...) {
        if (error) *error = "unknown error";
    }
    return false;
}

Transaction SQLiteConnection::transaction(const std::shared_ptr<SQLiteConnection>& connection) noexcept {
    if (!connection) return {};
    try {
        return connection->beginScope();
    } catch (...) {
        return {};
    }
}

Transaction SQLiteConnection::beginScope() {
    forgetEndedScopes();
    const uint64_t id = nextId_++;
    db_.exec("SAVEPOINT " + scopeName(id));
    scopes_.push_back(id);
    return Transaction(shared_from_this(), id);
}

void SQLiteConnection::commitScope(Transaction& scope) {
    std::string error;
    if (!scope.commit(&error)) throw SQLite::Exception(error);
}

bool SQLiteConnection::isOpen(uint64_t id) const noexcept {
    if (sqlite3_get_autocommit(db_.getHandle())) return false;
    return std::find(scopes_.begin(), scopes_.end(), id) != scopes_.end();
}

void SQLiteConnection::forgetEndedScopes() noexcept {
    if (sqlite3_get_autocommit(db_.getHandle())) scopes_.clear();
}

bool SQLiteConnection::finish(uint64_t id, bool commit, std::string* error) noexcept {
    forgetEndedScopes();
    const auto it = std::find(scopes_.begin(), scopes_.end(), id);
    if (it == scopes_.end()) {
        // Already ended: by an enclosing scope, or by SQLite rolling the whole transaction back.
        if (error) *error = "the transaction has already ended";
        return false;
    }
    const bool outermost = it == scopes_.begin();
    // Releasing or rolling back a savepoint also ends every savepoint opened after it.
    scopes_.erase(it, scopes_.end());
    const std::string name = scopeName(id);
    if (commit) {
        try {
            db_.exec("RELEASE SAVEPOINT " + name);
            return true;
        } catch (const std::exception& e) {
            if (error) *error = e.what();
        }
    }
    try {
        if (!sqlite3_get_autocommit(db_.getHandle())) {
            db_.exec("ROLLBACK TO SAVEPOINT " + name);
            db_.exec("RELEASE SAVEPOINT " + name);
        }
    } catch (...) {
        if (outermost && !sqlite3_get_autocommit(db_.getHandle())) {
            try {
                db_.exec("ROLLBACK");
            } catch (...) {
            }
        }
    }
    forgetEndedScopes();
    return false;
}

}  // namespace keyloom
