#include "SQLite/SQLiteConnection.h"

#include <SQLiteCpp/Backup.h>
#include <SQLiteCpp/Exception.h>
#include <SQLiteCpp/Statement.h>
#include <sqlite3.h>

#include <algorithm>
#include <array>
#include <cctype>
#include <cerrno>
#include <cstdlib>
#include <cstring>
#include <ctime>
#include <filesystem>
#include <map>
#include <mutex>
#include <optional>

#include "platform/DataPaths.h"
#include "platform/PrintLine.h"
#include "platform/UserFiles.h"

namespace keyloom {

namespace {

constexpr const char* kEndedBySQLite = "the transaction was ended by SQLite after an error";

std::string scopeName(uint64_t id) {
    return "kl_scope_" + std::to_string(id);
}

// The name is a bare file name; anything that would lead out of the folder is refused.
bool validFileName(const std::string& name) {
    return !name.empty() && name != "." && name != ".." && name.find('/') == std::string::npos &&
           name.find('\0') == std::string::npos;
}

// The files SQLite keeps beside a database while it writes: they belong with it.
constexpr std::array<const char*, 3> kCompanions = {"-journal", "-wal", "-shm"};

constexpr const char* kMainHeading = "*** in database main ***\n";

// Why the file is damaged; empty when it is sound, or when that cannot be told now (another program's lock).
std::string damage(SQLite::Database& db) {
    try {
        SQLite::Statement check(db, "PRAGMA quick_check(1)");
        const std::string result = check.executeStep() ? check.getColumn(0).getString() : "ok";
        if (result == "ok") return {};
        std::string line = result.substr(result.starts_with(kMainHeading) ? std::strlen(kMainHeading) : 0);
        std::replace(line.begin(), line.end(), '\n', ' ');  // one printed line
        return line;
    } catch (const SQLite::Exception& e) {
        const int code = e.getErrorCode();
        return code == SQLITE_NOTADB || code == SQLITE_CORRUPT ? e.what() : std::string();
    }
}

// Why an operation's exception means its write did not happen.
StoreFailure failureOfException(const std::exception& e) {
    const auto* sqlite = dynamic_cast<const SQLite::Exception*>(&e);
    return sqlite ? storeFailureOfCode(sqlite->getErrorCode()) : StoreFailure::Other;
}

// True when the file cannot even be read through a connection that may write, for want of space: in write-ahead-log
// mode the first reader creates and sizes the shared-memory file beside the database.
bool readFailsForWantOfSpace(SQLite::Database& db) {
    try {
        SQLite::Statement read(db, "PRAGMA schema_version");
        read.executeStep();
        return false;
    } catch (const SQLite::Exception& e) {
        const int systemError = sqlite3_system_errno(db.getHandle());
        return e.getErrorCode() == SQLITE_FULL || e.getExtendedErrorCode() == SQLITE_IOERR_SHMSIZE ||
               (e.getErrorCode() == SQLITE_IOERR && (systemError == ENOSPC || systemError == EDQUOT));
    }
}

// SQLite's URI form of a path: every byte but the unreserved ones and '/' percent-encoded, so that a '?', '#' or '%'
// in a folder name stays part of the path.
std::string fileUri(const std::string& path) {
    static constexpr char kHex[] = "0123456789ABCDEF";
    std::string uri = "file:";
    for (const unsigned char c : path) {
        if (std::isalnum(c) || c == '/' || c == '-' || c == '_' || c == '.' || c == '~') {
            uri += static_cast<char>(c);
        } else {
            uri += '%';
            uri += kHex[c >> 4];
            uri += kHex[c & 0xF];
        }
    }
    return uri;
}

bool hasContent(const std::string& path) {
    std::error_code ec;
    const auto size = std::filesystem::file_size(path, ec);
    return !ec && size > 0;
}

// What a program that stopped mid-way left beside the file (changes in its log, a commit half-written) is played on
// a private copy of the files, where SQLite may create and write what it needs; the result is kept in memory. Empty
// when that cannot be done.
std::optional<SQLite::Database> readThroughPrivateCopy(const std::string& path) {
    namespace fs = std::filesystem;
    std::error_code ec;
    std::string folder = (fs::temp_directory_path(ec) / "keyloom-XXXXXX").string();
    if (ec || !::mkdtemp(folder.data())) return std::nullopt;
    struct RemoveAtEnd {
        std::string folder;
        ~RemoveAtEnd() {
            std::error_code ignored;
            fs::remove_all(folder, ignored);
        }
    } removeAtEnd{folder};
    const std::string copy = folder + "/" + fs::path(path).filename().string();
    for (const std::string suffix : {"", "-wal", "-journal"}) {
        if (!fs::exists(path + suffix, ec)) continue;
        if (!fs::copy_file(path + suffix, copy + suffix, ec)) return std::nullopt;
        fs::permissions(copy + suffix, fs::perms::owner_read | fs::perms::owner_write, ec);
    }
    try {
        SQLite::Database source(copy, SQLite::OPEN_READWRITE);
        SQLite::Database memory(":memory:", SQLite::OPEN_READWRITE);
        SQLite::Backup(memory, source).executeStep();
        memory.exec("PRAGMA query_only=1");  // writes fail as they would on the file
        return memory;
    } catch (const SQLite::Exception&) {
        return std::nullopt;
    }
}

// A file that may not be written is read so that nothing beside it is created or changed, for root too: an ordinary
// read of a file in write-ahead-log mode creates its -wal and -shm files and writes to the -shm.
SQLite::Database openReadOnly(const std::string& path) {
    if (hasContent(path + "-wal") || hasContent(path + "-journal")) {
        if (auto memory = readThroughPrivateCopy(path)) return std::move(*memory);
    }
    // Everything stored is in the file itself: read it as it is, with no lock and no log.
    return SQLite::Database(fileUri(path) + "?immutable=1", SQLite::OPEN_READONLY | SQLite::OPEN_URI);
}

std::string timestamp() {
    const std::time_t now = std::time(nullptr);
    std::tm local{};
    localtime_r(&now, &local);
    char text[32];
    std::strftime(text, sizeof text, "%Y%m%d-%H%M%S", &local);
    return text;
}

}  // namespace

SQLiteConnection::SQLiteConnection(Key, const std::string& path, StoreFailure cannotWrite)
    : db_(cannotWrite != StoreFailure::None ? openReadOnly(path)
                                            : SQLite::Database(path, SQLite::OPEN_READWRITE | SQLite::OPEN_CREATE)),
      path_(path),
      cannotWrite_(cannotWrite) {
    sqlite3_commit_hook(db_.getHandle(), &SQLiteConnection::countCommit, this);
    configure();
}

void SQLiteConnection::configure() {
    // A quoted column name that a table lacks must be an error, not silently the text of its name.
    sqlite3_db_config(db_.getHandle(), SQLITE_DBCONFIG_DQS_DML, 0, nullptr);
    db_.setBusyTimeout(kBusyTimeoutMs);
}

std::shared_ptr<SQLiteConnection> SQLiteConnection::open(const std::string& fileName, bool userOnlyFile,
                                                         std::string& error) noexcept {
    try {
        if (!validFileName(fileName)) {
            error = "invalid database file name \"" + fileName + "\"";
            return nullptr;
        }
        // The data folder must be the user's own, and what holds it too: another user could read or swap it.
        if (ownedByAnotherUser(applicationSupportFolder())) {
            error = applicationSupportFolder() + " is owned by another user";
            return nullptr;
        }
        const std::string folder = databaseFolder();
        bool folderWritable = true;
        if (!makeUserOnlyFolder(folder, error, &folderWritable)) return nullptr;
        if (!folderWritable) printLine(folder + " is not writable: changes cannot be stored");
        const std::string path = folder + "/" + fileName;
        bool fileWritable = true;
        if (userOnlyFile) {
            if (!makeUserOnlyFile(path, error, &fileWritable, folderWritable)) return nullptr;
        } else {
            fileWritable = !userMadeReadOnly(path);
        }
        // Opened read-only, so that it stays as the user left it even for a user who could write anyway.
        if (!fileWritable) printLine(fileName + " is not writable: changes cannot be stored");
        const bool writable = folderWritable && fileWritable;
        auto connection =
            std::make_shared<SQLiteConnection>(Key{}, path, writable ? StoreFailure::None : StoreFailure::ReadOnly);
        if (writable && readFailsForWantOfSpace(connection->db_)) {
            // Read as a read-only file is: what is stored is shown. The attempt may have left an empty log and
            // index beside it, which the next opening with room uses as usual.
            printLine(fileName + " cannot be written: the disk is full: changes cannot be stored");
            connection.reset();
            connection = std::make_shared<SQLiteConnection>(Key{}, path, StoreFailure::DiskFull);
        }
        const std::string reason = damage(connection->db_);
        if (reason.empty()) {
            if (!connection->isReadOnly()) connection->useWriteAheadLog();
            return connection;
        }
        if (connection->isReadOnly()) {
            // Moving it aside would change what the user made read-only (or need room there is not): it stays, and
            // reads of it fail.
            const char* why =
                connection->cannotWrite_ == StoreFailure::DiskFull ? "the disk is full" : "it is read-only";
            printLine(fileName + " is damaged (" + reason + "): " + why + ", so it is left as it is");
            connection->damaged_ = true;
            return connection;
        }
        // Every later write would fail, on every run: keep the file under another name and start a fresh one.
        connection.reset();
        const std::string aside = moveAside(path, ".damaged-" + timestamp(), kCompanions, error);
        if (aside.empty()) return nullptr;
        printLine(fileName + " is damaged (" + reason + "): moved aside to " +
                  std::filesystem::path(aside).filename().string() + ", a fresh one is started");
        if (userOnlyFile && !makeUserOnlyFile(path, error)) return nullptr;
        auto fresh = std::make_shared<SQLiteConnection>(Key{}, path, StoreFailure::None);
        fresh->keptAs_ = std::filesystem::path(aside).filename().string();
        fresh->useWriteAheadLog();
        return fresh;
    } catch (const std::exception& e) {
        error = e.what();
    } catch (...) {
        error = "unknown error";
    }
    return nullptr;
}

namespace {
std::mutex commitCountsMutex;
std::map<std::string, uint64_t> commitCounts;
}  // namespace

int SQLiteConnection::countCommit(void* connection) noexcept {
    std::lock_guard lock(commitCountsMutex);
    ++commitCounts[static_cast<SQLiteConnection*>(connection)->path_];
    return 0;  // let the commit go on
}

uint64_t SQLiteConnection::committedTransactions(const std::string& path) {
    std::lock_guard lock(commitCountsMutex);
    auto it = commitCounts.find(path);
    return it == commitCounts.end() ? 0 : it->second;
}

StoreFailure SQLiteConnection::writeBlocked() const noexcept {
    if (cannotWrite_ != StoreFailure::None) return cannotWrite_;
    return writeLockUnavailable_ ? StoreFailure::Busy : StoreFailure::None;
}

bool SQLiteConnection::readFromMemoryCopy(StoreFailure why, const std::function<void()>& complete) noexcept {
    if (!scopes_.empty()) return false;
    try {
        SQLite::Database memory(":memory:", SQLite::OPEN_READWRITE);
        SQLite::Backup(memory, db_).executeStep();
        std::swap(db_, memory);  // the file's connection closes with `memory`, or comes back below
        const StoreFailure before = cannotWrite_;
        try {
            configure();
            cannotWrite_ = StoreFailure::None;  // `complete` writes to the copy
            complete();
            db_.exec("PRAGMA query_only=1");  // writes fail as they would on the file
        } catch (...) {
            std::swap(db_, memory);
            cannotWrite_ = before;
            return false;
        }
        cannotWrite_ = why;
        lastFailure_ = StoreFailure::None;
        return true;
    } catch (...) {
        return false;
    }
}

StoreFailure SQLiteConnection::failureOf(const std::exception& e, std::string& what) const noexcept {
    what = e.what();
    const StoreFailure kind = failureOfException(e);
    if (kind != StoreFailure::ReadOnly) return kind;
    // The write was refused by us, not by the file system: say why it had to be.
    const StoreFailure why = writeBlocked();
    if (why == StoreFailure::Busy) what = sqlite3_errstr(SQLITE_BUSY);
    if (why == StoreFailure::DiskFull) what = sqlite3_errstr(SQLITE_FULL);
    return why == StoreFailure::None ? kind : why;
}

void SQLiteConnection::useWriteAheadLog() noexcept {
    // The editors commit on the main thread: in rollback mode every commit waits for several flushes to the disk
    // (15 ms and more), in WAL mode with synchronous=NORMAL for none. A power cut may then lose the last changes but
    // never damages the file. When another program keeps the file busy, it stays in its present mode.
    try {
        db_.exec("PRAGMA journal_mode=WAL");
        db_.exec("PRAGMA synchronous=NORMAL");
    } catch (const SQLite::Exception&) {
    }
}

bool SQLiteConnection::run(const std::function<void(SQLite::Database&)>& body, std::string* error) noexcept {
    // Scopes open now belong to a user action (or to an operation that encloses this one).
    const bool inAction = !scopes_.empty();
    // An operation outside an action is an action of its own.
    if (!inAction) lastFailure_ = StoreFailure::None;
    if (inAction && !actionUsable()) {
        // A failed action runs nothing more: it could not be kept, and each statement could wait for a lock again.
        if (error) *error = failure_;
        return false;
    }
    std::string what;
    StoreFailure kind = StoreFailure::Other;
    try {
        body(db_);
        return true;
    } catch (const std::exception& e) {
        kind = failureOf(e, what);
    } catch (...) {
        what = "unknown error";
    }
    if (inAction)
        failAction(what, kind);
    else if (lastFailure_ == StoreFailure::None)  // a commit inside the body may have told why already
        lastFailure_ = kind;
    if (error) *error = what;
    return false;
}

Transaction SQLiteConnection::transaction(const std::shared_ptr<SQLiteConnection>& connection) noexcept {
    if (!connection) return {};
    const uint64_t id = connection->nextId_++;
    if (connection->scopes_.empty()) connection->lastFailure_ = StoreFailure::None;
    try {
        connection->openScope(id);
    } catch (const std::exception& e) {
        // The action is there all the same, failed: its operations do nothing and its commit answers false.
        connection->scopes_.push_back(id);
        std::string what;
        const StoreFailure kind = connection->failureOf(e, what);
        connection->failAction(what, kind);
    } catch (...) {
        connection->scopes_.push_back(id);
        connection->failAction("unknown error", StoreFailure::Other);
    }
    return Transaction(connection, id);
}

Transaction SQLiteConnection::beginScope() {
    if (!scopes_.empty() && !actionUsable()) throw SQLite::Exception(failure_);
    const uint64_t id = nextId_++;
    openScope(id);
    return Transaction(shared_from_this(), id);
}

void SQLiteConnection::openScope(uint64_t id) {
    if (!scopes_.empty() && !actionUsable()) {
        scopes_.push_back(id);  // inside a failed action: nothing to open
        return;
    }
    if (!scopes_.empty()) {
        db_.exec("SAVEPOINT " + scopeName(id));
    } else if (isReadOnly()) {
        // A file that may not be written has no write lock to give: its action begins as a read, so that what it
        // reads is still shown, and its first write fails it.
        db_.exec("BEGIN");
    } else {
        // The outermost scope takes the write lock at once, so that waiting for another program's lock happens
        // here, within the busy timeout, and never half-way through the action.
        try {
            db_.exec("BEGIN IMMEDIATE");
            writeLockUnavailable_ = false;
        } catch (const SQLite::Exception& e) {
            if (storeFailureOfCode(e.getErrorCode()) != StoreFailure::Busy) throw;
            // Another program keeps the lock: what the action reads is still what is stored, and its first write
            // fails it at once instead of waiting again.
            writeLockUnavailable_ = true;
            db_.exec("BEGIN");
            actionReadsOnly_ = true;
            db_.exec("PRAGMA query_only=1");
        }
    }
    scopes_.push_back(id);
}

void SQLiteConnection::endReadingAction() noexcept {
    if (!actionReadsOnly_) return;
    actionReadsOnly_ = false;
    try {
        db_.exec("PRAGMA query_only=0");
    } catch (...) {
    }
}

void SQLiteConnection::commitScope(Transaction& scope) {
    std::string error;
    if (!scope.commit(&error)) throw SQLite::Exception(error);
}

bool SQLiteConnection::isOpen(uint64_t id) const noexcept {
    return std::find(scopes_.begin(), scopes_.end(), id) != scopes_.end();
}

bool SQLiteConnection::actionUsable() const noexcept {
    return !failed_ && !sqlite3_get_autocommit(db_.getHandle());
}

void SQLiteConnection::failAction(const std::string& reason, StoreFailure kind) noexcept {
    // The statement's own error says more than noticing afterwards that SQLite ended the transaction.
    if (failed_ && failure_ != kEndedBySQLite) return;
    failed_ = true;
    failure_ = reason;
    failureKind_ = kind;
    lastFailure_ = kind;
}

bool SQLiteConnection::finish(uint64_t id, bool commit, std::string* error) noexcept {
    // SQLite ends the whole transaction by itself on some errors (a ROLLBACK raised by a trigger, a full disk, I/O
    // errors): the action has failed then, even if no statement of ours reported it.
    if (!scopes_.empty() && !failed_ && sqlite3_get_autocommit(db_.getHandle()))
        failAction(kEndedBySQLite, StoreFailure::Other);
    const auto it = std::find(scopes_.begin(), scopes_.end(), id);
    if (it == scopes_.end()) {
        if (error) *error = "the transaction has already ended";
        return false;
    }
    const bool outermost = it == scopes_.begin();
    // Ending a scope also ends every scope opened after it.
    scopes_.erase(it, scopes_.end());
    struct EndAction {
        SQLiteConnection* connection;
        ~EndAction() {
            if (connection) connection->endReadingAction();
        }
    } endAction{outermost ? this : nullptr};
    const std::string name = scopeName(id);
    try {
        if (failed_) {
            if (error) *error = failure_;
            if (outermost) rollbackAction();
            return false;
        }
        if (commit) {
            db_.exec(outermost ? std::string("COMMIT") : "RELEASE SAVEPOINT " + name);
            if (outermost) failure_.clear();
            return true;
        }
        if (outermost) {
            rollbackAction();
        } else {
            // A caller undoing its own inner scope: the action goes on.
            db_.exec("ROLLBACK TO SAVEPOINT " + name);
            db_.exec("RELEASE SAVEPOINT " + name);
        }
        return false;
    } catch (const std::exception& e) {
        // The commit could not be written (a lock still held by another program, a full disk): keep nothing.
        std::string what;
        const StoreFailure kind = failureOf(e, what);
        if (error) *error = what;
        if (outermost) {
            rollbackAction();
            lastFailure_ = kind;
        } else {
            failAction(what, kind);
        }
        return false;
    }
}

void SQLiteConnection::rollbackAction() noexcept {
    if (!sqlite3_get_autocommit(db_.getHandle())) {
        try {
            db_.exec("ROLLBACK");
        } catch (...) {
        }
    }
    failed_ = false;
    failure_.clear();
    failureKind_ = StoreFailure::None;
}

}  // namespace keyloom
