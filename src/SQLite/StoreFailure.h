#pragma once

namespace keyloom {

// Why a write did not reach a database file, as far as the user can do something about it.
enum class StoreFailure {
    None,        // it was stored
    Busy,        // another program holds the file's write lock (SQLITE_BUSY, SQLITE_LOCKED)
    DiskFull,    // SQLITE_FULL
    ReadOnly,    // the file or its folder is not writable (SQLITE_READONLY, SQLITE_CANTOPEN, SQLITE_PERM)
    NoDatabase,  // the object has no connection
    Other,       // anything else (I/O error, a damaged file, a constraint)
};

// The failure of an SQLite result code (primary or extended); None for SQLITE_OK.
StoreFailure storeFailureOfCode(int sqliteCode) noexcept;

}  // namespace keyloom
