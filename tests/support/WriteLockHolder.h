#pragma once

#include <SQLiteCpp/Database.h>

#include <string>

namespace keyloom::test {

// Another connection holding the write lock of a database file while it lives, as another program would. One of this
// process: a program started from the tests would not pass ThreadSanitizer's check of a fork in a threaded process.
class WriteLockHolder {
  public:
    explicit WriteLockHolder(const std::string& path) : db_(path, SQLite::OPEN_READWRITE) {
        db_.exec("BEGIN IMMEDIATE");
    }
    ~WriteLockHolder() {
        try {
            db_.exec("ROLLBACK");
        } catch (const SQLite::Exception&) {
        }
    }
    WriteLockHolder(const WriteLockHolder&) = delete;
    WriteLockHolder& operator=(const WriteLockHolder&) = delete;

  private:
    SQLite::Database db_;
};

}  // namespace keyloom::test
