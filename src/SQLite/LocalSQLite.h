#pragma once

#include <cstdint>
#include <memory>

#include "SQLite/LoginData.h"
#include "SQLite/StoreFailure.h"

namespace keyloom {

class SQLiteConnection;

// The login store "local.sqlite3" (table t_login): at most one remembered log-in. The file and its folder are
// readable by the user only. Made for one call and dropped; nothing throws. Main thread only.
class LocalSQLite {
  public:
    LocalSQLite();
    ~LocalSQLite();
    LocalSQLite(LocalSQLite&&) noexcept;
    LocalSQLite& operator=(LocalSQLite&&) noexcept;
    LocalSQLite(const LocalSQLite&) = delete;
    LocalSQLite& operator=(const LocalSQLite&) = delete;

    bool isConnected() const noexcept { return db_ != nullptr; }

    void createTable();
    // Replaces the stored log-in with `data` (its userId is not stored); prints and returns the new row id, 0 when
    // nothing was stored (the earlier log-in then stays). The password digest is kept only when `remember` is 1.
    int64_t updateLoginData(const LoginData& data);
    // Copies the stored log-in into `data`; false (record untouched) when there is none.
    bool getLoginData(LoginData& data) const;
    // Why the last update did not reach the file: None when it did; NoDatabase without a connection.
    StoreFailure writeFailure() const noexcept;

  private:
    std::shared_ptr<SQLiteConnection> db_;
};

}  // namespace keyloom
