#include <gtest/gtest.h>
#include <sqlite3.h>

#include <QProcess>
#include <chrono>
#include <fstream>
#include <utility>

#include "SQLite/LocalSQLite.h"
#include "SQLite/SQLiteConnection.h"
#include "StorageTestHelpers.h"

namespace keyloom {
namespace {

using namespace test;

struct Stores {
    DeviceSQLite device{kGen1};
    LocalSQLite login;
};

// Each pair runs once (1) to make the old state, then (2) with a failure injected inside it. Expected: its result
// and printed lines, then the state read by `stateSql` (on local.sqlite3 for t_login, else on the first-generation
// file): the old one.
struct PairCase {
    const char* kind;
    std::string trigger;
    std::string stateSql;
    std::string expected;
    std::function<std::string(Stores&, int64_t)> action;
};

const PairCase kPairs[] = {
    {"colour", failInsertsOn("t_keyrgbdata"), "SELECT group_concat(rgbvalue) FROM t_keyrgbdata", " | 1",
     [](Stores& s, int64_t v) {
         return s.device.insertKeyRGB({0, 12, 1, 4, v}), std::string();
     }},
    {"assignment", failInsertsOn("t_keyprofile"), "SELECT group_concat(macroValue) FROM t_keyprofile", "0 | 1",
     [](Stores& s, int64_t v) { return str(s.device.addKeyProfile({.profId = v, .keyValue = 4, .macroValue = v})); }},
    {"login", failInsertsOn("t_login"), "SELECT group_concat(psw) FROM t_login", "0 / insertRow  fail injected | 1",
     [](Stores& s, int64_t v) {
         return str(s.login.updateLoginData({0, "a@x", str(v), 1, 0}));
     }},
    {"selection",
     "CREATE TRIGGER fail BEFORE UPDATE ON t_radidata WHEN NEW.status = 1 BEGIN SELECT RAISE(ABORT, 'x'); END",
     "SELECT group_concat(mode) FROM t_radidata WHERE status = 1", "0 | 5",
     [](Stores& s, int64_t v) { return str(s.device.writeRadiProfile(1) && s.device.selectRaidMode(1, 4 + v)); }},
    {"defaultSettings", failInsertsOn("t_configdata", "NEW.key = 'idleUSBWireSleep'"),
     "SELECT count(*) FROM t_configdata", " / insertRow  fail injected | 0",
     [](Stores& s, int64_t v) {
         if (v == 2) execSql(kGen1, "DELETE FROM t_configdata");
         return s.device.initDBdata(1), std::string();
     }},
    {"defaultModes", failInsertsOn("t_radidata", "NEW.mode = 5"), "SELECT count(*) FROM t_radidata", "0 | 12",
     [](Stores& s, int64_t v) { return str(s.device.writeRadiProfile(v)); }},
};

TEST(PairUnderFailure, KeepsTheOldState) {
    for (const PairCase& c : kPairs) {
        SCOPED_TRACE(c.kind);
        TempDataHome home;
        const std::string file = c.stateSql.find("t_login") != std::string::npos ? "local.sqlite3" : kGen1;
        std::unique_ptr<Stores> stores;
        printed([&] {
            stores = std::make_unique<Stores>();
            c.action(*stores, 1);
        });
        execSql(file, c.trigger);
        std::string result;
        const std::string lines = printed([&] { result = c.action(*stores, 2); });
        EXPECT_EQ(result + (lines.empty() ? "" : " / " + lines) + " | " + queryRows(file, c.stateSql).at(0).at(0),
                  c.expected);
    }
}

// Write transactions committed to the first-generation file.
uint64_t changeCounter() {
    return SQLiteConnection::committedTransactions(databasePath(kGen1));
}

using UserAction = Stored;

void storeKeyboardColours(DeviceSQLite& db) {
    for (int64_t key = 4; key < 4 + 91; ++key) db.insertKeyRGB({0, 12, 1, key, 0x123456});
    for (int64_t group = 600; group <= 603; ++group) db.insertKeyRGB({0, 12, 1, group, 0x123456});
}
std::string colourRows() {
    return queryRows(kGen1, "SELECT count(*) FROM t_keyrgbdata")[0][0];
}

TEST_F(UserAction, OneCommitPerActionAndRollbackWhenNotCommitted) {
    {
        Transaction action = gen1->transaction();
        storeKeyboardColours(*gen1);
        ASSERT_TRUE(gen1->selectRaidMode(1, 12));
    }
    EXPECT_EQ(colourRows(), "0");
    EXPECT_EQ(gen1->getRadiModeSelectIndex(1), 1);

    const uint32_t before = changeCounter();
    Transaction action = gen1->transaction();
    storeKeyboardColours(*gen1);
    EXPECT_EQ(colourRows(), "0") << "others see nothing before the commit";
    EXPECT_TRUE(action.commit());
    EXPECT_FALSE(action.commit()) << "once";
    EXPECT_EQ(colourRows(), "95");
    EXPECT_EQ(changeCounter(), before + 1);
}

TEST_F(UserAction, NestedScopesFollowTheOutermost) {
    Transaction outer = gen1->transaction();
    gen1->insertKeyRGB({0, 12, 1, 5, 1});
    Transaction inner = gen1->transaction();
    gen1->insertKeyRGB({0, 12, 1, 6, 1});
    EXPECT_TRUE(inner.commit());
    EXPECT_EQ(colourRows(), "0") << "an inner commit does not reach the file";
    Transaction undone = gen1->transaction();
    gen1->insertKeyRGB({0, 12, 1, 7, 1});
    Transaction innermost = gen1->transaction();
    undone.rollback();
    EXPECT_FALSE(innermost.active()) << "ended with its enclosing scope";
    EXPECT_TRUE(outer.commit());
    EXPECT_EQ(queryRows(kGen1, "SELECT keyvalue FROM t_keyrgbdata"), (Rows{{"5"}, {"6"}}));
}

// Another program holding the write lock of a database file until it is released.
class LockHolder {
  public:
    explicit LockHolder(const std::string& file) {
        process_.start(QStringLiteral(KEYLOOM_LOCK_HOLDER), {QString::fromStdString(databasePath(file))});
        held_ = process_.waitForStarted() && readLine() == "held";
    }
    ~LockHolder() {
        release(0);
        process_.waitForFinished();
    }
    bool held() const { return held_; }
    // The lock goes `ms` milliseconds from now; returns at once.
    void release(int ms) {
        if (std::exchange(released_, true)) return;
        process_.write(QByteArray::fromStdString("release " + std::to_string(ms) + "\n"));
        process_.waitForBytesWritten();
    }

  private:
    std::string readLine() {
        while (!process_.canReadLine() && process_.waitForReadyRead(10000)) {
        }
        return process_.readLine().trimmed().toStdString();
    }
    QProcess process_;
    bool held_ = false;
    bool released_ = false;
};

// Every connection opened while it lives can never grow its file beyond the pages it has: a full disk.
class FileCannotGrow {
  public:
    FileCannotGrow() { sqlite3_auto_extension(reinterpret_cast<void (*)()>(&limit)); }
    ~FileCannotGrow() { sqlite3_cancel_auto_extension(reinterpret_cast<void (*)()>(&limit)); }

  private:
    static int limit(sqlite3* db, const char**, const sqlite3_api_routines*) {
        // At least the pages the file has now: no more.
        return sqlite3_exec(db, "PRAGMA max_page_count = 1", nullptr, nullptr, nullptr);
    }
};

// One user action: 300 colours with a key assignment half-way. `fault` is made before the store opens and lives for
// the whole action.
struct FailedAction {
    const char* kind;
    std::function<std::shared_ptr<void>()> fault;
    StoreFailure why;
};

const FailedAction kFailedActions[] = {
    {"a pair fails (its statement is undone, the action goes on)",
     [] { return execSql(kGen1, failInsertsOn("t_keyprofile")), std::shared_ptr<void>(); }, StoreFailure::Other},
    {"SQLite ends the transaction by itself",
     [] { return execSql(kGen1, failInsertsOn("t_keyprofile", "", "ROLLBACK")), std::shared_ptr<void>(); },
     StoreFailure::Other},
    {"another program holds the write lock",
     [] {
         auto lock = std::make_shared<LockHolder>(kGen1);
         EXPECT_TRUE(lock->held());
         return std::shared_ptr<void>(lock);
     },
     StoreFailure::Busy},
    {"the file cannot grow", [] { return std::make_shared<FileCannotGrow>(); }, StoreFailure::DiskFull},
};

void storeColours(DeviceSQLite& db, int64_t first, int64_t count) {
    for (int64_t key = first; key < first + count; ++key) db.insertKeyRGB({0, 12, 1, key, 0x123456});
}

TEST_F(UserAction, FailsWholeAndQuickly) {
    ASSERT_EQ(gen1->addKeyProfile({.profId = 1, .keyValue = 4, .macroValue = 1}), 1);
    gen1->insertKeyRGB({0, 12, 1, 1000, 1});
    for (const FailedAction& c : kFailedActions) {
        SCOPED_TRACE(c.kind);
        std::shared_ptr<void> fault = c.fault();
        std::unique_ptr<DeviceSQLite> db;
        EXPECT_EQ(printed([&] { db = std::make_unique<DeviceSQLite>(kGen1); }),
                  "createTable success / init: connect success");
        const auto start = std::chrono::steady_clock::now();
        Transaction action = db->transaction();
        storeColours(*db, 1, 150);
        db->addKeyProfile({.profId = 1, .keyValue = 4, .macroValue = 2});
        storeColours(*db, 151, 150);
        EXPECT_TRUE(action.active()) << "a failed action is still open until it ends, so that it is committed";
        std::string error;
        EXPECT_FALSE(action.commit(&error));
        EXPECT_FALSE(error.empty());
        EXPECT_EQ(db->writeFailure(), c.why);
        // Each of the 300 writes waiting for the lock would stall the window for seconds.
        EXPECT_LT(std::chrono::steady_clock::now() - start,
                  std::chrono::milliseconds(20 * SQLiteConnection::kBusyTimeoutMs));
        fault.reset();
        execSql(kGen1, "DROP TRIGGER IF EXISTS fail_t_keyprofile");
        EXPECT_EQ(colourRows(), "1") << "nothing of the action is kept";
        EXPECT_EQ(queryRows(kGen1, "SELECT macroValue FROM t_keyprofile"), (Rows{{"1"}}));
        db->insertKeyRGB({0, 12, 1, 1001, 1});
        EXPECT_EQ(colourRows(), "2") << "writing goes on after the failed action";
        EXPECT_EQ(db->writeFailure(), StoreFailure::None);
        execSql(kGen1, "DELETE FROM t_keyrgbdata WHERE keyvalue = 1001");
    }
}

TEST_F(UserAction, WaitsForALockReleasedWithinTheBusyTimeout) {
    LockHolder other(kGen1);
    ASSERT_TRUE(other.held());
    other.release(SQLiteConnection::kBusyTimeoutMs / 5);
    Transaction action = gen1->transaction();
    storeColours(*gen1, 1, 300);
    std::string error;
    EXPECT_TRUE(action.commit(&error)) << error;
    EXPECT_EQ(colourRows(), "300");
}

// Why a write did not reach the file, outside an action too; the operations' own answers stay as they were.
TEST_F(UserAction, WriteFailureSaysWhy) {
    namespace fs = std::filesystem;
    const auto assignment = [](DeviceSQLite& db) {
        return db.addKeyProfile({.profId = 1, .keyValue = 4, .macroValue = 2});
    };
    EXPECT_EQ(gen1->writeFailure(), StoreFailure::None);
    {
        LockHolder other(kGen1);
        ASSERT_TRUE(other.held());
        EXPECT_EQ(assignment(*gen1), 0);
        EXPECT_EQ(gen1->writeFailure(), StoreFailure::Busy) << "a single operation is an action of its own";
        EXPECT_EQ(gen1->getConfigData(1, "reportRate"), "2") << "reads go on";
        EXPECT_EQ(gen1->writeFailure(), StoreFailure::None) << "and say nothing failed";
    }
    EXPECT_EQ(assignment(*gen1), 1);
    EXPECT_EQ(gen1->writeFailure(), StoreFailure::None);
    EXPECT_FALSE(gen1->isReadOnly());

    fs::permissions(databasePath(kGen1), fs::perms::owner_read);
    std::unique_ptr<DeviceSQLite> readOnly;
    printed([&] { readOnly = std::make_unique<DeviceSQLite>(kGen1); });
    EXPECT_TRUE(readOnly->isReadOnly());
    EXPECT_FALSE(readOnly->updateConfigData(1, "reportRate", "4"));
    EXPECT_EQ(readOnly->writeFailure(), StoreFailure::ReadOnly);
    fs::permissions(databasePath(kGen1), fs::perms::owner_read | fs::perms::owner_write);

    TempDataHome elsewhere;
    fs::create_directories(applicationSupportFolder());
    std::ofstream(databaseFolder()) << "not a folder";
    std::unique_ptr<DeviceSQLite> none;
    printed([&] { none = std::make_unique<DeviceSQLite>(kGen1); });
    EXPECT_TRUE(none->updateConfigData(1, "reportRate", "4")) << "the no-connection answer is kept";
    EXPECT_EQ(none->writeFailure(), StoreFailure::NoDatabase);
    EXPECT_FALSE(none->isReadOnly());
}

}  // namespace
}  // namespace keyloom
