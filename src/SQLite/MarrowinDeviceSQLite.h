#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "SQLite/MarrowinKey.h"
#include "SQLite/RGBData.h"
#include "SQLite/RadiData.h"
#include "SQLite/Transaction.h"

namespace keyloom {

class SQLiteConnection;

// The profile database of one second-generation keyboard: settings, lighting modes, per-key colours and key
// assignments. Construction opens (creating) the file in the database folder and never fails towards the caller:
// without a connection every operation gives its no-connection result. Nothing throws. Main thread only.
class MarrowinDeviceSQLite {
  public:
    // `device` is the bare file name, e.g. "marrowinv2_device.sqlite3".
    explicit MarrowinDeviceSQLite(const std::string& device);
    ~MarrowinDeviceSQLite();
    MarrowinDeviceSQLite(MarrowinDeviceSQLite&&) noexcept;
    MarrowinDeviceSQLite& operator=(MarrowinDeviceSQLite&&) noexcept;
    MarrowinDeviceSQLite(const MarrowinDeviceSQLite&) = delete;
    MarrowinDeviceSQLite& operator=(const MarrowinDeviceSQLite&) = delete;

    bool isConnected() const noexcept { return db_ != nullptr; }
    // One scope for the writes of one user action (see Transaction); inactive without a connection.
    Transaction transaction() noexcept;

    // Schema and default rows.
    void createTable();
    void initDBdata(int64_t profile);
    bool writeRadiProfile(int64_t profile);

    // Lighting, colours, settings. A lighting image (`data`, `RadiData::buffer`) holds at least 8 bytes: byte 0 is
    // the mode, bytes 1..7 the stored parameters; a shorter one is refused (false, nothing read or written).
    bool modifyRadiData(int64_t profile, int64_t mode, const std::vector<uint8_t>& data);
    bool selectRaidMode(int64_t profile, int64_t mode);
    int64_t getRadiModeSelectIndex(int64_t profile) const;
    bool queryRadiInfo(int64_t profile, int64_t mode, RadiData& data) const;
    // Every mode of the profile in stored order, appended; false without a connection or on failure (list unchanged).
    bool queryRadiProfile(int64_t profile, std::vector<RadiData>& dataArray) const;
    void insertKeyRGB(const RGBData& data);
    bool queryKeyRGB(int64_t profile, std::vector<RGBData>& dataArray) const;
    bool updateConfigData(int64_t profile, const std::string& keyValue, const std::string& newvalue);
    std::string getConfigData(int64_t profile, const std::string& keyValue) const;

    // Key assignments. The lists are only appended to; without a connection the queries give false.
    bool queryKeyMacroFromProfile(int64_t profile, std::vector<MarrowinKey>& dataArray) const;
    bool queryKeyProfile(int64_t profile, int64_t keyValue, std::vector<MarrowinKey>& dataArray) const;
    bool queryKeysProfile(int64_t profile, std::vector<MarrowinKey>& dataArray) const;
    int64_t addKeyProfile(const MarrowinKey& data);

  private:
    std::shared_ptr<SQLiteConnection> db_;
};

}  // namespace keyloom
