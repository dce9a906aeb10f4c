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

const char* kGen1 = "670046462_device.sqlite3";
const char* kGen2 = "ostrelte62_device.sqlite3";

// The store rules shared by the three assignment tables, run on each: (profile, key, macroValue) -> result, and the
// rows left, as (profId, keyvalue, macroValue).
struct AssignmentTable {
    const char* label;
    const char* file;
    const char* table;
    std::function<void()> open;
    std::function<int64_t(int64_t profile, int64_t key, int64_t macroValue)> add;
    std::function<bool(int64_t profile, int64_t key, size_t& found)> read;
};

std::unique_ptr<DeviceSQLite> gen1;
std::unique_ptr<MarrowinDeviceSQLite> gen2;

const AssignmentTable kTables[] = {
    {"firstKeys", kGen1, "t_keyprofile", [] { gen1 = std::make_unique<DeviceSQLite>(kGen1); },
     [](int64_t p, int64_t k, int64_t v) { return gen1->addKeyProfile({.profId = p, .keyValue = k, .macroValue = v}); },
     [](int64_t p, int64_t k, size_t& n) {
         std::vector<KeyMacro> l;
         bool ok = gen1->queryKeyProfile(p, k, l);
         n = l.size();
         return ok;
     }},
    {"firstKnob", kGen1, "t_knobprofile", [] { gen1 = std::make_unique<DeviceSQLite>(kGen1); },
     [](int64_t p, int64_t k, int64_t v) {
         return gen1->addKnobProfile({.profId = p, .keyValue = k, .macroValue = v});
     },
     [](int64_t p, int64_t k, size_t& n) {
         std::vector<KeyMacro> l;
         bool ok = gen1->queryKnobProfile(p, k, l);
         n = l.size();
         return ok;
     }},
    {"secondKeys", kGen2, "t_keyprofile", [] { gen2 = std::make_unique<MarrowinDeviceSQLite>(kGen2); },
     [](int64_t p, int64_t k, int64_t v) { return gen2->addKeyProfile({.profId = p, .keyValue = k, .macroValue = v}); },
     [](int64_t p, int64_t k, size_t& n) {
         std::vector<MarrowinKey> l;
         bool ok = gen2->queryKeyProfile(p, k, l);
         n = l.size();
         return ok;
     }},
};

class AssignmentStore : public ::testing::TestWithParam<AssignmentTable> {
  protected:
    void SetUp() override { test::capturedLines(GetParam().open); }
    void TearDown() override {
        gen1.reset();
        gen2.reset();
    }
    std::vector<std::vector<std::string>> rows() {
        return test::queryRows(GetParam().file, std::string("SELECT rowid, profId, keyvalue, macroValue FROM ") +
                                                    GetParam().table + " ORDER BY rowid");
    }
    test::TempDataHome home;
};

TEST_P(AssignmentStore, ReplacingAKeyReusesTheFreedRowId) {
    const auto& t = GetParam();
    EXPECT_EQ(t.add(1, 250, 5), 1);
    EXPECT_EQ(t.add(1, 250, 6), 1) << "max rowid + 1, as stored files expect";
    EXPECT_EQ(rows(), (std::vector<std::vector<std::string>>{{"1", "1", "250", "6"}}));
    EXPECT_EQ(t.add(1, 251, 7), 2);
}

TEST_P(AssignmentStore, OneRowPerKeyAcrossProfiles) {
    const auto& t = GetParam();
    ASSERT_EQ(t.add(1, 252, 5), 1);
    EXPECT_EQ(t.add(2, 252, 9), 1);
    EXPECT_EQ(rows(), (std::vector<std::vector<std::string>>{{"1", "2", "252", "9"}}));
    size_t found = 99;
    EXPECT_TRUE(t.read(1, 252, found));
    EXPECT_EQ(found, 0u);
}

TEST_P(AssignmentStore, RemovalAndKeyZero) {
    const auto& t = GetParam();
    ASSERT_EQ(t.add(1, 253, 5), 1);
    EXPECT_EQ(t.add(1, 0, 5), 0);
    EXPECT_EQ(t.add(1, 0, 0), 0);
    EXPECT_THAT(rows(), SizeIs(1));
    EXPECT_EQ(t.add(1, 253, 0), 1);
    EXPECT_THAT(rows(), IsEmpty());
    size_t found = 99;
    EXPECT_TRUE(t.read(1, 253, found));
    EXPECT_EQ(found, 0u);
    EXPECT_EQ(t.add(1, 253, 0), 1) << "removing an absent key";
    EXPECT_THAT(rows(), IsEmpty());
}

INSTANTIATE_TEST_SUITE_P(AllTables, AssignmentStore, ::testing::ValuesIn(kTables),
                         [](const auto& info) { return std::string(info.param.label); });

class FirstGenerationAssignments : public ::testing::Test {
  protected:
    void SetUp() override {
        test::capturedLines([&] { db = std::make_unique<DeviceSQLite>(kGen1); });
    }
    test::TempDataHome home;
    std::unique_ptr<DeviceSQLite> db;
};

TEST_F(FirstGenerationAssignments, FullRecordsRoundTripWithReservedTextsInPlace) {
    const KeyMacro key{11, 3, 1, 4, 6, 0x0102, "Left click", 7, 8, "first", "second"};
    ASSERT_EQ(db->addKeyProfile(key), 1);
    std::vector<KeyMacro> list = {KeyMacro{.macroDesc = "already here"}};
    EXPECT_TRUE(db->queryKeyProfile(1, 4, list));
    ASSERT_THAT(list, SizeIs(2));
    EXPECT_EQ(list[0].macroDesc, "already here");
    EXPECT_EQ(list[1], (KeyMacro{1, 0, 1, 4, 6, 0x0102, "Left click", 7, 8, "first", "second"}))
        << "keyId from the table, layerId never stored for keys";
    EXPECT_EQ(test::queryRows(kGen1, "SELECT reveDesc1, reveDesc2 FROM t_keyprofile"),
              (std::vector<std::vector<std::string>>{{"first", "second"}}));

    const KeyMacro knob{0, 1, 1, 252, 7, 3, "Volume up", 2, 0, "", ""};
    ASSERT_EQ(db->addKnobProfile({0, 0, 1, 252, 7, 1, "old", 0, 0, "", ""}), 1);
    ASSERT_EQ(db->addKnobProfile(knob), 1);
    std::vector<KeyMacro> knobs;
    EXPECT_TRUE(db->queryKnobProfile(1, 252, knobs));
    EXPECT_THAT(knobs, ElementsAre(KeyMacro{1, 1, 1, 252, 7, 3, "Volume up", 2, 0, "", ""}))
        << "the layer-1 row replaced the layer-0 row";
}

TEST_F(FirstGenerationAssignments, ListsFillOnlyTheKeyAndAppend) {
    ASSERT_GT(db->addKeyProfile({.profId = 1, .keyValue = 4, .macroType = 2, .macroValue = 1, .macroDesc = "Disable"}),
              0);
    ASSERT_GT(db->addKeyProfile({.profId = 1, .keyValue = 5, .macroType = 3, .macroValue = 6}), 0);
    ASSERT_GT(db->addKeyProfile({.profId = 2, .keyValue = 6, .macroType = 3, .macroValue = 6}), 0);
    ASSERT_GT(db->addKnobProfile({.layerId = 1, .profId = 1, .keyValue = 250, .macroType = 6, .macroValue = 2}), 0);

    std::vector<KeyMacro> keys(1);
    EXPECT_TRUE(db->queryKeyMacroFromProfile(1, keys));
    EXPECT_THAT(keys, ElementsAre(KeyMacro{}, KeyMacro{.keyValue = 4}, KeyMacro{.keyValue = 5}));
    std::vector<KeyMacro> knobs;
    EXPECT_TRUE(db->queryKnobMacroFromProfile(1, knobs));
    EXPECT_THAT(knobs, ElementsAre(KeyMacro{.layerId = 1, .keyValue = 250}));
    std::vector<KeyMacro> none;
    EXPECT_TRUE(db->queryKnobMacroFromProfile(2, none));
    EXPECT_THAT(none, IsEmpty());
}

TEST_F(FirstGenerationAssignments, TextsAreStoredLiterally) {
    const std::string hostile = "x'); DELETE FROM t_keyprofile; --";
    ASSERT_EQ(db->addKeyProfile({.profId = 1, .keyValue = 4, .macroValue = 1, .macroDesc = "keep"}), 1);
    ASSERT_EQ(db->addKeyProfile({.profId = 1,
                                 .keyValue = 5,
                                 .macroValue = 1,
                                 .macroDesc = hostile,
                                 .rev1Desc = "\"; DROP TABLE t_knobprofile; --"}),
              2);
    std::vector<KeyMacro> list;
    ASSERT_TRUE(db->queryKeyProfile(1, 5, list));
    EXPECT_EQ(list.at(0).macroDesc, hostile);
    EXPECT_EQ(list.at(0).rev1Desc, "\"; DROP TABLE t_knobprofile; --");
    EXPECT_EQ(test::queryInt(kGen1, "SELECT count(*) FROM t_keyprofile"), 2);
    EXPECT_EQ(test::queryInt(kGen1, "SELECT count(*) FROM sqlite_master WHERE name = 't_knobprofile'"), 1);
}

class SecondGenerationAssignments : public ::testing::Test {
  protected:
    void SetUp() override {
        test::capturedLines([&] { db = std::make_unique<MarrowinDeviceSQLite>(kGen2); });
    }
    test::TempDataHome home;
    std::unique_ptr<MarrowinDeviceSQLite> db;
};

TEST_F(SecondGenerationAssignments, FullRecordsRoundTripWithoutLayer) {
    ASSERT_EQ(db->addKeyProfile({9, 5, 1, 4, 3, 0x05, 0xE1, 0x7, "Shift + B"}), 1);
    std::vector<MarrowinKey> list;
    EXPECT_TRUE(db->queryKeyProfile(1, 4, list));
    EXPECT_THAT(list, ElementsAre(MarrowinKey{1, 0, 1, 4, 3, 0x05, 0xE1, 0x7, "Shift + B"}));
}

TEST_F(SecondGenerationAssignments, WholeProfileAndKeyListsAppend) {
    for (int64_t k : {4, 5, 6})
        ASSERT_GT(db->addKeyProfile({.profId = 1, .keyValue = k, .macroType = 2, .macroValue = 1}), 0);
    ASSERT_GT(db->addKeyProfile({.profId = 2, .keyValue = 7, .macroType = 2, .macroValue = 1}), 0);

    std::vector<MarrowinKey> all(2);
    EXPECT_TRUE(db->queryKeysProfile(1, all));
    ASSERT_THAT(all, SizeIs(5));
    EXPECT_EQ(all[2], (MarrowinKey{.keyId = 1, .profId = 1, .keyValue = 4, .macroType = 2, .macroValue = 1}));
    EXPECT_EQ(all[4].keyValue, 6);

    std::vector<MarrowinKey> marks;
    EXPECT_TRUE(db->queryKeyMacroFromProfile(1, marks));
    EXPECT_THAT(marks, ElementsAre(MarrowinKey{.keyValue = 4}, MarrowinKey{.keyValue = 5}, MarrowinKey{.keyValue = 6}));

    std::vector<MarrowinKey> none;
    EXPECT_TRUE(db->queryKeysProfile(3, none));
    EXPECT_THAT(none, IsEmpty());
}

}  // namespace
}  // namespace keyloom
