#include <SQLiteCpp/Database.h>
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <functional>
#include <memory>
#include <optional>
#include <string>

#include "SQLite/LocalSQLite.h"
#include "StorageTestHelpers.h"

namespace keyloom {
namespace {

using namespace keyloom::test;
namespace fs = std::filesystem;

// One of the three stores: a value stored through an object of its own, and read back through another. Both print
// the stores' lines.
struct Store {
    const char* file;
    // Sets the value read back to "9", in SQL.
    std::string unfinishedChange;
    // Stores `value`; `whileOpen` runs before the object closes, while the change is still in its log.
    std::function<bool(const std::string& value, const std::function<void()>& whileOpen)> store;
    // The stored value; empty when none can be read.
    std::function<std::string()> read;
};

template <class Profile>
Store profileStore(const char* file, const char* setting) {
    return {file, std::string(R"(UPDATE t_configdata SET value = '9' WHERE key = ')") + setting + "'",
            [=](const std::string& value, const std::function<void()>& whileOpen) {
                Profile profile(file);
                const bool stored = profile.updateConfigData(1, setting, value);
                whileOpen();
                return stored;
            },
            [=] {
                // Inside a user action, as the editors read what they show.
                Profile profile(file);
                Transaction action = profile.transaction();
                return profile.getConfigData(1, setting);
            }};
}

const Store kStores[] = {
    profileStore<DeviceSQLite>(kGen1, "reportRate"),
    profileStore<MarrowinDeviceSQLite>(kGen2, "keyboardLayout"),
    {"local.sqlite3", "UPDATE t_login SET email = '9'",
     [](const std::string& value, const std::function<void()>& whileOpen) {
         LocalSQLite login;
         const int64_t row = login.updateLoginData({0, value, "digest", 1, 0});
         whileOpen();
         return row != 0;
     },
     [] {
         LoginData data;
         LocalSQLite().getLoginData(data);
         return data.email;
     }},
};

// What was left beside the stored value before the user took write access away.
enum class Left { Nothing, ChangesInLog, HalfWrittenCommit, Damage, NoFile };

struct ReadOnlyCase {
    const char* label;
    Left left;
    bool fileOnly;     // the file made read-only, not its folder
    bool readsStored;  // what was stored is read back
    // The data folder's name, inside the temporary home; characters that mean something in a URI.
    const char* dataFolder = "";
};

const ReadOnlyCase kCases[] = {
    {"folder made read-only", Left::Nothing, false, true},
    {"folder made read-only, named with URI characters", Left::Nothing, false, true, "/a?b=1#c%41 d"},
    {"file made read-only", Left::Nothing, true, true},
    {"changes left in the log by a program that stopped", Left::ChangesInLog, false, true},
    {"a commit left half-written by a program that stopped", Left::HalfWrittenCommit, false, true},
    {"a damaged file", Left::Damage, false, false},
    {"no file yet", Left::NoFile, false, false},
};

const char* const kCompanions[] = {"-wal", "-shm", "-journal"};

void removeWithCompanions(const std::string& path) {
    fs::remove(path);
    for (const char* companion : kCompanions) fs::remove(path + companion);
}

// Copies the file and whatever lies beside it into `to`, as a program that stops now leaves them.
void copyAsStopped(const std::string& path, const std::string& to) {
    fs::create_directories(to);
    const auto copy = [&](const std::string& file) {
        if (fs::exists(file)) fs::copy_file(file, to + "/" + fs::path(file).filename().string());
    };
    copy(path);
    for (const char* companion : kCompanions) copy(path + companion);
}

void putBack(const std::string& from, const std::string& path) {
    removeWithCompanions(path);
    for (const auto& entry : fs::directory_iterator(from))
        fs::copy_file(entry.path(), fs::path(path).parent_path() / entry.path().filename());
}

// A rollback-mode commit that stopped after writing some of its pages, the changed value among them: the file shows
// the unfinished value until its journal is played back.
void leaveHalfWrittenCommit(const std::string& path, const std::string& scratch, const std::string& change) {
    SQLite::Database db(path, SQLite::OPEN_READWRITE);
    db.exec("PRAGMA journal_mode=DELETE");
    db.exec("PRAGMA cache_size=1");  // so that the transaction spills its pages into the file before it commits
    db.exec("BEGIN");
    db.exec(change);  // first, so that the filler pushes its page out
    db.exec("CREATE TABLE filler(x)");
    db.exec(
        "WITH RECURSIVE n(i) AS (SELECT 1 UNION ALL SELECT i + 1 FROM n WHERE i < 50) "
        "INSERT INTO filler SELECT randomblob(2000) FROM n");
    copyAsStopped(path, scratch);
    db.exec("ROLLBACK");
}

// The value a call gives back, with what it printed left out of the test's output.
std::string quietly(const std::function<std::string()>& call, std::string* lines = nullptr) {
    std::string value;
    const std::string out = printed([&] { value = call(); });
    if (lines) *lines = out;
    return value;
}
bool quietly(
    const Store& s, const std::string& value, const std::function<void()>& whileOpen = [] {}) {
    return quietly([&] { return s.store(value, whileOpen) ? std::string("stored") : std::string(); }) == "stored";
}

// A file or folder the user made read-only is read as it is: what was stored is shown, a change is refused, and
// nothing in the folder is created or changed, for root too. Once writable again, it is written as before.
TEST(ReadOnlyStore, IsReadAsStoredAndLeftAsItWas) {
    for (const ReadOnlyCase& c : kCases) {
        for (const Store& s : kStores) {
            SCOPED_TRACE(std::string(c.label) + ": " + s.file);
            TempDataHome home;
            setenv("XDG_DATA_HOME", (home.path() + c.dataFolder).c_str(), 1);
            const std::string path = databasePath(s.file);
            const std::string stopped = home.path() + "/stopped";
            ASSERT_TRUE(quietly(s, "4", [&] {
                if (c.left == Left::ChangesInLog) copyAsStopped(path, stopped);
            }));
            if (c.left == Left::ChangesInLog) {
                ASSERT_GT(fs::file_size(stopped + "/" + s.file + "-wal"), 0u) << "the change is in the log only";
                putBack(stopped, path);
            }
            if (c.left == Left::HalfWrittenCommit) {
                leaveHalfWrittenCommit(path, stopped, s.unfinishedChange);
                ASSERT_GT(fs::file_size(stopped + "/" + s.file + "-journal"), 0u);
                putBack(stopped, path);
            }
            if (c.left == Left::Damage) std::ofstream(path, std::ios::trunc) << std::string(4096, 'x');
            if (c.left == Left::NoFile) removeWithCompanions(path);
            {
                std::optional<ReadOnlyFolder> folder;
                if (c.fileOnly)
                    fs::permissions(path, fs::perms::owner_read);
                else
                    folder.emplace(databaseFolder());
                const auto before = folderState(databaseFolder());
                std::string lines;
                const std::string read = quietly(s.read, &lines);
                EXPECT_EQ(read, c.readsStored ? "4" : "");
                EXPECT_EQ(lines.find("left as it is") != std::string::npos, c.left == Left::Damage) << lines;
                quietly(s, "5");
                EXPECT_EQ(quietly(s.read), read) << "a change is refused";
                EXPECT_EQ(folderState(databaseFolder()), before);
                if (c.fileOnly) fs::permissions(path, fs::perms::owner_read | fs::perms::owner_write);
            }
            EXPECT_TRUE(quietly(s, "6"));
            EXPECT_EQ(quietly(s.read), "6");
            EXPECT_EQ(queryRows(s.file, "PRAGMA journal_mode"), Rows{{"wal"}});
        }
    }
}

}  // namespace
}  // namespace keyloom
