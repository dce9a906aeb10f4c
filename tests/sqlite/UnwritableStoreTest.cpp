#include <SQLiteCpp/Database.h>
#include <gtest/gtest.h>

#include <chrono>
#include <fstream>
#include <functional>
#include <iterator>
#include <memory>
#include <optional>
#include <string>
#include <utility>

#include "SQLite/LocalSQLite.h"
#include "SQLite/SQLiteConnection.h"
#include "StorageTestHelpers.h"
#include "support/WriteLockHolder.h"

namespace keyloom {
namespace {

using namespace keyloom::test;

// One store object, open.
struct Opened {
    // One user action: reads the value, changes it to `value`, commits. What it read, and whether it was kept.
    std::function<std::pair<std::string, bool>(const std::string& value)> act;
    std::function<StoreFailure()> writeFailure;
    std::function<StoreFailure()> writeBlocked;  // empty: the store does not tell
};

struct Store {
    const char* file;
    const char* fresh;  // what a store that had no file reads
    std::function<Opened()> open;
};

template <class Profile>
Store profileStore(const char* file, const char* setting, const char* fresh) {
    return {file, fresh, [=] {
                auto db = std::make_shared<Profile>(file);
                return Opened{[=](const std::string& value) {
                                  // Read inside the action, as the editors do.
                                  Transaction action = db->transaction();
                                  const std::string read = db->getConfigData(1, setting);
                                  db->updateConfigData(1, setting, value);
                                  return std::pair(read, action.commit());
                              },
                              [=] { return db->writeFailure(); }, [=] { return db->writeBlocked(); }};
            }};
}

const Store kStores[] = {
    profileStore<DeviceSQLite>(kGen1, "idleWirelessSleep", "180"),
    profileStore<MarrowinDeviceSQLite>(kGen2, "keyboardLayout", "0"),
    {"local.sqlite3", "",
     [] {
         auto db = std::make_shared<LocalSQLite>();
         return Opened{[=](const std::string& value) {
                           LoginData data;
                           db->getLoginData(data);
                           return std::pair(data.email, db->updateLoginData({0, value, "digest", 1, 0}) != 0);
                       },
                       [=] { return db->writeFailure(); },
                       {}};
     }},
};

struct Way {
    const char* label;
    StoreFailure why;
    bool fileFirst;  // the store's file exists
};
const Way kLocked{"another program's write lock", StoreFailure::Busy, true};
const Way kFullDisk[] = {{"a full disk", StoreFailure::DiskFull, true},
                         {"a full disk, no file yet", StoreFailure::DiskFull, false}};

std::string contents(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), {}};
}

// What a store that cannot be written shows and keeps, then that it is written again once it can be.
// `full`: the full disk, else the lock is taken.
void check(const Way& way, const Store& s, FullDiskHome* full) {
    SCOPED_TRACE(std::string(way.label) + ": " + s.file);
    QuietStdout quiet;
    const std::string path = databasePath(s.file);
    // Made and closed first, so that nothing is left beside it.
    if (way.fileFirst) {
        ASSERT_TRUE(s.open().act("4").second);
    }
    const std::string stored = way.fileFirst ? "4" : s.fresh;
    const std::string before = contents(path);

    std::optional<WriteLockHolder> lock;
    if (full)
        full->fill();
    else
        lock.emplace(path);
    Opened store = s.open();
    const auto start = std::chrono::steady_clock::now();
    EXPECT_EQ(store.act("5"), std::pair(stored, false));
    // One wait for the write lock, none for the write.
    EXPECT_LT(std::chrono::steady_clock::now() - start,
              std::chrono::milliseconds(2 * SQLiteConnection::kBusyTimeoutMs));
    EXPECT_EQ(store.writeFailure(), way.why);
    if (store.writeBlocked) {
        EXPECT_EQ(store.writeBlocked(), way.why);
    }
    EXPECT_EQ(contents(path), before) << "left as it was";

    if (full) {
        store = {};
        full->makeRoom();
        store = s.open();
    }
    lock.reset();
    EXPECT_EQ(store.act("6"), std::pair(stored, true)) << "nothing of the failed action was kept";
    EXPECT_EQ(store.act("6").first, "6");
    EXPECT_EQ(store.writeFailure(), StoreFailure::None);
    if (store.writeBlocked) {
        EXPECT_EQ(store.writeBlocked(), StoreFailure::None);
    }
    EXPECT_EQ(queryRows(s.file, "PRAGMA journal_mode"), Rows{{"wal"}});
}

TEST(UnwritableStore, UnderAnotherProgramsWriteLock) {
    for (const Store& s : kStores) {
        TempDataHome home;
        check(kLocked, s, nullptr);
    }
}

TEST(UnwritableStore, OnAFullDisk) {
    for (const Way& way : kFullDisk) {
        for (const Store& s : kStores) {
            FullDiskHome home;
            SKIP_WITHOUT_FULL_DISK(home);
            check(way, s, &home);
        }
    }
}

}  // namespace
}  // namespace keyloom
