#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include "SQLite/DeviceSQLite.h"
#include "SQLite/MarrowinDeviceSQLite.h"
#include "StorageTestHelpers.h"
#include "support/TestSupport.h"

namespace keyloom {
namespace {

using ::testing::ElementsAre;
using ::testing::IsEmpty;
using ::testing::SizeIs;
using Rows = std::vector<std::vector<std::string>>;

const char* kGen1 = "670046462_device.sqlite3";
const char* kGen2 = "tolmekv2te_device.sqlite3";

std::string failInsertsOn(const std::string& table, const std::string& when = "") {
    return "CREATE TRIGGER fail_" + table + " BEFORE INSERT ON " + table + (when.empty() ? "" : " WHEN " + when) +
           " BEGIN SELECT RAISE(ABORT, 'injected'); END";
}

class PairsUnderFailure : public ::testing::Test {
  protected:
    void SetUp() override {
        test::capturedLines([&] {
            gen1 = std::make_unique<DeviceSQLite>(kGen1);
            gen2 = std::make_unique<MarrowinDeviceSQLite>(kGen2);
        });
    }
    test::TempDataHome home;
    std::unique_ptr<DeviceSQLite> gen1;
    std::unique_ptr<MarrowinDeviceSQLite> gen2;
};

TEST_F(PairsUnderFailure, FailedAssignmentInsertKeepsTheOldRow) {
    ASSERT_EQ(gen1->addKeyProfile({.profId = 1, .keyValue = 4, .macroType = 2, .macroValue = 1}), 1);
    ASSERT_EQ(gen1->addKnobProfile({.profId = 1, .keyValue = 250, .macroType = 6, .macroValue = 2}), 1);
    ASSERT_EQ(gen2->addKeyProfile({.profId = 1, .keyValue = 4, .macroType = 2, .macroValue = 1}), 1);
    test::execSql(kGen1, failInsertsOn("t_keyprofile") + ";" + failInsertsOn("t_knobprofile"));
    test::execSql(kGen2, failInsertsOn("t_keyprofile"));

    EXPECT_EQ(gen1->addKeyProfile({.profId = 2, .keyValue = 4, .macroType = 3, .macroValue = 9}), 0);
    EXPECT_EQ(gen1->addKnobProfile({.profId = 2, .keyValue = 250, .macroType = 3, .macroValue = 9}), 0);
    EXPECT_EQ(gen2->addKeyProfile({.profId = 2, .keyValue = 4, .macroType = 3, .macroValue = 9}), 0);

    EXPECT_EQ(test::queryRows(kGen1, "SELECT profId, keyvalue, macroValue FROM t_keyprofile"), (Rows{{"1", "4", "1"}}));
    EXPECT_EQ(test::queryRows(kGen1, "SELECT profId, keyvalue, macroValue FROM t_knobprofile"),
              (Rows{{"1", "250", "2"}}));
    EXPECT_EQ(test::queryRows(kGen2, "SELECT profId, keyvalue, macroValue FROM t_keyprofile"), (Rows{{"1", "4", "1"}}));
    // A removal has no insert, so it still goes through.
    EXPECT_EQ(gen1->addKeyProfile({.profId = 1, .keyValue = 4, .macroValue = 0}), 1);
    EXPECT_EQ(test::queryInt(kGen1, "SELECT count(*) FROM t_keyprofile"), 0);
}

TEST_F(PairsUnderFailure, FailedColourInsertKeepsTheOldColour) {
    gen1->insertKeyRGB({0, 12, 1, 4, 0xFF0000});
    gen2->insertKeyRGB({0, 20, 1, 4, 0xFF0000});
    test::execSql(kGen1, failInsertsOn("t_keyrgbdata"));
    test::execSql(kGen2, failInsertsOn("t_keyrgbdata"));
    gen1->insertKeyRGB({0, 12, 1, 4, 0x00FF00});
    gen2->insertKeyRGB({0, 20, 1, 4, 0x00FF00});
    std::vector<RGBData> c1, c2;
    ASSERT_TRUE(gen1->queryKeyRGB(1, c1));
    ASSERT_TRUE(gen2->queryKeyRGB(1, c2));
    EXPECT_THAT(c1, ElementsAre(RGBData{1, 12, 1, 4, 0xFF0000}));
    EXPECT_THAT(c2, ElementsAre(RGBData{1, 20, 1, 4, 0xFF0000}));
}

TEST_F(PairsUnderFailure, FailedSelectionKeepsTheOldSelection) {
    ASSERT_TRUE(gen1->writeRadiProfile(1));
    ASSERT_TRUE(gen2->writeRadiProfile(1));
    ASSERT_TRUE(gen1->selectRaidMode(1, 5));
    const std::string trigger =
        "CREATE TRIGGER fail_select BEFORE UPDATE OF status ON t_radidata WHEN NEW.status = 1 "
        "BEGIN SELECT RAISE(ABORT, 'injected'); END";
    test::execSql(kGen1, trigger);
    test::execSql(kGen2, trigger);
    EXPECT_FALSE(gen1->selectRaidMode(1, 7));
    EXPECT_FALSE(gen2->selectRaidMode(1, 7));
    EXPECT_EQ(gen1->getRadiModeSelectIndex(1), 5);
    EXPECT_EQ(gen2->getRadiModeSelectIndex(1), 1);
}

TEST_F(PairsUnderFailure, DefaultSettingsAreAllOrNothing) {
    // The table exists before the first open, with a trigger that fails the third default row.
    test::execSql("570_device.sqlite3",
                  R"(CREATE TABLE "t_configdata" ("keyId" INTEGER PRIMARY KEY NOT NULL, "key" TEXT NOT NULL,
                     "profId" INTEGER NOT NULL, "value" TEXT NOT NULL);)" +
                      failInsertsOn("t_configdata", "NEW.key = 'idleUSBWireSleep'"));
    std::vector<std::string> printed = test::capturedLines([] { DeviceSQLite db("570_device.sqlite3"); });
    EXPECT_THAT(printed, ElementsAre("insertRow  fail injected", "createTable success", "init: connect success"));
    EXPECT_EQ(test::queryInt("570_device.sqlite3", "SELECT count(*) FROM t_configdata"), 0);

    test::execSql("570_device.sqlite3", "DROP TRIGGER fail_t_configdata");
    test::capturedLines([] { DeviceSQLite db("570_device.sqlite3"); });
    EXPECT_EQ(test::queryInt("570_device.sqlite3", "SELECT count(*) FROM t_configdata"), 5) << "the next open retries";
}

TEST_F(PairsUnderFailure, DefaultModesAreAllOrNothing) {
    test::execSql(kGen1, failInsertsOn("t_radidata", "NEW.mode = 5"));
    test::execSql(kGen2, failInsertsOn("t_radidata", "NEW.mode = 20"));
    EXPECT_FALSE(gen1->writeRadiProfile(1));
    EXPECT_FALSE(gen2->writeRadiProfile(1));
    EXPECT_EQ(test::queryInt(kGen1, "SELECT count(*) FROM t_radidata"), 0);
    EXPECT_EQ(test::queryInt(kGen2, "SELECT count(*) FROM t_radidata"), 0);

    test::execSql(kGen1, "DROP TRIGGER fail_t_radidata");
    EXPECT_TRUE(gen1->writeRadiProfile(1));
    EXPECT_EQ(test::queryInt(kGen1, "SELECT count(*) FROM t_radidata"), 12);
}

// One user action: the writes of the action share one transaction scope.
class UserAction : public ::testing::Test {
  protected:
    void SetUp() override {
        test::capturedLines([&] { db = std::make_unique<DeviceSQLite>(kGen1); });
        ASSERT_TRUE(db->writeRadiProfile(1));
    }
    void storeKeyboardColours(int64_t colour) {
        for (int64_t key = 4; key < 4 + 91; ++key) db->insertKeyRGB({0, 12, 1, key, colour});
        for (int64_t group = 600; group <= 603; ++group) db->insertKeyRGB({0, 12, 1, group, colour});
    }
    int64_t colourRows() { return test::queryInt(kGen1, "SELECT count(*) FROM t_keyrgbdata"); }
    test::TempDataHome home;
    std::unique_ptr<DeviceSQLite> db;
};

TEST_F(UserAction, AWholeKeyboardOfColoursIsOneCommit) {
    const uint32_t before = test::fileChangeCounter(kGen1);
    Transaction action = db->transaction();
    ASSERT_TRUE(action.active());
    storeKeyboardColours(0x123456);
    EXPECT_EQ(colourRows(), 0) << "others see nothing before the commit";
    EXPECT_EQ(test::fileChangeCounter(kGen1), before);
    EXPECT_TRUE(action.commit());
    EXPECT_FALSE(action.active());
    EXPECT_EQ(colourRows(), 95);
    EXPECT_EQ(test::fileChangeCounter(kGen1), before + 1);
}

TEST_F(UserAction, WithoutCommitNothingIsKept) {
    {
        Transaction action = db->transaction();
        storeKeyboardColours(0x123456);
        ASSERT_TRUE(db->selectRaidMode(1, 12));
    }
    EXPECT_EQ(colourRows(), 0);
    EXPECT_EQ(db->getRadiModeSelectIndex(1), 1);

    Transaction action = db->transaction();
    storeKeyboardColours(0x123456);
    action.rollback();
    EXPECT_FALSE(action.commit());
    EXPECT_EQ(colourRows(), 0);
}

TEST_F(UserAction, AFailedPairInsideAnActionUndoesOnlyThatPair) {
    ASSERT_EQ(db->addKeyProfile({.profId = 1, .keyValue = 4, .macroValue = 1}), 1);
    test::execSql(kGen1, failInsertsOn("t_keyprofile"));
    Transaction action = db->transaction();
    db->insertKeyRGB({0, 12, 1, 4, 0xABCDEF});
    EXPECT_EQ(db->addKeyProfile({.profId = 1, .keyValue = 4, .macroValue = 2}), 0);
    EXPECT_TRUE(db->updateConfigData(1, "reportRate", "8"));
    EXPECT_TRUE(action.commit());
    EXPECT_EQ(colourRows(), 1);
    EXPECT_EQ(db->getConfigData(1, "reportRate"), "8");
    EXPECT_EQ(test::queryRows(kGen1, "SELECT macroValue FROM t_keyprofile"), (Rows{{"1"}}));
}

TEST_F(UserAction, NestedScopesFollowTheOutermost) {
    {
        Transaction outer = db->transaction();
        Transaction inner = db->transaction();
        db->insertKeyRGB({0, 12, 1, 4, 1});
        EXPECT_TRUE(inner.commit());
        EXPECT_EQ(colourRows(), 0) << "an inner commit does not reach the file";
        outer.rollback();
    }
    EXPECT_EQ(colourRows(), 0);

    {
        Transaction outer = db->transaction();
        db->insertKeyRGB({0, 12, 1, 5, 1});
        Transaction inner = db->transaction();
        db->insertKeyRGB({0, 12, 1, 6, 1});
        inner.rollback();
        EXPECT_TRUE(outer.commit());
    }
    EXPECT_EQ(test::queryRows(kGen1, "SELECT keyvalue FROM t_keyrgbdata"), (Rows{{"5"}}));
}

TEST_F(UserAction, EndingAnOuterScopeEndsTheInnerOnes) {
    Transaction outer = db->transaction();
    Transaction inner = db->transaction();
    db->insertKeyRGB({0, 12, 1, 4, 1});
    EXPECT_TRUE(outer.commit());
    EXPECT_FALSE(inner.active());
    EXPECT_FALSE(inner.commit());
    EXPECT_EQ(colourRows(), 1);
    db->insertKeyRGB({0, 12, 1, 5, 1});
    EXPECT_EQ(colourRows(), 2) << "later writes commit on their own again";
}

TEST_F(UserAction, ScopesMoveAndMayOutliveTheDatabaseObject) {
    Transaction kept;
    {
        Transaction action = db->transaction();
        kept = std::move(action);
        EXPECT_FALSE(action.active());
    }
    EXPECT_TRUE(kept.active());
    db->insertKeyRGB({0, 12, 1, 4, 1});
    db.reset();
    EXPECT_TRUE(kept.commit());
    EXPECT_EQ(colourRows(), 1);
}

TEST_F(UserAction, ATransactionEndedBySQLiteIsReportedAndWritingGoesOn) {
    test::execSql(kGen1,
                  "CREATE TRIGGER abort_all BEFORE INSERT ON t_keyprofile BEGIN SELECT RAISE(ROLLBACK, 'gone'); END");
    Transaction action = db->transaction();
    db->insertKeyRGB({0, 12, 1, 4, 1});
    EXPECT_EQ(db->addKeyProfile({.profId = 1, .keyValue = 4, .macroValue = 1}), 0);
    EXPECT_FALSE(action.active());
    EXPECT_FALSE(action.commit());
    EXPECT_EQ(colourRows(), 0) << "the whole transaction was rolled back by SQLite";
    db->insertKeyRGB({0, 12, 1, 5, 1});
    EXPECT_EQ(colourRows(), 1);
}

}  // namespace
}  // namespace keyloom
