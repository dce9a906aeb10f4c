#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include "SQLite/DeviceSQLite.h"
#include "SQLite/MarrowinDeviceSQLite.h"
#include "StorageTestHelpers.h"
#include "support/TestSupport.h"

namespace keyloom {
namespace {

using ::testing::ElementsAre;
using ::testing::ElementsAreArray;
using ::testing::IsEmpty;
using ::testing::SizeIs;
using Bytes = std::vector<uint8_t>;
using Rows = std::vector<std::vector<std::string>>;

const char* kGen1 = "670046462_device.sqlite3";
const char* kGen2 = "marrowinv2_device.sqlite3";

class FirstGenerationLighting : public ::testing::Test {
  protected:
    void SetUp() override {
        test::capturedLines([&] { db = std::make_unique<DeviceSQLite>(kGen1); });
        ASSERT_TRUE(db->writeRadiProfile(1));
    }
    Rows row(int profile, int mode) {
        return test::queryRows(kGen1,
                               "SELECT mode, byte3, byte4, byte5, byte6, byte7, name, status FROM t_radidata "
                               "WHERE profId = " +
                                   std::to_string(profile) + " AND mode = " + std::to_string(mode));
    }
    test::TempDataHome home;
    std::unique_ptr<DeviceSQLite> db;
};

TEST_F(FirstGenerationLighting, ModifyStoresBytesThreeToSevenOnly) {
    EXPECT_TRUE(db->modifyRadiData(1, 3, {0x05, 0xFE, 0x07, 0x11, 0x22, 0x33, 0x44, 0x55}));
    EXPECT_EQ(row(1, 3), (Rows{{"3", "17", "34", "51", "68", "85", "Radibow", "0"}}));
    EXPECT_EQ(row(1, 7), (Rows{{"7", "47", "255", "225", "0", "0", "Reactive", "0"}})) << "other modes untouched";

    EXPECT_TRUE(db->modifyRadiData(1, 99, Bytes(8, 9))) << "no row: success, nothing written";
    EXPECT_EQ(test::queryInt(kGen1, "SELECT count(*) FROM t_radidata"), 12);
}

TEST_F(FirstGenerationLighting, ShortImagesAreRefused) {
    EXPECT_FALSE(db->modifyRadiData(1, 3, {0x05, 0xFE, 0x03, 0x11, 0x22, 0x33, 0x44}));
    EXPECT_EQ(row(1, 3), (Rows{{"3", "47", "1", "0", "0", "0", "Radibow", "0"}}));
    RadiData data;
    data.buffer = {0xAA, 0xBB, 0, 0};
    const RadiData before = data;
    EXPECT_FALSE(db->queryRadiInfo(1, 3, data));
    EXPECT_EQ(data, before);
}

TEST_F(FirstGenerationLighting, QueryFillsBytesTwoToSevenAndKeepsTheFirstTwo) {
    ASSERT_TRUE(db->modifyRadiData(1, 3, {0x05, 0xFE, 0x07, 0x11, 0x22, 0x33, 0x44, 0x55}));
    ASSERT_TRUE(db->selectRaidMode(1, 3));
    RadiData data;
    data.buffer = {0xAA, 0xBB, 0, 0, 0, 0, 0, 0};
    data.layer = 9;
    ASSERT_TRUE(db->queryRadiInfo(1, 3, data));
    EXPECT_THAT(data.buffer, ElementsAre(0xAA, 0xBB, 0x03, 0x11, 0x22, 0x33, 0x44, 0x55));
    EXPECT_EQ(data.radiId, 3);
    EXPECT_EQ(data.profId, 1);
    EXPECT_EQ(data.name, "Radibow");
    EXPECT_EQ(data.layer, 0) << "from the row";
    EXPECT_EQ(data.status, 1);

    RadiData missing;
    missing.name = "mine";
    missing.status = 4;
    const RadiData before = missing;
    EXPECT_FALSE(db->queryRadiInfo(1, 13, missing));
    EXPECT_EQ(missing, before);
}

TEST_F(FirstGenerationLighting, StoredValuesOutsideAByteAreClamped) {
    test::execSql(kGen1, "UPDATE t_radidata SET byte3 = 300, byte4 = -5, byte5 = 256 WHERE profId = 1 AND mode = 2");
    RadiData data;
    ASSERT_TRUE(db->queryRadiInfo(1, 2, data));
    EXPECT_THAT(data.buffer, ElementsAre(0, 0, 2, 255, 0, 255, 0, 0));
}

TEST_F(FirstGenerationLighting, SelectionMovesWithinTheProfileOnly) {
    ASSERT_TRUE(db->writeRadiProfile(2));
    EXPECT_EQ(db->getRadiModeSelectIndex(1), 1);
    EXPECT_TRUE(db->selectRaidMode(1, 12));
    EXPECT_EQ(db->getRadiModeSelectIndex(1), 12);
    EXPECT_EQ(test::queryInt(kGen1, "SELECT count(*) FROM t_radidata WHERE profId = 1 AND status = 1"), 1);
    EXPECT_EQ(db->getRadiModeSelectIndex(2), 1) << "profile 2 untouched";

    EXPECT_TRUE(db->selectRaidMode(1, 99));
    EXPECT_EQ(db->getRadiModeSelectIndex(1), 0);
    EXPECT_EQ(db->getRadiModeSelectIndex(3), 0);
}

TEST_F(FirstGenerationLighting, SettingsUpdateExistingRowsOnly) {
    EXPECT_TRUE(db->updateConfigData(1, "reportRate", "8"));
    EXPECT_EQ(db->getConfigData(1, "reportRate"), "8");
    EXPECT_TRUE(db->updateConfigData(1, "noSuchKey", "1"));
    EXPECT_EQ(db->getConfigData(1, "noSuchKey"), "");
    EXPECT_TRUE(db->updateConfigData(2, "reportRate", "4"));
    EXPECT_EQ(db->getConfigData(2, "reportRate"), "");
    EXPECT_EQ(test::queryInt(kGen1, "SELECT count(*) FROM t_configdata"), 5);
}

TEST_F(FirstGenerationLighting, KeysAndTextsAreNeverSql) {
    const Rows before = test::queryRows(kGen1, "SELECT * FROM t_configdata");
    EXPECT_TRUE(db->updateConfigData(1, "reportRate' OR '1'='1", "9"));
    EXPECT_TRUE(db->updateConfigData(1, "reportRate\" OR \"1\"=\"1", "9"));
    EXPECT_EQ(test::queryRows(kGen1, "SELECT * FROM t_configdata"), before);
    EXPECT_EQ(db->getConfigData(1, "reportRate' OR '1'='1"), "");
    EXPECT_EQ(db->getConfigData(1, "x' UNION SELECT name FROM sqlite_master --"), "");

    const std::string hostile = "1'); DROP TABLE t_configdata; --";
    EXPECT_TRUE(db->updateConfigData(1, "reportRate", hostile));
    EXPECT_EQ(db->getConfigData(1, "reportRate"), hostile);
    EXPECT_EQ(test::queryInt(kGen1, "SELECT count(*) FROM t_configdata"), 5);
}

// Colours are shared code between generations; both are run through the same cases.
template <typename Db>
class KeyColours : public ::testing::Test {
  protected:
    void SetUp() override {
        test::capturedLines([&] { db = std::make_unique<Db>(file()); });
    }
    static const char* file() { return std::is_same_v<Db, DeviceSQLite> ? kGen1 : kGen2; }
    int64_t rows() { return test::queryInt(file(), "SELECT count(*) FROM t_keyrgbdata"); }
    test::TempDataHome home;
    std::unique_ptr<Db> db;
};
using Stores = ::testing::Types<DeviceSQLite, MarrowinDeviceSQLite>;
TYPED_TEST_SUITE(KeyColours, Stores);

TYPED_TEST(KeyColours, OneRowPerKeyAcrossProfiles) {
    auto& db = *this->db;
    db.insertKeyRGB({0, 12, 1, 4, 0xFF0000});
    db.insertKeyRGB({0, 12, 1, 5, 0x0000FF});
    db.insertKeyRGB({77, 20, 2, 4, 0x00FF00});
    std::vector<RGBData> p1, p2;
    EXPECT_TRUE(db.queryKeyRGB(1, p1));
    EXPECT_THAT(p1, ElementsAre(RGBData{2, 12, 1, 5, 0x0000FF}));
    EXPECT_TRUE(db.queryKeyRGB(2, p2));
    EXPECT_THAT(p2, ElementsAre(RGBData{3, 20, 2, 4, 0x00FF00})) << "rgbId comes from the table, not the record";
    EXPECT_EQ(this->rows(), 2);
}

TYPED_TEST(KeyColours, KeyZeroDoesNothingAndBlackOnlyDeletes) {
    auto& db = *this->db;
    db.insertKeyRGB({0, 12, 1, 4, 0xFF0000});
    db.insertKeyRGB({0, 12, 1, 0, 0x123456});
    EXPECT_EQ(this->rows(), 1);
    db.insertKeyRGB({0, 12, 1, 4, 0});
    EXPECT_EQ(this->rows(), 0);
}

TYPED_TEST(KeyColours, QueriesAppendInInsertionOrderAcrossModeRows) {
    auto& db = *this->db;
    db.insertKeyRGB({0, 12, 1, 9, 0x111111});
    db.insertKeyRGB({0, 13, 1, 7, 0x222222});
    std::vector<RGBData> list = {RGBData{99, 0, 0, 0, 0}};
    EXPECT_TRUE(db.queryKeyRGB(1, list));
    EXPECT_TRUE(db.queryKeyRGB(1, list));
    ASSERT_THAT(list, SizeIs(5));
    EXPECT_EQ(list[0].rgbId, 99);
    EXPECT_EQ(list[1].keyvalue, 9);
    EXPECT_EQ(list[2].keyvalue, 7);
    EXPECT_EQ(list[2].radiId, 13);
    EXPECT_EQ(list[3], list[1]);

    std::vector<RGBData> none;
    EXPECT_TRUE(db.queryKeyRGB(5, none));
    EXPECT_THAT(none, IsEmpty());
}

class SecondGenerationLighting : public ::testing::Test {
  protected:
    void SetUp() override {
        test::capturedLines([&] { db = std::make_unique<MarrowinDeviceSQLite>(kGen2); });
        ASSERT_TRUE(db->writeRadiProfile(1));
    }
    test::TempDataHome home;
    std::unique_ptr<MarrowinDeviceSQLite> db;
};

TEST_F(SecondGenerationLighting, ModifyStoresBytesOneToSevenAndKeepsTheRow) {
    EXPECT_TRUE(db->modifyRadiData(1, 4, {9, 0, 10, 20, 30, 2, 7, 3, 0xEE}));
    EXPECT_EQ(test::queryRows(kGen2, "SELECT * FROM t_radidata WHERE mode = 4"),
              (Rows{{"4", "1", "Glittering", "4", "0", "10", "20", "30", "2", "7", "3", "0"}}));
    EXPECT_TRUE(db->modifyRadiData(1, 21, Bytes(8, 1)));
    EXPECT_EQ(test::queryInt(kGen2, "SELECT count(*) FROM t_radidata"), 20);
    EXPECT_FALSE(db->modifyRadiData(1, 4, Bytes(7, 1)));
}

TEST_F(SecondGenerationLighting, QueryOverwritesTheFirstEightBytesOnly) {
    RadiData data;
    data.layer = 7;
    data.buffer = Bytes(10, 0xCC);
    ASSERT_TRUE(db->queryRadiInfo(1, 10, data));
    EXPECT_THAT(data.buffer, ElementsAre(10, 1, 255, 225, 0, 3, 15, 10, 0xCC, 0xCC));
    EXPECT_EQ(data.layer, 7);
    EXPECT_EQ(data.name, "Scrolling");
    EXPECT_EQ(data.radiId, 10);
    EXPECT_EQ(data.status, 0);

    RadiData shortBuffer;
    shortBuffer.buffer = Bytes(3, 1);
    EXPECT_FALSE(db->queryRadiInfo(1, 10, shortBuffer));
    EXPECT_THAT(shortBuffer.buffer, ElementsAre(1, 1, 1));
}

TEST_F(SecondGenerationLighting, ProfileQueryAppendsEveryModeInOrder) {
    std::vector<RadiData> list(3);
    list[0].name = "caller's";
    EXPECT_TRUE(db->queryRadiProfile(1, list));
    ASSERT_THAT(list, SizeIs(23));
    EXPECT_EQ(list[0].name, "caller's");
    for (int m = 1; m <= 20; ++m) {
        const RadiData& r = list[2 + m];
        EXPECT_EQ(r.radiId, m);
        EXPECT_EQ(r.layer, 0);
        EXPECT_THAT(r.buffer, ElementsAre(m, 1, 255, 225, 0, m == 10 ? 3 : 0, 15, 10));
    }
    EXPECT_EQ(list.back().name, "UserDefine");

    std::vector<RadiData> none;
    EXPECT_TRUE(db->queryRadiProfile(2, none));
    EXPECT_THAT(none, IsEmpty());
}

TEST_F(SecondGenerationLighting, StoredValuesOutsideAByteAreClampedInEveryRead) {
    test::execSql(kGen2, "UPDATE t_radidata SET colortype = 999, byte7 = -1 WHERE mode = 2");
    RadiData one;
    ASSERT_TRUE(db->queryRadiInfo(1, 2, one));
    EXPECT_THAT(one.buffer, ElementsAre(2, 255, 255, 225, 0, 0, 15, 0));
    std::vector<RadiData> all;
    ASSERT_TRUE(db->queryRadiProfile(1, all));
    EXPECT_EQ(all[1].buffer, one.buffer);
}

}  // namespace
}  // namespace keyloom
