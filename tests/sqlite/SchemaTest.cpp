#include <gmock/gmock.h>
#include <gtest/gtest.h>
#include <unistd.h>

#include <filesystem>
#include <fstream>
#include <iterator>

#include "SQLite/LocalSQLite.h"
#include "StorageTestHelpers.h"
#include "platform/UserFiles.h"

namespace keyloom {
namespace {

using namespace test;

// The file's objects in creation order, each with its columns as PRAGMA table_info gives them: "name" for INTEGER
// NOT NULL, "*" primary key, ":TYPE" other types, "?" nullable.
std::string schema(const std::string& file) {
    std::string out;
    for (const auto& t : queryRows(file, "SELECT type, name FROM sqlite_master ORDER BY rowid")) {
        out += (out.empty() ? "" : " ") + (t[0] == "table" ? "" : t[0] + " ") + t[1] + "(";
        for (const auto& c : queryRows(file, "PRAGMA table_info(" + t[1] + ")"))
            out += (out.back() == '(' ? "" : " ") + c[1] + (c[5] != "0" ? "*" : "") +
                   (c[2] == "INTEGER" ? "" : ":" + c[2]) + (c[3] == "1" ? "" : "?");
        out += ")";
    }
    return out;
}

const std::string kConfig = "t_configdata(keyId* key:TEXT profId value:TEXT) ";
const std::string kColours =
    "t_keyrgbdata(rgbId* radiId profId keyvalue rgbvalue) "
    "t_triggerkey(triggerId* profId layer keyvalue keydesc:TEXT) ";
const std::string kMacro = "macroType macroValue macroDesc:TEXT reserve1 reserve2 reveDesc1:TEXT reveDesc2:TEXT)";

// Settings as profId:key=value, then modes as profId:count:selected.
const std::string kDefaultRows =
    "SELECT group_concat(profId || ':' || key || '=' || value, ' ') || ', modes ' || (SELECT group_concat(m, ' ') "
    "FROM (SELECT profId || ':' || count(*) || ':' || sum(status) m FROM t_radidata GROUP BY profId)) "
    "FROM t_configdata";

struct StoreCase {
    const char* label;
    std::string file;
    std::function<void()> open;
    std::string schema;
    std::string rows;  // default rows
};

const StoreCase kStores[] = {
    {"first", "670046462_device.sqlite3",
     [] {
         DeviceSQLite db(DeviceSQLite::databaseName(0x1A2C, 0xB57E));
         db.writeRadiProfile(1), db.writeRadiProfile(2);
     },
     kConfig + "t_radidata(radiId* profId name:TEXT mode byte3 byte4 byte5 byte6 byte7 layer status) " + kColours +
         "t_keyprofile(keyId* profId keyvalue " + kMacro + " t_knobprofile(knobId* profId layer keyvalue " + kMacro,
     "1:sleepCloseLight=1 1:reportRate=2 1:idleUSBWireSleep=300 1:idleWirelessLight=120 1:idleWirelessSleep=180, "
     "modes 1:12:1 2:12:1"},
    {"second", kGen2,
     [] {
         MarrowinDeviceSQLite db(kGen2);
         db.writeRadiProfile(1), db.writeRadiProfile(2);
     },
     kConfig + "t_radidata(radiId* profId name:TEXT mode colortype byte2 byte3 byte4 byte5 byte6 byte7 status) " +
         kColours + "t_keyprofile(keyId* profId keyvalue macroType macroValue macro2Value macro3Value macroDesc:TEXT)",
     "1:keyboardLayout=0, modes 1:20:1 2:20:1"},
    {"login", "local.sqlite3", [] { LocalSQLite db; }, "t_login(userId* email:TEXT psw:TEXT remember autoLogin)", "0"},
};

const std::string kOpened = "createTable success / init: connect success";

std::string fileBytes(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), {});
}

// Damages a store that exists: its header, or one of its tables' pages.
struct Damage {
    const char* kind;
    std::function<void(const std::string& path)> apply;
};

const Damage kDamages[] = {
    {"not a database", [](const std::string& path) { std::ofstream(path, std::ios::trunc) << std::string(4096, 'x'); }},
    {"a table's page overwritten",
     [](const std::string& path) {
         std::fstream file(path, std::ios::in | std::ios::out | std::ios::binary);
         file.seekp(4096);  // page 2: the first table's
         file << std::string(4096, 'x');
     }},
};

// A new store has its tables, columns and default rows; a damaged one is moved aside and a fresh one made; opening
// it again adds nothing.
TEST(StorageFiles, ADamagedStoreIsMovedAsideAndStartsAfresh) {
    namespace fs = std::filesystem;
    for (const StoreCase& c : kStores) {
        for (const Damage& d : kDamages) {
            SCOPED_TRACE(std::string(c.label) + ", " + d.kind);
            TempDataHome home;
            EXPECT_EQ(printed(c.open), kOpened);
            const std::string path = databasePath(c.file);
            ASSERT_TRUE(std::filesystem::is_regular_file(home.path() + "/com.velkor.keyloom/db/" + c.file));
            d.apply(path);
            const std::string damaged = fileBytes(path);

            EXPECT_THAT(printed(c.open),
                        ::testing::MatchesRegex(c.file + " is damaged \\(.+\\): moved aside to " + c.file +
                                                "\\.damaged-[0-9]{8}-[0-9]{6}, a fresh one is started / "
                                                "createTable success / init: connect success"));
            std::vector<std::string> aside;
            for (const auto& entry : fs::directory_iterator(databaseFolder()))
                if (entry.path().filename().string().starts_with(c.file + ".damaged-"))
                    aside.push_back(entry.path().filename().string());
            ASSERT_EQ(aside.size(), 1u);
            EXPECT_EQ(fileBytes(databaseFolder() + "/" + aside[0]), damaged) << "kept as it was";
            EXPECT_EQ(schema(c.file), c.schema);
            const std::string rows = c.file == "local.sqlite3" ? "SELECT count(*) FROM t_login" : kDefaultRows;
            EXPECT_EQ(queryRows(c.file, rows).at(0).at(0), c.rows) << "the fresh file has its default rows";
            EXPECT_EQ(printed(c.open), kOpened);
            EXPECT_EQ(queryRows(c.file, rows).at(0).at(0), c.rows) << "reopened";
        }
    }
    TempDataHome home;
    printed([] { LocalSQLite(); });
    kDamages[0].apply(databasePath("local.sqlite3"));
    printed([] { LocalSQLite(); });
    EXPECT_EQ(fs::status(databasePath("local.sqlite3")).permissions(), fs::perms::owner_read | fs::perms::owner_write)
        << "the fresh login store is the user's only";
}

// Modes found on the folder and the login store (0: as made), the modes after an open, and what the open printed
// and could do: a log-in stored earlier read back, a new one stored.
struct ModeCase {
    const char* label;
    unsigned folderBefore, fileBefore, folderAfter, fileAfter;
    std::string lines;
    bool stores;
};

const ModeCase kModes[] = {
    {"as made", 0, 0, 0700, 0600, kOpened, true},
    {"left wider", 0755, 0644, 0700, 0600, kOpened, true},
    {"file made read-only", 0755, 0444, 0700, 0400,
     "local.sqlite3 is not writable: changes cannot be stored / " + kOpened, false},
    {"folder made read-only", 0555, 0644, 0500, 0600, ".+/db is not writable: changes cannot be stored / " + kOpened,
     false},
};

TEST(StorageFiles, ModesAreNarrowedNeverWidened) {
    namespace fs = std::filesystem;
    for (const ModeCase& c : kModes) {
        SCOPED_TRACE(c.label);
        TempDataHome home;
        const std::string login = databasePath("local.sqlite3");
        printed([] { LocalSQLite().updateLoginData({0, "a@x", "d", 1, 0}); });
        if (c.fileBefore) fs::permissions(login, fs::perms(c.fileBefore));
        if (c.folderBefore) fs::permissions(databaseFolder(), fs::perms(c.folderBefore));
        LoginData read;
        int64_t stored = 0;
        EXPECT_THAT(printed([&] { EXPECT_TRUE(LocalSQLite().getLoginData(read)); }), ::testing::MatchesRegex(c.lines));
        printed([&] { stored = LocalSQLite().updateLoginData({0, "b@y", "e", 1, 0}); });
        EXPECT_EQ(read.email, "a@x");
        EXPECT_EQ(stored != 0, c.stores) << "a read-only store stays as the user left it";
        EXPECT_EQ(fs::status(databaseFolder()).permissions(), fs::perms(c.folderAfter));
        EXPECT_EQ(fs::status(login).permissions(), fs::perms(c.fileAfter));
    }
}

TEST(StorageFiles, AFolderOrLoginStoreOfAnotherUserIsRefused) {
    namespace fs = std::filesystem;
    {
        // The data folder made by someone else: seen through another user id.
        TempDataHome home;
        fs::create_directories(databaseFolder());
        setDataUserIdForTesting(::geteuid() + 1);
        for (const StoreCase& c : kStores) {
            SCOPED_TRACE(c.label);
            EXPECT_EQ(printed(c.open),
                      "init: connect fail " + applicationSupportFolder() + " is owned by another user");
            EXPECT_FALSE(fs::exists(databasePath(c.file)));
        }
        setDataUserIdForTesting(std::nullopt);
    }
    if (::geteuid() != 0) GTEST_SKIP() << "giving a folder or file to another user needs root";
    // Only the db folder, or only the login store, of another user.
    for (bool folder : {true, false}) {
        TempDataHome home;
        printed([] { LocalSQLite(); });
        const std::string given = folder ? databaseFolder() : databasePath("local.sqlite3");
        ASSERT_EQ(::chown(given.c_str(), 65534, 65534), 0);
        EXPECT_EQ(printed([] { LocalSQLite(); }), "init: connect fail " + given + " is owned by another user");
    }
}

TEST(StorageFiles, NoNameLeadsOutOfTheFolder) {
    TempDataHome home;
    for (const char* name : {"../escape.sqlite3", "", "..", "sub/x.sqlite3"}) {
        SCOPED_TRACE(name);
        EXPECT_THAT(printed([&] { EXPECT_FALSE(DeviceSQLite(name).isConnected()); }),
                    ::testing::StartsWith("init: connect fail "));
    }
}

}  // namespace
}  // namespace keyloom
