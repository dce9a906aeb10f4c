#include "SQLite/MarrowinDeviceSQLite.h"

#include <array>

#include "SQLite/ProfileTables.h"
#include "SQLite/SQLiteConnection.h"

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

constexpr std::array<profile_tables::Setting, 1> kDefaultSettings = {{{"keyboardLayout", "0"}}};

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

}  // namespace

MarrowinDeviceSQLite::MarrowinDeviceSQLite(const std::string& device) {
    std::string error;
    db_ = SQLiteConnection::open(device, false, error);
    if (!db_) {
        profile_tables::printLine("init: connect fail " + error);
        return;
    }
    createTable();
    profile_tables::printLine("init: connect success");
}

MarrowinDeviceSQLite::~MarrowinDeviceSQLite() = default;
MarrowinDeviceSQLite::MarrowinDeviceSQLite(MarrowinDeviceSQLite&&) noexcept = default;
MarrowinDeviceSQLite& MarrowinDeviceSQLite::operator=(MarrowinDeviceSQLite&&) noexcept = default;

Transaction MarrowinDeviceSQLite::transaction() noexcept {
    return SQLiteConnection::transaction(db_);
}

void MarrowinDeviceSQLite::createTable() {
    if (!db_) return;
    if (!profile_tables::createTables(*db_, kCreateStatements)) return;
    initDBdata(1);
    profile_tables::printLine("createTable success");
}

void MarrowinDeviceSQLite::initDBdata(int64_t profile) {
    if (db_) profile_tables::writeDefaultSettings(*db_, profile, kDefaultSettings);
}

bool MarrowinDeviceSQLite::writeRadiProfile(int64_t profile) {
    return profile_tables::writeDefaultModes(
        db_.get(), profile, 20,
        R"(INSERT INTO "t_radidata" ("profId", "name", "mode", "colortype", "byte2", "byte3", "byte4", "byte5",
           "byte6", "byte7", "status") VALUES (?, ?, ?, 1, 255, 225, 0, ?, 15, 10, ?))",
        [profile](SQLite::Statement& insert, int mode) {
            insert.bind(1, profile);
            insert.bind(2, kModeNames[mode]);
            insert.bind(3, mode);
            insert.bind(4, mode == kScrollingMode ? 3 : 0);
            insert.bind(5, mode == 1 ? 1 : 0);
        });
}

bool MarrowinDeviceSQLite::modifyRadiData(int64_t profile, int64_t mode, const std::vector<uint8_t>& data) {
    if (data.size() < kImageSize) return false;
    if (!db_) return true;
    try {
        SQLite::Statement update(db_->database(), R"(UPDATE "t_radidata" SET "colortype" = ?, "byte2" = ?,
            "byte3" = ?, "byte4" = ?, "byte5" = ?, "byte6" = ?, "byte7" = ? WHERE "profId" = ? AND "mode" = ?)");
        for (int i = 1; i < 8; ++i) update.bind(i, static_cast<int32_t>(data[i]));
        update.bind(8, profile);
        update.bind(9, mode);
        update.exec();
        return true;
    } catch (...) {
        return false;
    }
}

bool MarrowinDeviceSQLite::selectRaidMode(int64_t profile, int64_t mode) {
    return profile_tables::selectRaidMode(db_.get(), profile, mode);
}

int64_t MarrowinDeviceSQLite::getRadiModeSelectIndex(int64_t profile) const {
    return profile_tables::getRadiModeSelectIndex(db_.get(), profile);
}

bool MarrowinDeviceSQLite::queryRadiInfo(int64_t profile, int64_t mode, RadiData& data) const {
    if (data.buffer.size() < kImageSize) return false;
    return profile_tables::queryRadiRow(db_.get(), profile, mode, [&data](SQLite::Statement& row) {
        // Read everything before touching the record, so a failure leaves it as it was. `layer` has no column.
        RadiData read = data;
        read.radiId = row.getColumn("radiId").getInt64();
        read.profId = row.getColumn("profId").getInt64();
        read.name = row.getColumn("name").getText();
        const std::vector<uint8_t> image = imageOfRow(row);
        std::copy(image.begin(), image.end(), read.buffer.begin());
        read.status = row.getColumn("status").getInt64();
        data = std::move(read);
    });
}

bool MarrowinDeviceSQLite::queryRadiProfile(int64_t profile, std::vector<RadiData>& dataArray) const {
    return profile_tables::appendRows<RadiData>(
        db_.get(), [&](SQLite::Statement& q) { q.bind(1, profile); },
        R"(SELECT * FROM "t_radidata" WHERE "profId" = ? ORDER BY "radiId")",
        [](SQLite::Statement& row) {
            RadiData record;
            record.radiId = row.getColumn("radiId").getInt64();
            record.profId = row.getColumn("profId").getInt64();
            record.name = row.getColumn("name").getText();
            record.layer = 0;
            record.status = row.getColumn("status").getInt64();
            record.buffer = imageOfRow(row);
            return record;
        },
        dataArray);
}

void MarrowinDeviceSQLite::insertKeyRGB(const RGBData& data) {
    profile_tables::insertKeyRGB(db_.get(), data);
}

bool MarrowinDeviceSQLite::queryKeyRGB(int64_t profile, std::vector<RGBData>& dataArray) const {
    return profile_tables::queryKeyRGB(db_.get(), profile, dataArray);
}

bool MarrowinDeviceSQLite::updateConfigData(int64_t profile, const std::string& keyValue, const std::string& newvalue) {
    return profile_tables::updateConfigData(db_.get(), profile, keyValue, newvalue);
}

std::string MarrowinDeviceSQLite::getConfigData(int64_t profile, const std::string& keyValue) const {
    return profile_tables::getConfigData(db_.get(), profile, keyValue);
}

}  // namespace keyloom
