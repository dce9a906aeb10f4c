#include "SQLite/DeviceSQLite.h"

#include <array>

#include "SQLite/ProfileTables.h"

namespace keyloom {

namespace {

constexpr std::array<const char*, 6> kCreateStatements = {
    R"(CREATE TABLE IF NOT EXISTS "t_configdata" ("keyId" INTEGER PRIMARY KEY NOT NULL, "key" TEXT NOT NULL,
       "profId" INTEGER NOT NULL, "value" TEXT NOT NULL))",
    R"(CREATE TABLE IF NOT EXISTS "t_radidata" ("radiId" INTEGER PRIMARY KEY NOT NULL, "profId" INTEGER NOT NULL,
       "name" TEXT NOT NULL, "mode" INTEGER NOT NULL, "byte3" INTEGER NOT NULL, "byte4" INTEGER NOT NULL,
       "byte5" INTEGER NOT NULL, "byte6" INTEGER NOT NULL, "byte7" INTEGER NOT NULL, "layer" INTEGER NOT NULL,
       "status" INTEGER NOT NULL))",
    R"(CREATE TABLE IF NOT EXISTS "t_keyrgbdata" ("rgbId" INTEGER PRIMARY KEY NOT NULL, "radiId" INTEGER NOT NULL,
       "profId" INTEGER NOT NULL, "keyvalue" INTEGER NOT NULL, "rgbvalue" INTEGER NOT NULL))",
    R"(CREATE TABLE IF NOT EXISTS "t_triggerkey" ("triggerId" INTEGER PRIMARY KEY NOT NULL, "profId" INTEGER NOT NULL,
       "layer" INTEGER NOT NULL, "keyvalue" INTEGER NOT NULL, "keydesc" TEXT NOT NULL))",
    R"(CREATE TABLE IF NOT EXISTS "t_keyprofile" ("keyId" INTEGER PRIMARY KEY NOT NULL, "profId" INTEGER NOT NULL,
       "keyvalue" INTEGER NOT NULL, "macroType" INTEGER NOT NULL, "macroValue" INTEGER NOT NULL,
       "macroDesc" TEXT NOT NULL, "reserve1" INTEGER NOT NULL, "reserve2" INTEGER NOT NULL,
       "reveDesc1" TEXT NOT NULL, "reveDesc2" TEXT NOT NULL))",
    R"(CREATE TABLE IF NOT EXISTS "t_knobprofile" ("knobId" INTEGER PRIMARY KEY NOT NULL, "profId" INTEGER NOT NULL,
       "layer" INTEGER NOT NULL, "keyvalue" INTEGER NOT NULL, "macroType" INTEGER NOT NULL,
       "macroValue" INTEGER NOT NULL, "macroDesc" TEXT NOT NULL, "reserve1" INTEGER NOT NULL,
       "reserve2" INTEGER NOT NULL, "reveDesc1" TEXT NOT NULL, "reveDesc2" TEXT NOT NULL))",
};

constexpr std::array<ProfileSQLite::Setting, 5> kDefaultSettings = {{
    {"sleepCloseLight", "1"},
    {"reportRate", "2"},
    {"idleUSBWireSleep", "300"},
    {"idleWirelessLight", "120"},
    {"idleWirelessSleep", "180"},
}};

// Entry n is mode n; entry 0 is never written.
constexpr std::array<const char*, 13> kModeNames = {
    "None",     "Static",  "Spectrum", "Radibow",   "Power Gauge", "Breathing", "Twinkling Stars",
    "Reactive", "Marquee", "Aurora",   "Icey Fire", "Fn",          "Custom"};

struct DefaultMode {
    int byte3, byte4, byte5, byte6, status;
};
// Indexed by mode - 1; byte7 and layer are 0 in every row.
constexpr std::array<DefaultMode, 12> kDefaultModes = {{
    {0x8F, 0xFF, 0xE1, 0x00, 1},
    {0x2F, 0x00, 0x00, 0x00, 0},
    {0x2F, 0x01, 0x00, 0x00, 0},
    {0x2F, 0x00, 0x00, 0x00, 0},
    {0x2F, 0xFF, 0xE1, 0x00, 0},
    {0x2F, 0xFF, 0xE1, 0x00, 0},
    {0x2F, 0xFF, 0xE1, 0x00, 0},
    {0x2F, 0x00, 0x00, 0x00, 0},
    {0x2F, 0xFF, 0xE1, 0x00, 0},
    {0x2F, 0x00, 0xFF, 0xE1, 0},
    {0x30, 0x00, 0xFF, 0xE1, 0},
    {0x0F, 0x00, 0x00, 0x00, 0},
}};

constexpr size_t kImageSize = 8;

void bindDefaultMode(SQLite::Statement& insert, int64_t profile, int mode) {
    const DefaultMode& row = kDefaultModes[mode - 1];
    insert.bind(1, profile);
    insert.bind(2, kModeNames[mode]);
    insert.bind(3, mode);
    insert.bind(4, row.byte3);
    insert.bind(5, row.byte4);
    insert.bind(6, row.byte5);
    insert.bind(7, row.byte6);
    insert.bind(8, row.status);
}

const ProfileSQLite::Schema kSchema{
    kCreateStatements, kDefaultSettings, 12,
    R"(INSERT INTO "t_radidata" ("profId", "name", "mode", "byte3", "byte4", "byte5", "byte6", "byte7", "layer",
       "status") VALUES (?, ?, ?, ?, ?, ?, ?, 0, 0, ?))",
    bindDefaultMode};

}  // namespace

DeviceSQLite::DeviceSQLite(const std::string& device) : ProfileSQLite(device, kSchema) {}

std::string DeviceSQLite::databaseName(int64_t vendorId, int64_t productId) {
    return std::to_string(vendorId) + std::to_string(productId) + "_device.sqlite3";
}

bool DeviceSQLite::modifyRadiData(int64_t profile, int64_t mode, const std::vector<uint8_t>& data) {
    if (data.size() < kImageSize) return false;
    if (!isConnected()) return false;  // nothing was stored: the caller must not send as if it had been
    return run([&](SQLite::Database& db) {
        SQLite::Statement update(db, R"(UPDATE "t_radidata" SET "byte3" = ?, "byte4" = ?, "byte5" = ?, "byte6" = ?,
            "byte7" = ? WHERE "profId" = ? AND "mode" = ?)");
        for (int i = 3; i < 8; ++i) update.bind(i - 2, static_cast<int32_t>(data[i]));
        update.bind(6, profile);
        update.bind(7, mode);
        update.exec();
    });
}

bool DeviceSQLite::queryRadiInfo(int64_t profile, int64_t mode, RadiData& data) const {
    if (data.buffer.size() < kImageSize) return false;
    return queryRadiRow(profile, mode, [&data](SQLite::Statement& row) {
        // Read everything before touching the record, so a failure leaves it as it was.
        RadiData read = data;
        read.radiId = row.getColumn("radiId").getInt64();
        read.profId = row.getColumn("profId").getInt64();
        read.name = profile_tables::textFromColumn(row.getColumn("name"));
        read.buffer[2] = profile_tables::byteFromColumn(row.getColumn("mode"));
        read.buffer[3] = profile_tables::byteFromColumn(row.getColumn("byte3"));
        read.buffer[4] = profile_tables::byteFromColumn(row.getColumn("byte4"));
        read.buffer[5] = profile_tables::byteFromColumn(row.getColumn("byte5"));
        read.buffer[6] = profile_tables::byteFromColumn(row.getColumn("byte6"));
        read.buffer[7] = profile_tables::byteFromColumn(row.getColumn("byte7"));
        read.layer = row.getColumn("layer").getInt64();
        read.status = row.getColumn("status").getInt64();
        data = std::move(read);
    });
}

}  // namespace keyloom
