// The store of a whole picture's key colours: the rows it leaves, read in row-id order, are exactly those that
// insertKeyRGB of each row in turn leaves, and it writes only the rows whose colour changes.
#include <algorithm>
#include <map>
#include <random>

#include "StorageTestHelpers.h"

namespace keyloom::test {
namespace {

constexpr const char* kReference = "reference_device.sqlite3";  // written row by row through insertKeyRGB

// What every reader sees: the rows in row-id order, without their ids.
Rows visible(const std::string& file) {
    return queryRows(file, "SELECT radiId, profId, keyvalue, rgbvalue FROM t_keyrgbdata ORDER BY rgbId");
}

class KeyColourStore : public ::testing::Test {
  protected:
    void SetUp() override {
        ::testing::internal::CaptureStdout();
        reference = std::make_unique<MarrowinDeviceSQLite>(kReference);
        stored = std::make_unique<MarrowinDeviceSQLite>(kGen2);
        ::testing::internal::GetCapturedStdout();
        for (const char* file : {kReference, kGen2}) execSql(file, "DELETE FROM t_keyrgbdata");
        // Every row written to the table, counted by triggers.
        execSql(kGen2,
                "CREATE TABLE writes (n INTEGER); INSERT INTO writes VALUES (0);"
                "CREATE TRIGGER wi AFTER INSERT ON t_keyrgbdata BEGIN UPDATE writes SET n = n + 1; END;"
                "CREATE TRIGGER wu AFTER UPDATE ON t_keyrgbdata BEGIN UPDATE writes SET n = n + 1; END;"
                "CREATE TRIGGER wd AFTER DELETE ON t_keyrgbdata BEGIN UPDATE writes SET n = n + 1; END;");
    }
    // Both tables start with these rows, in this order, duplicates and all (as a file written elsewhere may hold).
    void start(const std::vector<RGBData>& rows) {
        for (const char* file : {kReference, kGen2})
            for (const RGBData& r : rows)
                execSql(file, "INSERT INTO t_keyrgbdata (radiId, profId, keyvalue, rgbvalue) VALUES (" + str(r.radiId) +
                                  ", " + str(r.profile) + ", " + str(r.keyvalue) + ", " + str(r.rgbvalue) + ")");
        execSql(kGen2, "UPDATE writes SET n = 0");
    }
    // Stores rows both ways; the tables must read the same. Answers the rows the store wrote.
    int store(const std::vector<RGBData>& rows) {
        const int before = std::stoi(queryRows(kGen2, "SELECT n FROM writes")[0][0]);
        for (const RGBData& r : rows) reference->insertKeyRGB(r);
        EXPECT_TRUE(stored->storeKeyRGBs(rows));
        EXPECT_EQ(visible(kGen2), visible(kReference));
        return std::stoi(queryRows(kGen2, "SELECT n FROM writes")[0][0]) - before;
    }

    TempDataHome home;
    std::unique_ptr<MarrowinDeviceSQLite> reference, stored;
};

// Rows {radiId 20, profile 1, key, colour} of a picture, in picture order.
std::vector<RGBData> picture(std::initializer_list<std::pair<int64_t, int64_t>> keyColours) {
    std::vector<RGBData> rows;
    for (auto [key, colour] : keyColours) rows.push_back({0, 20, 1, key, colour});
    return rows;
}

TEST_F(KeyColourStore, WritesOnlyWhatChangesAndLeavesTheRowsInsertKeyRGBLeaves) {
    const struct {
        const char* what;
        std::vector<RGBData> before;  // the table's rows at the start
        std::vector<RGBData> rows;    // stored
        int writes;
    } cases[] = {
        {"same colours: nothing", picture({{4, 1}, {5, 2}, {6, 3}}), picture({{4, 1}, {5, 2}, {6, 3}}), 0},
        {"two caps change colour", picture({{4, 1}, {5, 2}, {6, 3}}), picture({{4, 9}, {5, 2}, {6, 9}}), 2},
        {"a cap turns black", picture({{4, 1}, {5, 2}, {6, 3}}), picture({{4, 1}, {5, 0}, {6, 3}}), 1},
        {"black caps stay away", picture({{4, 1}}), picture({{3, 0}, {4, 1}, {5, 0}}), 0},
        {"a cap after the coloured ones gains one", picture({{4, 1}, {5, 2}}), picture({{4, 1}, {5, 2}, {6, 3}}), 1},
        {"a cap before them gains one: the later rows move behind it", picture({{5, 2}, {6, 3}}),
         picture({{4, 1}, {5, 2}, {6, 3}}), 5},
        {"other keys' rows stay; a written key's row before them goes",
         {{0, 20, 1, 4, 1}, {0, 20, 1, 600, 7}, {0, 20, 1, 5, 2}},
         picture({{4, 1}, {5, 2}}),
         4},
        {"another profile's row of a written key goes", {{0, 30, 2, 4, 5}, {0, 30, 2, 9, 5}}, picture({{4, 5}}), 2},
        {"another profile's row at the end becomes this one's",
         {{0, 30, 2, 9, 5}, {0, 30, 2, 4, 5}},
         picture({{4, 5}}),
         1},
        {"a key written twice: its last row", picture({{4, 1}, {5, 2}}), picture({{4, 3}, {5, 2}, {4, 1}}), 2},
        {"duplicate rows of a key leave one", picture({{4, 1}, {4, 1}, {5, 2}}), picture({{4, 1}, {5, 2}}), 1},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        for (const char* file : {kReference, kGen2}) execSql(file, "DELETE FROM t_keyrgbdata");
        start(c.before);
        EXPECT_EQ(store(c.rows), c.writes);
    }
}

// Long runs of pictures like the lighting tab's: caps framed and coloured, Reset, two layouts with their own cap
// orders, two profiles, keys on one picture only, rows a file written elsewhere holds.
TEST_F(KeyColourStore, RunsOfPicturesLeaveTheSameRows) {
    std::mt19937 random(30);
    const auto pick = [&](int n) { return int(random() % unsigned(n)); };
    std::vector<int64_t> layouts[2];
    for (int64_t key = 1; key <= 40; ++key) layouts[0].push_back(key);
    layouts[1] = layouts[0];
    layouts[1].erase(layouts[1].begin() + 30, layouts[1].end());
    layouts[1].push_back(41);
    std::shuffle(layouts[1].begin(), layouts[1].end(), random);
    start({{0, 20, 1, 3, 5}, {0, 20, 1, 3, 6}, {0, 20, 1, 0, 7}, {0, 20, 1, 650, 8}, {0, 30, 2, 12, 9}});

    std::map<std::pair<int, int64_t>, int64_t> shown;  // (profile, key) -> colour on the picture
    for (int step = 0; step < 300; ++step) {
        SCOPED_TRACE(step);
        const int profile = 1 + pick(4) / 3;
        const auto& keys = layouts[pick(5) / 4];
        switch (pick(10)) {
            case 0:  // Reset
                for (int64_t key : keys) shown[{profile, key}] = 0;
                break;
            case 1:  // All keys
                for (int64_t key : keys) shown[{profile, key}] = 1 + pick(3);
                break;
            default:  // a few caps framed
                for (int n = 1 + pick(4); n > 0; --n) shown[{profile, keys[size_t(pick(int(keys.size())))]}] = pick(4);
        }
        std::vector<RGBData> rows;
        for (int64_t key : keys) rows.push_back({0, 10 * profile, profile, key, shown[{profile, key}]});
        store(rows);
    }
}

}  // namespace
}  // namespace keyloom::test
