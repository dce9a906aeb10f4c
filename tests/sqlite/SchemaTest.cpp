#include <gmock/gmock.h>
#include <gtest/gtest.h>
#include <sys/stat.h>

#include <filesystem>
#include <fstream>

#include "SQLite/DeviceSQLite.h"
#include "SQLite/LocalSQLite.h"
#include "SQLite/MarrowinDeviceSQLite.h"
#include "StorageTestHelpers.h"
#include "platform/DataPaths.h"
#include "support/TestSupport.h"

namespace keyloom {
namespace {

using test::ColumnInfo;
using ::testing::ElementsAre;
using ::testing::IsEmpty;
using ::testing::SizeIs;
using ::testing::StartsWith;
using Rows = std::vector<std::vector<std::string>>;

const char* kGen1 = "670046462_device.sqlite3";
const char* kGen2 = "vindle_device.sqlite3";

ColumnInfo key(const std::string& name) {
    return {name, "INTEGER", true, true};
}
ColumnInfo integer(const std::string& name) {
    return {name, "INTEGER", true, false};
}
ColumnInfo text(const std::string& name) {
    return {name, "TEXT", true, false};
}

struct TableSchema {
    std::string table;
    std::vector<ColumnInfo> columns;
};

const std::vector<ColumnInfo> kConfig = {key("keyId"), text("key"), integer("profId"), text("value")};
const std::vector<ColumnInfo> kKeyRgb = {key("rgbId"), integer("radiId"), integer("profId"), integer("keyvalue"),
                                         integer("rgbvalue")};
const std::vector<ColumnInfo> kTrigger = {key("triggerId"), integer("profId"), integer("layer"), integer("keyvalue"),
                                          text("keydesc")};

const std::vector<TableSchema> kGen1Tables = {
    {"t_configdata", kConfig},
    {"t_radidata",
     {key("radiId"), integer("profId"), text("name"), integer("mode"), integer("byte3"), integer("byte4"),
      integer("byte5"), integer("byte6"), integer("byte7"), integer("layer"), integer("status")}},
    {"t_keyrgbdata", kKeyRgb},
    {"t_triggerkey", kTrigger},
    {"t_keyprofile",
     {key("keyId"), integer("profId"), integer("keyvalue"), integer("macroType"), integer("macroValue"),
      text("macroDesc"), integer("reserve1"), integer("reserve2"), text("reveDesc1"), text("reveDesc2")}},
    {"t_knobprofile",
     {key("knobId"), integer("profId"), integer("layer"), integer("keyvalue"), integer("macroType"),
      integer("macroValue"), text("macroDesc"), integer("reserve1"), integer("reserve2"), text("reveDesc1"),
      text("reveDesc2")}},
};

const std::vector<TableSchema> kGen2Tables = {
    {"t_configdata", kConfig},
    {"t_radidata",
     {key("radiId"), integer("profId"), text("name"), integer("mode"), integer("colortype"), integer("byte2"),
      integer("byte3"), integer("byte4"), integer("byte5"), integer("byte6"), integer("byte7"), integer("status")}},
    {"t_keyrgbdata", kKeyRgb},
    {"t_triggerkey", kTrigger},
    {"t_keyprofile",
     {key("keyId"), integer("profId"), integer("keyvalue"), integer("macroType"), integer("macroValue"),
      integer("macro2Value"), integer("macro3Value"), text("macroDesc")}},
};

const std::vector<TableSchema> kLoginTables = {
    {"t_login", {key("userId"), text("email"), text("psw"), integer("remember"), integer("autoLogin")}},
};

struct SchemaCase {
    const char* label;
    std::string file;
    std::function<void()> open;
    std::vector<TableSchema> tables;
};

class SchemaTest : public ::testing::TestWithParam<SchemaCase> {
  protected:
    test::TempDataHome home;
};

TEST_P(SchemaTest, CreatesExactlyTheTablesInOrderAndPrintsSuccess) {
    const SchemaCase& c = GetParam();
    EXPECT_THAT(test::capturedLines(c.open), ElementsAre("createTable success", "init: connect success"));
    ASSERT_TRUE(std::filesystem::is_regular_file(home.path() + "/com.velkor.keyloom/db/" + c.file));

    Rows objects = test::queryRows(c.file, "SELECT type, name FROM sqlite_master ORDER BY rowid");
    ASSERT_THAT(objects, SizeIs(c.tables.size())) << "no indexes, no extra tables";
    for (size_t i = 0; i < c.tables.size(); ++i) {
        SCOPED_TRACE(c.tables[i].table);
        EXPECT_EQ(objects[i], (std::vector<std::string>{"table", c.tables[i].table})) << "creation order";
        EXPECT_EQ(test::tableInfo(c.file, c.tables[i].table), c.tables[i].columns);
    }

    // Reopening changes nothing and prints the same lines.
    const Rows before = test::queryRows(c.file, "SELECT * FROM sqlite_master");
    EXPECT_THAT(test::capturedLines(c.open), ElementsAre("createTable success", "init: connect success"));
    EXPECT_EQ(test::queryRows(c.file, "SELECT * FROM sqlite_master"), before);
}

INSTANTIATE_TEST_SUITE_P(AllStores, SchemaTest,
                         ::testing::Values(SchemaCase{"first", kGen1, [] { DeviceSQLite db(kGen1); }, kGen1Tables},
                                           SchemaCase{"second", kGen2, [] { MarrowinDeviceSQLite db(kGen2); },
                                                      kGen2Tables},
                                           SchemaCase{"login", "local.sqlite3", [] { LocalSQLite db; }, kLoginTables}),
                         [](const auto& info) { return std::string(info.param.label); });

class DefaultsTest : public ::testing::Test {
  protected:
    test::TempDataHome home;
};

TEST_F(DefaultsTest, FirstGenerationSettingsOnceForProfileOne) {
    { DeviceSQLite db(kGen1); }
    { DeviceSQLite again(kGen1); }
    EXPECT_EQ(test::queryRows(kGen1, "SELECT * FROM t_configdata ORDER BY keyId"),
              (Rows{{"1", "sleepCloseLight", "1", "1"},
                    {"2", "reportRate", "1", "2"},
                    {"3", "idleUSBWireSleep", "1", "300"},
                    {"4", "idleWirelessLight", "1", "120"},
                    {"5", "idleWirelessSleep", "1", "180"}}));
}

TEST_F(DefaultsTest, SecondGenerationSettingOnceForProfileOne) {
    { MarrowinDeviceSQLite db(kGen2); }
    { MarrowinDeviceSQLite again(kGen2); }
    EXPECT_EQ(test::queryRows(kGen2, "SELECT * FROM t_configdata"), (Rows{{"1", "keyboardLayout", "1", "0"}}));
}

TEST_F(DefaultsTest, AnySettingsRowBlocksTheDefaults) {
    { DeviceSQLite db(kGen1); }
    test::execSql(kGen1,
                  "DELETE FROM t_configdata; INSERT INTO t_configdata (key, profId, value) VALUES ('x', 2, 'y')");
    DeviceSQLite db(kGen1);
    EXPECT_EQ(test::queryInt(kGen1, "SELECT count(*) FROM t_configdata"), 1);
    EXPECT_EQ(db.getConfigData(1, "reportRate"), "");
}

TEST_F(DefaultsTest, FirstGenerationModesOfAProfile) {
    DeviceSQLite db(kGen1);
    EXPECT_TRUE(db.writeRadiProfile(1));
    EXPECT_EQ(test::queryRows(kGen1,
                              "SELECT radiId, profId, name, mode, byte3, byte4, byte5, byte6, byte7, layer, "
                              "status FROM t_radidata ORDER BY radiId"),
              (Rows{{"1", "1", "Static", "1", "143", "255", "225", "0", "0", "0", "1"},
                    {"2", "1", "Spectrum", "2", "47", "0", "0", "0", "0", "0", "0"},
                    {"3", "1", "Radibow", "3", "47", "1", "0", "0", "0", "0", "0"},
                    {"4", "1", "Power Gauge", "4", "47", "0", "0", "0", "0", "0", "0"},
                    {"5", "1", "Breathing", "5", "47", "255", "225", "0", "0", "0", "0"},
                    {"6", "1", "Twinkling Stars", "6", "47", "255", "225", "0", "0", "0", "0"},
                    {"7", "1", "Reactive", "7", "47", "255", "225", "0", "0", "0", "0"},
                    {"8", "1", "Marquee", "8", "47", "0", "0", "0", "0", "0", "0"},
                    {"9", "1", "Aurora", "9", "47", "255", "225", "0", "0", "0", "0"},
                    {"10", "1", "Icey Fire", "10", "47", "0", "255", "225", "0", "0", "0"},
                    {"11", "1", "Fn", "11", "48", "0", "255", "225", "0", "0", "0"},
                    {"12", "1", "Custom", "12", "15", "0", "0", "0", "0", "0", "0"}}));
    EXPECT_TRUE(db.writeRadiProfile(1));
    EXPECT_EQ(test::queryInt(kGen1, "SELECT count(*) FROM t_radidata"), 12);
    EXPECT_TRUE(db.writeRadiProfile(2));
    EXPECT_EQ(test::queryInt(kGen1, "SELECT count(*) FROM t_radidata WHERE profId = 2"), 12);
}

TEST_F(DefaultsTest, SecondGenerationModesOfAProfile) {
    MarrowinDeviceSQLite db(kGen2);
    EXPECT_TRUE(db.writeRadiProfile(1));
    const Rows rows = test::queryRows(kGen2, "SELECT * FROM t_radidata ORDER BY radiId");
    const std::vector<std::string> names = {"Static",    "SingleOn",  "SingleOff", "Glittering", "Falling",
                                            "Colourful", "Breath",    "Spectrum",  "Outward",    "Scrolling",
                                            "Rolling",   "Rotating",  "Explode",   "Launch",     "Ripples",
                                            "Flowing",   "Pulsating", "Tilt",      "Shuttle",    "UserDefine"};
    ASSERT_THAT(rows, SizeIs(20));
    for (int m = 1; m <= 20; ++m) {
        const std::string mode = std::to_string(m);
        EXPECT_EQ(rows[m - 1], (std::vector<std::string>{mode, "1", names[m - 1], mode, "1", "255", "225", "0",
                                                         m == 10 ? "3" : "0", "15", "10", m == 1 ? "1" : "0"}));
    }
    EXPECT_TRUE(db.writeRadiProfile(2));
    EXPECT_EQ(test::queryInt(kGen2, "SELECT count(*) FROM t_radidata WHERE profId = 2"), 20);
}

TEST(DatabaseName, DecimalVendorThenProductId) {
    EXPECT_EQ(DeviceSQLite::databaseName(0x1A2C, 0xB57E), "670046462_device.sqlite3");
    EXPECT_EQ(DeviceSQLite::databaseName(0x1A2C, 0xB5BF), "670046527_device.sqlite3");
}

TEST_F(DefaultsTest, FolderAndLoginStoreAreUserOnly) {
    LocalSQLite login;
    DeviceSQLite device(kGen1);
    EXPECT_EQ(test::permissions(databaseFolder()), 0700u);
    EXPECT_EQ(test::permissions(test::databasePath("local.sqlite3")), 0600u);
}

TEST_F(DefaultsTest, WiderFolderAndLoginFileAreNarrowed) {
    std::filesystem::create_directories(databaseFolder());
    { LocalSQLite login; }
    ::chmod(databaseFolder().c_str(), 0755);
    ::chmod(test::databasePath("local.sqlite3").c_str(), 0644);
    LocalSQLite again;
    EXPECT_TRUE(again.isConnected());
    EXPECT_EQ(test::permissions(databaseFolder()), 0700u);
    EXPECT_EQ(test::permissions(test::databasePath("local.sqlite3")), 0600u);
}

TEST_F(DefaultsTest, NamesLeadingOutOfTheFolderAreRefused) {
    for (const char* name : {"../escape.sqlite3", "", "..", "sub/x.sqlite3"}) {
        SCOPED_TRACE(name);
        std::vector<std::string> lines = test::capturedLines([&] { EXPECT_FALSE(DeviceSQLite(name).isConnected()); });
        ASSERT_THAT(lines, SizeIs(1));
        EXPECT_THAT(lines[0], StartsWith("init: connect fail "));
    }
    EXPECT_FALSE(std::filesystem::exists(home.path() + "/com.velkor.keyloom/escape.sqlite3"));
}

// A file that is not a database opens, but every statement fails: each operation gives its failure result.
TEST_F(DefaultsTest, EveryStatementFailingGivesTheFailureResults) {
    std::filesystem::create_directories(databaseFolder());
    std::ofstream(test::databasePath(kGen1)) << std::string(4096, 'x');
    std::unique_ptr<DeviceSQLite> db;
    EXPECT_THAT(test::capturedLines([&] { db = std::make_unique<DeviceSQLite>(kGen1); }),
                ElementsAre("createTable fail file is not a database", "init: connect success"));
    EXPECT_FALSE(db->writeRadiProfile(1));
    EXPECT_FALSE(db->modifyRadiData(1, 1, std::vector<uint8_t>(8, 1)));
    EXPECT_FALSE(db->selectRaidMode(1, 1));
    EXPECT_EQ(db->getRadiModeSelectIndex(1), 0);
    RadiData radi;
    EXPECT_FALSE(db->queryRadiInfo(1, 1, radi));
    EXPECT_EQ(radi, RadiData{});
    db->insertKeyRGB({0, 1, 1, 4, 5});
    std::vector<RGBData> colours(1);
    EXPECT_FALSE(db->queryKeyRGB(1, colours));
    EXPECT_THAT(colours, SizeIs(1));
    EXPECT_FALSE(db->updateConfigData(1, "reportRate", "8"));
    EXPECT_EQ(db->getConfigData(1, "reportRate"), "");
    EXPECT_EQ(db->addKeyProfile({.keyValue = 4, .macroValue = 0}), 0) << "the delete failed";
    EXPECT_EQ(db->addKnobProfile({.keyValue = 250, .macroValue = 3}), 0);
    std::vector<KeyMacro> macros;
    EXPECT_FALSE(db->queryKeyMacroFromProfile(1, macros));
    EXPECT_FALSE(db->queryKnobProfile(1, 250, macros));
    EXPECT_THAT(macros, IsEmpty());
}

// A regular file where the db folder should be: nothing opens, and every operation gives its no-connection result.
class NoConnectionTest : public ::testing::Test {
  protected:
    void SetUp() override { test::blockDatabaseFolder(); }
    test::TempDataHome home;
};

TEST_F(NoConnectionTest, OpeningPrintsOnlyTheFailure) {
    for (const auto& open : std::vector<std::function<void()>>{
             [] { DeviceSQLite db(kGen1); }, [] { MarrowinDeviceSQLite db(kGen2); }, [] { LocalSQLite db; }}) {
        std::vector<std::string> lines = test::capturedLines(open);
        ASSERT_THAT(lines, SizeIs(1));
        EXPECT_THAT(lines[0], StartsWith("init: connect fail "));
        EXPECT_GT(lines[0].size(), std::string("init: connect fail ").size()) << "the error follows";
    }
    EXPECT_TRUE(std::filesystem::is_regular_file(databaseFolder()));
}

TEST_F(NoConnectionTest, FirstGenerationResults) {
    DeviceSQLite db(kGen1);
    EXPECT_FALSE(db.isConnected());
    EXPECT_TRUE(db.writeRadiProfile(1));
    EXPECT_EQ(db.getConfigData(1, "reportRate"), "");
    EXPECT_TRUE(db.updateConfigData(1, "reportRate", "8"));
    EXPECT_TRUE(db.modifyRadiData(1, 1, std::vector<uint8_t>(8, 1)));
    EXPECT_TRUE(db.selectRaidMode(1, 3));
    EXPECT_EQ(db.getRadiModeSelectIndex(1), 0);
    RadiData radi;
    radi.name = "kept";
    const RadiData before = radi;
    EXPECT_FALSE(db.queryRadiInfo(1, 1, radi));
    EXPECT_EQ(radi, before);
    db.insertKeyRGB({0, 12, 1, 4, 0xFF0000});

    std::vector<RGBData> colours(1);
    EXPECT_FALSE(db.queryKeyRGB(1, colours));
    EXPECT_THAT(colours, SizeIs(1));
    std::vector<KeyMacro> macros(2);
    EXPECT_FALSE(db.queryKeyMacroFromProfile(1, macros));
    EXPECT_FALSE(db.queryKnobMacroFromProfile(1, macros));
    EXPECT_FALSE(db.queryKeyProfile(1, 4, macros));
    EXPECT_FALSE(db.queryKnobProfile(1, 250, macros));
    EXPECT_THAT(macros, SizeIs(2));

    EXPECT_EQ(db.addKeyProfile({.keyValue = 4, .macroValue = 5}), 0);
    EXPECT_EQ(db.addKeyProfile({.keyValue = 4, .macroValue = 0}), 1);
    EXPECT_EQ(db.addKnobProfile({.keyValue = 250, .macroValue = 5}), 0);
    EXPECT_EQ(db.addKnobProfile({.keyValue = 250, .macroValue = 0}), 1);

    Transaction tx = db.transaction();
    EXPECT_FALSE(tx.active());
    EXPECT_FALSE(tx.commit());
}

TEST_F(NoConnectionTest, SecondGenerationResults) {
    MarrowinDeviceSQLite db(kGen2);
    EXPECT_FALSE(db.isConnected());
    EXPECT_TRUE(db.writeRadiProfile(1));
    EXPECT_EQ(db.getConfigData(1, "keyboardLayout"), "");
    EXPECT_TRUE(db.updateConfigData(1, "keyboardLayout", "3"));
    EXPECT_TRUE(db.modifyRadiData(1, 1, std::vector<uint8_t>(8, 1)));
    EXPECT_TRUE(db.selectRaidMode(1, 3));
    EXPECT_EQ(db.getRadiModeSelectIndex(1), 0);
    RadiData radi;
    EXPECT_FALSE(db.queryRadiInfo(1, 1, radi));
    EXPECT_EQ(radi, RadiData{});
    db.insertKeyRGB({0, 12, 1, 4, 0xFF0000});

    std::vector<RadiData> modes(3);
    EXPECT_FALSE(db.queryRadiProfile(1, modes));
    EXPECT_THAT(modes, SizeIs(3));
    std::vector<RGBData> colours;
    EXPECT_FALSE(db.queryKeyRGB(1, colours));
    EXPECT_THAT(colours, IsEmpty());
    std::vector<MarrowinKey> keys(1);
    EXPECT_FALSE(db.queryKeyMacroFromProfile(1, keys));
    EXPECT_FALSE(db.queryKeyProfile(1, 4, keys));
    EXPECT_FALSE(db.queryKeysProfile(1, keys));
    EXPECT_THAT(keys, SizeIs(1));

    EXPECT_EQ(db.addKeyProfile({.keyValue = 4, .macroValue = 5}), 0);
    EXPECT_EQ(db.addKeyProfile({.keyValue = 4, .macroValue = 0}), 1);
    EXPECT_FALSE(db.transaction().active());
}

TEST_F(NoConnectionTest, LoginStoreResults) {
    LocalSQLite db;
    LoginData data{7, "keep@x", "digest", 1, 0};
    const LoginData before = data;
    EXPECT_THAT(test::capturedLines([&] { EXPECT_EQ(db.updateLoginData(data), 0); }), ElementsAre("0"));
    EXPECT_FALSE(db.getLoginData(data));
    EXPECT_EQ(data, before);
}

}  // namespace
}  // namespace keyloom
