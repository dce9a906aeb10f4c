#include "SQLite/StoreFailure.h"

#include <sqlite3.h>

namespace keyloom {

StoreFailure storeFailureOfCode(int sqliteCode) noexcept {
    switch (sqliteCode & 0xFF) {
        case SQLITE_OK:
            return StoreFailure::None;
        case SQLITE_BUSY:
        case SQLITE_LOCKED:
            return StoreFailure::Busy;
        case SQLITE_FULL:
            return StoreFailure::DiskFull;
        case SQLITE_READONLY:
        case SQLITE_CANTOPEN:
        case SQLITE_PERM:
            return StoreFailure::ReadOnly;
        default:
            return StoreFailure::Other;
    }
}

}  // namespace keyloom
