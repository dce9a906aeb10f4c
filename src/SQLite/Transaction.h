#pragma once

#include <cstdint>
#include <memory>
#include <string>

namespace keyloom {

class SQLiteConnection;

// One scope of writes that commit together or not at all. Obtained from a database object's transaction(); an editor
// opens one per user action so that the action costs one commit. Scopes nest (SAVEPOINTs): the operations' own
// delete-then-insert pairs run as inner scopes, and only the outermost scope commits to the file.
// The outermost scope is the user action: when any of its statements fails, or it cannot take the write lock within
// the busy timeout, the whole action fails: its later operations do nothing and its commit answers false, keeping
// none of its writes. Not committed when destroyed: rolled back. Use on the thread that owns the database object.
class Transaction {
  public:
    Transaction() noexcept = default;  // inactive: no connection
    Transaction(Transaction&& other) noexcept;
    Transaction& operator=(Transaction&& other) noexcept;
    Transaction(const Transaction&) = delete;
    Transaction& operator=(const Transaction&) = delete;
    ~Transaction();

    // True from the scope's start until it ends (committed, rolled back, or ended with an enclosing scope), also when
    // its action has failed: commit() then answers false.
    bool active() const noexcept;
    // Keeps the scope's writes (in the file when it is the outermost scope). False when the scope was not active, its
    // action has failed, or the commit failed; the action is then rolled back whole. `error` receives the failure's
    // description.
    bool commit(std::string* error = nullptr) noexcept;
    // Undoes every write of the scope (and of scopes still open inside it).
    void rollback() noexcept;

  private:
    friend class SQLiteConnection;
    Transaction(std::shared_ptr<SQLiteConnection> connection, uint64_t id) noexcept;

    std::shared_ptr<SQLiteConnection> connection_;
    uint64_t id_ = 0;
};

}  // namespace keyloom
