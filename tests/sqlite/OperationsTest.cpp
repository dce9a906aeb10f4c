#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <array>
#include <filesystem>
#include <fstream>
#include <optional>

#include "SQLite/LocalSQLite.h"
#include "StorageTestHelpers.h"

namespace keyloom {
namespace {

using namespace test;
using ::testing::ElementsAre;
using Bytes = std::vector<uint8_t>;

// A lighting query's result, buffer and name.
std::string radi(bool ok, const RadiData& r) {
    std::string out = str(ok);
    for (uint8_t b : r.buffer) out += (out.size() == 1 ? " " : ",") + str(b);
    return out + " " + r.name;
}

template <typename Db>
struct Op {
    std::string call;
    std::function<std::string(Db&)> run;
    std::array<std::string, 3> expected;  // connected, no connection, every statement failing
};
// clang-format off
#define OP(call, ...) {#call, [](auto& db) { return str(call); }, {__VA_ARGS__}}
// A query appending to a list that holds one record: its result and the list's size.
#define LIST(Record, call, ...) {#call, [](auto& db) { \
    std::vector<Record> list(1); const bool ok = call; return str(ok) + " " + str(int64_t(list.size())); }, {__VA_ARGS__}}
// A lighting query into a buffer too short for the record: refused, record untouched.
#define SHORT(call) {#call, [](auto& db) { RadiData r{.buffer = Bytes(7, 1)}; return radi(call, r); }, \
    {"0 1,1,1,1,1,1,1 ", "0 1,1,1,1,1,1,1 ", "0 1,1,1,1,1,1,1 "}}
// clang-format on

// The operations run in order on a working store, on one without a connection (a regular file where the db folder
// should be) and on a file damaged after it was opened (every statement fails).
template <typename Db>
void runOps(const std::string& file, const std::vector<Op<Db>>& ops) {
    const char* const opened[] = {"createTable success / init: connect success", "init: connect fail .+",
                                  "createTable success / init: connect success"};
    for (int state = 0; state < 3; ++state) {
        SCOPED_TRACE(opened[state]);
        TempDataHome home;
        std::filesystem::create_directories(state == 1 ? applicationSupportFolder() : databaseFolder());
        if (state == 1) std::ofstream(databaseFolder()) << std::string(4096, 'x');
        std::unique_ptr<Db> db;
        EXPECT_THAT(printed([&] { db = std::make_unique<Db>(file); }), ::testing::MatchesRegex(opened[state]));
        if (state == 2) damageOpenDatabase(databasePath(file));
        for (const Op<Db>& op : ops) {
            SCOPED_TRACE(op.call);
            EXPECT_EQ(op.run(*db), op.expected[state]);
        }
    }
}

TEST(StorageOperations, FirstGeneration) {
    runOps<DeviceSQLite>(
        kGen1, {OP(db.writeRadiProfile(1) && db.writeRadiProfile(2), "1", "1", "0"),
                OP(db.getRadiModeSelectIndex(1), "1", "0", "0"),
                // Without a connection nothing is stored: false, so no caller sends as if it had been.
                OP(db.modifyRadiData(1, 3, {5, 254, 7, 17, 34, 51, 68, 85}), "1", "0", "0"),
                OP(db.modifyRadiData(1, 3, Bytes(7, 1)), "0", "0", "0"),  // too short: nothing written
                OP(db.selectRaidMode(1, 3), "1", "1", "0"),
                OP(db.getRadiModeSelectIndex(1) * 10 + db.getRadiModeSelectIndex(2), "31", "0", "0"),
                // Bytes 0 and 1 stay the caller's, byte 2 is the mode, 3..7 the stored ones.
                {"queryRadiInfo",
                 [](auto& db) {
                     RadiData r{.name = "kept", .buffer = {170, 187, 0, 0, 0, 0, 0, 0}};
                     return radi(db.queryRadiInfo(1, 3, r), r);
                 },
                 {"1 170,187,3,17,34,51,68,85 Radibow", "0 170,187,0,0,0,0,0,0 kept", "0 170,187,0,0,0,0,0,0 kept"}},
                SHORT(db.queryRadiInfo(1, 3, r)),
                OP((db.insertKeyRGB({0, 12, 1, 4, 0xFF0000}), 0), "0", "0", "0"),
                LIST(RGBData, db.queryKeyRGB(1, list), "1 2", "0 1", "0 1"),
                OP(db.updateConfigData(1, "reportRate", "8"), "1", "1", "0"),
                OP(db.getConfigData(1, "reportRate"), "8", "", ""),
                OP(db.addKeyProfile({.profId = 1, .keyValue = 4, .macroValue = 5}), "1", "0", "0"),
                OP(db.addKnobProfile({.profId = 1, .keyValue = 250, .macroValue = 3}), "1", "0", "0"),
                LIST(KeyMacro, db.queryKeyProfile(1, 4, list), "1 2", "0 1", "0 1"),
                LIST(KeyMacro, db.queryKeyMacroFromProfile(1, list), "1 2", "0 1", "0 1"),
                LIST(KeyMacro, db.queryKnobProfile(1, 250, list), "1 2", "0 1", "0 1"),
                LIST(KeyMacro, db.queryKnobMacroFromProfile(1, list), "1 2", "0 1", "0 1"),
                OP(db.addKeyProfile({.keyValue = 4}), "1", "1", "0"),
                OP(db.addKnobProfile({.keyValue = 250}), "1", "1", "0"),
                OP(db.transaction().commit(), "1", "0", "0")});
}

TEST(StorageOperations, SecondGeneration) {
    runOps<MarrowinDeviceSQLite>(
        kGen2, {OP(db.writeRadiProfile(1), "1", "1", "0"),
                OP(db.getRadiModeSelectIndex(1), "1", "0", "0"),
                OP(db.modifyRadiData(1, 4, {9, 0, 10, 20, 30, 2, 7, 3, 0xEE}), "1", "1", "0"),
                OP(db.modifyRadiData(1, 4, Bytes(7, 1)), "0", "0", "0"),  // too short: nothing written
                OP(db.selectRaidMode(1, 4), "1", "1", "0"),
                // Byte 0 is the mode, 1..7 the stored ones; the caller's bytes after them stay.
                {"queryRadiInfo",
                 [](auto& db) {
                     RadiData r{.name = "kept", .buffer = Bytes(10, 204)};
                     return radi(db.queryRadiInfo(1, 4, r), r);
                 },
                 {"1 4,0,10,20,30,2,7,3,204,204 Glittering", "0 204,204,204,204,204,204,204,204,204,204 kept",
                  "0 204,204,204,204,204,204,204,204,204,204 kept"}},
                SHORT(db.queryRadiInfo(1, 4, r)),
                LIST(RadiData, db.queryRadiProfile(1, list), "1 21", "0 1", "0 1"),
                OP((db.insertKeyRGB({0, 12, 1, 4, 0xFF0000}), 0), "0", "0", "0"),
                LIST(RGBData, db.queryKeyRGB(1, list), "1 2", "0 1", "0 1"),
                OP(db.updateConfigData(1, "keyboardLayout", "3"), "1", "1", "0"),
                OP(db.getConfigData(1, "keyboardLayout"), "3", "", ""),
                OP(db.addKeyProfile({.profId = 1, .keyValue = 4, .macroValue = 5}), "1", "0", "0"),
                LIST(MarrowinKey, db.queryKeyProfile(1, 4, list), "1 2", "0 1", "0 1"),
                LIST(MarrowinKey, db.queryKeysProfile(1, list), "1 2", "0 1", "0 1"),
                LIST(MarrowinKey, db.queryKeyMacroFromProfile(1, list), "1 2", "0 1", "0 1"),
                OP(db.addKeyProfile({.keyValue = 4}), "1", "1", "0"),
                OP(db.transaction().commit(), "1", "0", "0")});
}

// Stores `data`, or reads without it: the result, the record read and the printed lines.
std::string login(LocalSQLite& db, std::optional<LoginData> store = {}) {
    LoginData data{5, "kept@x", "", 0, 0};
    std::string out;
    const std::string lines = printed([&] { out = str(store ? db.updateLoginData(*store) : db.getLoginData(data)); });
    if (!store) out += " " + str(data.userId) + " " + data.email + " " + data.psw + " " + str(data.remember);
    return lines.empty() ? out : out + " / " + lines;
}

struct Login : LocalSQLite {
    explicit Login(const std::string&) {}
};

// One row only, and no digest stored when "remember" is off.
TEST(StorageOperations, LoginStore) {
    const std::string readFailed = " / getLoginData  fail file is not a database";
    const std::string storeFailed = "0 / insertRow  fail file is not a database";
    runOps<Login>("local.sqlite3", {OP(login(db), "0 5 kept@x  0", "0 5 kept@x  0", "0 5 kept@x  0" + readFailed),
                                    OP(login(db, LoginData{7, "a@x", "d1", 1, 0}), "1 / 1", "0 / 0", storeFailed),
                                    OP(login(db), "1 1 a@x d1 1", "0 5 kept@x  0", "0 5 kept@x  0" + readFailed),
                                    OP(login(db, LoginData{0, "b@y", "d2", 0, 0}), "1 / 1", "0 / 0", storeFailed),
                                    OP(login(db), "1 1 b@y  0", "0 5 kept@x  0", "0 5 kept@x  0" + readFailed)});
}

TEST_F(Stored, StoredValuesOutsideAByteAreClamped) {
    // Only an outside writer stores such values.
    execSql(kGen1, "UPDATE t_radidata SET byte3 = 300, byte4 = -5, byte5 = 256 WHERE mode = 2");
    execSql(kGen2, "UPDATE t_radidata SET colortype = 999, byte7 = -1 WHERE mode = 2");
    RadiData first, second;
    std::vector<RadiData> all;
    ASSERT_TRUE(gen1->queryRadiInfo(1, 2, first) && gen2->queryRadiInfo(1, 2, second));
    ASSERT_TRUE(gen2->queryRadiProfile(1, all));
    EXPECT_EQ(first.buffer, (Bytes{0, 0, 2, 255, 0, 255, 0, 0}));
    EXPECT_EQ(second.buffer, (Bytes{2, 255, 255, 225, 0, 0, 15, 0}));
    EXPECT_EQ(all.at(1).buffer, second.buffer);
}

TEST_F(Stored, OneRowPerKeyAcrossProfilesWithReusedRowIds) {
    gen1->insertKeyRGB({0, 12, 1, 4, 0xFF0000});
    gen1->insertKeyRGB({0, 12, 1, 5, 0x0000FF});
    gen1->insertKeyRGB({77, 20, 2, 4, 0x00FF00});
    gen1->insertKeyRGB({0, 12, 1, 0, 0x123456});  // key 0: nothing
    gen1->insertKeyRGB({0, 12, 1, 6, 0});         // black only removes
    EXPECT_EQ(queryRows(kGen1, "SELECT * FROM t_keyrgbdata ORDER BY rgbId"),
              (Rows{{"2", "12", "1", "5", "255"}, {"3", "20", "2", "4", "65280"}}));

    EXPECT_EQ(gen1->addKeyProfile({.profId = 1, .keyValue = 250, .macroValue = 5}), 1);
    EXPECT_EQ(gen1->addKeyProfile({.profId = 2, .keyValue = 250, .macroValue = 6}), 1) << "max rowid + 1";
    EXPECT_EQ(gen1->addKeyProfile({.profId = 1, .keyValue = 251, .macroValue = 7}), 2);
    EXPECT_EQ(gen1->addKeyProfile({.profId = 1, .keyValue = 0, .macroValue = 7}), 0);
    EXPECT_EQ(gen1->addKeyProfile({.keyValue = 251}), 1);
    EXPECT_EQ(queryRows(kGen1, "SELECT keyId, profId, keyvalue, macroValue FROM t_keyprofile"),
              (Rows{{"1", "2", "250", "6"}}));
}

// Texts go in and come out literally; every field of a record comes back in its place.
TEST_F(Stored, KeysAndTextsAreNeverSql) {
    const Rows schema = queryRows(kGen1, "SELECT * FROM sqlite_master");
    for (const std::string t : {"' OR '1'='1", "\"); DROP TABLE t_configdata; --"}) {
        SCOPED_TRACE(t);
        const Rows settings = queryRows(kGen1, "SELECT * FROM t_configdata");
        EXPECT_TRUE(gen1->updateConfigData(1, "reportRate" + t, "9"));
        EXPECT_EQ(gen1->getConfigData(1, "reportRate" + t), "");
        EXPECT_EQ(queryRows(kGen1, "SELECT * FROM t_configdata"), settings);
        EXPECT_TRUE(gen1->updateConfigData(1, "reportRate", t));
        EXPECT_EQ(gen1->getConfigData(1, "reportRate"), t);

        ASSERT_EQ(gen1->addKeyProfile({11, 3, 1, 4, 6, 0x0102, t, 7, 8, t + "1", t + "2"}), 1);
        ASSERT_EQ(gen1->addKnobProfile({0, 1, 1, 252, 7, 3, t, 2, 5, "a", "b"}), 1);
        ASSERT_EQ(gen2->addKeyProfile({9, 5, 1, 4, 3, 0x05, 0xE1, 0x7, t}), 1);
        std::vector<KeyMacro> keys, knobs;
        std::vector<MarrowinKey> keys2;
        ASSERT_TRUE(gen1->queryKeyProfile(1, 4, keys) && gen1->queryKnobProfile(1, 252, knobs));
        ASSERT_TRUE(gen2->queryKeyProfile(1, 4, keys2));
        // Row ids come from the table; only knobs store a layer.
        EXPECT_THAT(keys, ElementsAre(KeyMacro{1, 0, 1, 4, 6, 0x0102, t, 7, 8, t + "1", t + "2"}));
        EXPECT_THAT(knobs, ElementsAre(KeyMacro{1, 1, 1, 252, 7, 3, t, 2, 5, "a", "b"}));
        EXPECT_THAT(keys2, ElementsAre(MarrowinKey{1, 0, 1, 4, 3, 0x05, 0xE1, 0x7, t}));
    }
    EXPECT_EQ(queryRows(kGen1, "SELECT * FROM sqlite_master"), schema);
}

TEST(LoginStore, ATableWithoutTheColumnsIsAnError) {
    TempDataHome home;
    printed([] { LocalSQLite db; });
    // Not the quoted column names read as texts.
    execSql("local.sqlite3", "DROP TABLE t_login; CREATE VIEW t_login AS SELECT 1 AS userId");
    LoginData data;
    EXPECT_THAT(printed([&] { EXPECT_FALSE(LocalSQLite().getLoginData(data)); }),
                ::testing::HasSubstr("getLoginData  fail "));
}

}  // namespace
}  // namespace keyloom
