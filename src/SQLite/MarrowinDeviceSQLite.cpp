#include "SQLite/MarrowinDeviceSQLite.h"

#include <array>

#include "SQLite/ProfileTables.h"

namespace keyloom {

namespace {

constexpr std::array<const char*, 5> kCreateStatements = {
    R"(CREATE TABLE IF NOT EXISTS "t_configdata" ("keyId" INTEGER PRIMARY KEY NOT NULL, "key" TEXT NOT NULL,
       "profId" INTEGER NOT NULL, "value" TEXT NOT NULL))",
    R"(CREATE TABLE IF NOT EXISTS "t_radidata" ("radiId" INTEGER PRIMARY KEY NOT NULL, "profId" INTEGER NOT NULL,
       "name" TEXT NOT NULL, "mode" INTEGER NOT NULL, "colortype" INTEGER NOT NULL, "byte2" INTEGER NOT NULL,
       "byte3" INTEGER NOT NULL, "byte4" INTEGER NOT NULL, "byte5" INTEGER NOT NULL, "byte6" INTEGER NOT NULL,
       "byte7" INTEGER NOT NULL, "status" INTEGER NOT NULL))",
    R"(CREATE TABLE IF NOT EXISTS "t_keyrgbdata" ("rgbId" INTEGER PRIMARY KEY NOT NULL, "radiId" INTEGER NOT NULL,
       "profId" INTEGER NOT NULL, "keyvalue" INTEGER NOT NULL, "rgbvalue" INTEGER NOT NULL))",
    R"(CREATE TABLE IF NOT EXISTS "t_triggerkey" ("triggerId" INTEGER PRIMARY KEY NOT NULL, "profId" INTEGER NOT NULL,
       "layer" INTEGER NOT NULL, "keyvalue" INTEGER NOT NULL, "keydesc" TEXT NOT NULL))",
    R"(CREATE TABLE IF NOT EXISTS "t_keyprofile" ("keyId" INTEGER PRIMARY KEY NOT NULL, "profId" INTEGER NOT NULL,
       "keyvalue" INTEGER NOT NULL, "macroType" INTEGER NOT NULL, "macroValue" INTEGER NOT NULL,
       "macro2Value" INTEGER NOT NULL, "macro3Value" INTEGER NOT NULL, "macroDesc" TEXT NOT NULL))",
};

constexpr std::array<ProfileSQLite::Setting, 1> kDefaultSettings = {{{"keyboardLayout", "0"}}};

// Entry n is mode n; entry 0 is never written.
constexpr std::array<const char*, 21> kModeNames = {
    "None",   "Static",   "SingleOn", "SingleOff", "Glittering", "Falling",  "Colourful",
    "Breath", "Spectrum", "Outward",  "Scrolling", "Rolling",    "Rotating", "Explode",
    "Launch", "Ripples",  "Flowing",  "Pulsating", "Tilt",       "Shuttle",  "UserDefine"};

constexpr int kScrollingMode = 10;
constexpr size_t kImageSize = 8;

// The lighting image of a stored row: [mode, colortype, byte2 .. byte7].
std::vector<uint8_t> imageOfRow(SQLite::Statement& row) {
    std::vector<uint8_t> image(kImageSize);
    image[0] = profile_tables::byteFromColumn(row.getColumn("mode"));
    image[1] = profile_tables::byteFromColumn(row.getColumn("colortype"));
    static constexpr std::array<const char*, 6> kBytes = {"byte2", "byte3", "byte4", "byte5", "byte6", "byte7"};
    for (size_t i = 0; i < kBytes.size(); ++i) image[i + 2] = profile_tables::byteFromColumn(row.getColumn(kBytes[i]));
    return image;
}

void bindDefaultMode(SQLite::Statement& insert, int64_t profile, int mode) {
    insert.bind(1, profile);
    insert.bind(2, kModeNames[mode]);
    insert.bind(3, mode);
    insert.bind(4, mode == kScrollingMode ? 3 : 0);
    insert.bind(5, mode == 1 ? 1 : 0);
}

const ProfileSQLite::Schema kSchema{
    kCreateStatements, kDefaultSettings, 20,
    R"(INSERT INTO "t_radidata" ("profId", "name", "mode", "colortype", "byte2", "byte3", "byte4", "byte5", "byte6",
       "byte7", "status") VALUES (?, ?, ?, 1, 255, 225, 0, ?, 15, 10, ?))",
    bindDefaultMode};

}  // namespace

MarrowinDeviceSQLite::MarrowinDeviceSQLite(const std::string& device) : ProfileSQLite(device, kSchema) {}

bool MarrowinDeviceSQLite::modifyRadiData(int64_t profile, int64_t mode, const std::vector<uint8_t>& data) {
    if (data.size() < kImageSize) return false;
    if (!isConnected()) return true;
    return run([&](SQLite::Database& db) {
        SQLite::Statement update(db, R"(UPDATE "t_radidata" SET "colortype" = ?, "byte2" = ?, "byte3" = ?,
            "byte4" = ?, "byte5" = ?, "byte6" = ?, "byte7" = ? WHERE "profId" = ? AND "mode" = ?)");
        for (int i = 1; i < 8; ++i) update.bind(i, static_cast<int32_t>(data[i]));
        update.bind(8, profile);
        update.bind(9, mode);
        update.exec();
    });
}

bool MarrowinDeviceSQLite::queryRadiInfo(int64_t profile, int64_t mode, RadiData& data) const {
    if (data.buffer.size() < kImageSize) return false;
    return queryRadiRow(profile, mode, [&data](SQLite::Statement& row) {
        // Read everything before touching the record, so a failure leaves it as it was. `layer` has no column.
        RadiData read = data;
        read.radiId = row.getColumn("radiId").getInt64();
        read.profId = row.getColumn("profId").getInt64();
        read.name = profile_tables::textFromColumn(row.getColumn("name"));
        const std::vector<uint8_t> image = imageOfRow(row);
        std::copy(image.begin(), image.end(), read.buffer.begin());
        read.status = row.getColumn("status").getInt64();
        data = std::move(read);
    });
}

bool MarrowinDeviceSQLite::queryRadiProfile(int64_t profile, std::vector<RadiData>& dataArray) const {
    return appendRows<RadiData>([&](SQLite::Statement& q) { q.bind(1, profile); },
                                R"(SELECT * FROM "t_radidata" WHERE "profId" = ? ORDER BY "radiId")",
                                [](SQLite::Statement& row) {
                                    RadiData record;
                                    record.radiId = row.getColumn("radiId").getInt64();
                                    record.profId = row.getColumn("profId").getInt64();
                                    record.name = profile_tables::textFromColumn(row.getColumn("name"));
                                    record.layer = 0;
                                    record.status = row.getColumn("status").getInt64();
                                    record.buffer = imageOfRow(row);
                                    return record;
                                },
                                dataArray);
}

}  // namespace keyloom
