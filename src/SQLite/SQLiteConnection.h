#pragma once

#include <SQLiteCpp/Database.h>

#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "SQLite/Transaction.h"

namespace keyloom {

// The open connection of one storage object, with the stack of its open transaction scopes. Used only inside the
// storage classes; its throwing members never let an exception out of them.
class SQLiteConnection : public std::enable_shared_from_this<SQLiteConnection> {
    struct Key {};

  public:
    SQLiteConnection(Key, const std::string& path);  // throws SQLite::Exception
    SQLiteConnection(const SQLiteConnection&) = delete;
    SQLiteConnection& operator=(const SQLiteConnection&) = delete;

    // Opens `fileName` in databaseFolder() for reading and writing, creating the folder (with its parents; the folder
    // itself user-only) and the file. `userOnlyFile` makes the file readable by the user only. Null on failure, with
    // the error's description in `error`.
    static std::shared_ptr<SQLiteConnection> open(const std::string& fileName, bool userOnlyFile,
                                                  std::string& error) noexcept;

    SQLite::Database& database() noexcept { return db_; }

    // Runs one operation's statements. False when `body` throws, with the error's description in `error`.
    bool run(const std::function<void(SQLite::Database&)>& body, std::string* error = nullptr) noexcept;

    // A scope for callers; inactive when `connection` is null or the scope cannot start.
    static Transaction transaction(const std::shared_ptr<SQLiteConnection>& connection) noexcept;
    // A scope for an operation's own group of statements; throws when it cannot start.
    Transaction beginScope();
    // Commits an operation's scope; throws (the scope rolled back) when that fails.
    static void commitScope(Transaction& scope);

    bool isOpen(uint64_t id) const noexcept;

  private:
    friend class Transaction;
    bool finish(uint64_t id, bool commit, std::string* error) noexcept;
    // SQLite ends the whole transaction by itself on some errors (a ROLLBACK raised by a trigger, I/O errors); every
    // scope is gone then.
    void forgetEndedScopes() noexcept;

    SQLite::Database db_;
    std::vector<uint64_t> scopes_;  // open scopes, innermost last
    uint64_t nextId_ = 1;
};

}  // namespace keyloom
