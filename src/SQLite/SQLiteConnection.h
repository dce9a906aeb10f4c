#pragma once

#include <SQLiteCpp/Database.h>

#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "SQLite/StoreFailure.h"
#include "SQLite/Transaction.h"

namespace keyloom {

// The open connection of one storage object, with the stack of its open transaction scopes. Used only inside the
// storage classes; its throwing members never let an exception out of them.
//
// The outermost scope is a user action: it takes the write lock when it begins, and it commits whole or not at all.
// Any statement that fails inside it (or SQLite ending the transaction by itself) marks it failed: from then on its
// operations run nothing and report failure, and its commit rolls back and answers false. When another program holds
// the write lock beyond the busy timeout, the action still reads what is stored; its first write fails it, at once.
class SQLiteConnection : public std::enable_shared_from_this<SQLiteConnection> {
    struct Key {};

  public:
    // How long a statement waits for a lock held by another program before it fails. The editors store on the main
    // thread, and an action waits at most twice (for the write lock when it begins, for readers when it commits):
    // 2 x 50 ms stays within the tenth of a second a click can take without feeling slow, and is still longer than
    // another program's ordinary commit (a few ms, tens on a spinning disk).
    static constexpr int kBusyTimeoutMs = 50;

    // `cannotWrite` None opens the file for reading and writing; ReadOnly or DiskFull opens it read-only, for that
    // reason.
    SQLiteConnection(Key, const std::string& path, StoreFailure cannotWrite);  // throws SQLite::Exception
    SQLiteConnection(const SQLiteConnection&) = delete;
    SQLiteConnection& operator=(const SQLiteConnection&) = delete;

    // Opens `fileName` in databaseFolder() for reading and writing, creating the folder (with its parents; the folder
    // itself user-only) and the file. `userOnlyFile` makes the file readable by the user only. A data folder, or a
    // user-only file, of another user is refused. Modes are only narrowed: a folder or file the user made read-only is
    // reported with a printed line ("... is not writable") and the file is opened read-only, so that nothing in the
    // folder is created or changed (for root too) and what it holds is read. A file that cannot even be read for
    // writing because the disk is full (the write-ahead log's shared-memory file cannot be sized) is read the same
    // way, with a printed line. A file found damaged ("file is not a database", "malformed") is moved aside, never
    // deleted, under its name + ".damaged-<date-time>", with one printed line, and a fresh one takes its place; a
    // damaged read-only file is left as it is. Null on failure, with the error's description in `error`.
    static std::shared_ptr<SQLiteConnection> open(const std::string& fileName, bool userOnlyFile,
                                                  std::string& error) noexcept;

    SQLite::Database& database() noexcept { return db_; }

    // Why the last user action (begin to end), or the last operation run outside one, did not reach the file: None
    // when it did, and after an operation that only read and succeeded.
    StoreFailure lastFailure() const noexcept { return lastFailure_; }
    // Opened read-only (the file or its folder is not writable, or the disk is full): every write fails.
    bool isReadOnly() const noexcept { return cannotWrite_ != StoreFailure::None; }
    // Why nothing can be stored now, as far as is known: the reason the file was opened read-only (ReadOnly,
    // DiskFull), or Busy when the last user action could not take the write lock; None otherwise.
    StoreFailure writeBlocked() const noexcept;
    // A damaged file left as it is because it may not be written: every read of it fails.
    bool isDamaged() const noexcept { return damaged_; }
    // The name the file found damaged at this opening was kept under; empty when it was sound.
    const std::string& damagedFileKeptAs() const noexcept { return keptAs_; }

    // Runs one operation's statements. False when `body` throws, with the error's description in `error`; inside a
    // user action that marks the action failed. Inside an action that has failed already, runs nothing: false.
    bool run(const std::function<void(SQLite::Database&)>& body, std::string* error = nullptr) noexcept;

    // A scope for callers (one user action, or a scope inside one). Inactive without a connection; when it cannot
    // begin (another program holds the write lock beyond the busy timeout) it is a failed action.
    static Transaction transaction(const std::shared_ptr<SQLiteConnection>& connection) noexcept;
    // A scope for an operation's own group of statements; throws when it cannot begin.
    Transaction beginScope();
    // Commits an operation's scope; throws (the scope rolled back) when that fails.
    static void commitScope(Transaction& scope);

    // For a file that cannot be written (`why`: ReadOnly or DiskFull) and lacks what `complete` writes: what the
    // file holds is copied into memory, `complete` runs there (no scope open), and from then on every read sees the
    // copy and every write fails for `why`. The file is left as it is. False, with the connection as before, when the
    // copy cannot be made or `complete` throws.
    bool readFromMemoryCopy(StoreFailure why, const std::function<void()>& complete) noexcept;

    // True until the scope ends, whether or not its action failed.
    bool isOpen(uint64_t id) const noexcept;

    // Write transactions this process has committed to the database file at `path` (databaseFolder() + "/" + name):
    // how tests and benchmarks count the commits of one user action. The file's own change counter does not serve,
    // since the write-ahead log does not advance it.
    static uint64_t committedTransactions(const std::string& path);

  private:
    void configure();
    void useWriteAheadLog() noexcept;
    // The failure an operation's exception stands for, and its description: a write refused on a connection that
    // cannot write is told by the reason it cannot.
    StoreFailure failureOf(const std::exception& e, std::string& what) const noexcept;
    void endReadingAction() noexcept;
    static int countCommit(void* connection) noexcept;
    friend class Transaction;
    void openScope(uint64_t id);
    bool finish(uint64_t id, bool commit, std::string* error) noexcept;
    // True while the open action can still commit.
    bool actionUsable() const noexcept;
    void failAction(const std::string& reason, StoreFailure kind) noexcept;
    void rollbackAction() noexcept;

    SQLite::Database db_;
    std::string path_;
    std::vector<uint64_t> scopes_;  // open scopes, outermost (the action) first
    bool failed_ = false;           // the open action has failed
    std::string failure_;           // and why
    StoreFailure failureKind_ = StoreFailure::None;
    StoreFailure lastFailure_ = StoreFailure::None;
    StoreFailure cannotWrite_ = StoreFailure::None;  // why it was opened read-only
    bool damaged_ = false;
    bool writeLockUnavailable_ = false;  // the last user action could not take the write lock
    bool actionReadsOnly_ = false;       // the open action reads only: its writes are refused (query_only)
    std::string keptAs_;
    uint64_t nextId_ = 1;
};

}  // namespace keyloom
