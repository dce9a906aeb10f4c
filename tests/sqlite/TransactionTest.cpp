#include <gtest/gtest.h>

#include <fstream>

#include "SQLite/LocalSQLite.h"
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

// The database header's change counter: one more with every committed write transaction.
uint32_t changeCounter() {
    std::ifstream file(databasePath(kGen1), std::ios::binary);
    unsigned char header[28] = {};
    file.read(reinterpret_cast<char*>(header), sizeof header);
    return (uint32_t(header[24]) << 24) | (uint32_t(header[25]) << 16) | (uint32_t(header[26]) << 8) | header[27];
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

TEST_F(UserAction, AFailedPairInsideAnAction) {
    ASSERT_EQ(gen1->addKeyProfile({.profId = 1, .keyValue = 4, .macroValue = 1}), 1);
    // ABORT undoes only the pair; ROLLBACK ends the whole transaction, and its commit reports that.
    for (const std::string raise : {"ABORT", "ROLLBACK"}) {
        SCOPED_TRACE(raise);
        execSql(kGen1, "DROP TRIGGER IF EXISTS fail_t_keyprofile;" + failInsertsOn("t_keyprofile", "", raise));
        Transaction action = gen1->transaction();
        gen1->insertKeyRGB({0, 12, 1, raise == "ABORT" ? 4 : 5, 1});
        EXPECT_EQ(gen1->addKeyProfile({.profId = 1, .keyValue = 4, .macroValue = 2}), 0);
        EXPECT_EQ(action.commit(), raise == "ABORT");
        EXPECT_EQ(colourRows(), "1");
        EXPECT_EQ(queryRows(kGen1, "SELECT macroValue FROM t_keyprofile"), (Rows{{"1"}}));
    }
    gen1->insertKeyRGB({0, 12, 1, 6, 1});
    EXPECT_EQ(colourRows(), "2") << "writing goes on after SQLite ended a transaction";
}

}  // namespace
}  // namespace keyloom
