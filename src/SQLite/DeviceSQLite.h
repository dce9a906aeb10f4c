#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "SQLite/KeyMacro.h"
#include "SQLite/RGBData.h"
#include "SQLite/RadiData.h"
#include "SQLite/Transaction.h"

namespace keyloom {

class SQLiteConnection;

// The profile database of one first-generation keyboard: settings, lighting modes, per-key colours, key and knob
// assignments. Construction opens (creating) the file in the database folder and never fails towards the caller:
// without a connection every operation gives its no-connection result. Nothing throws. Main thread only.
class DeviceSQLite {
  public:
    // `device` is the bare file name, e.g. databaseName(vendorId, productId).
    explicit DeviceSQLite(const std::string& device);
    ~DeviceSQLite();
    DeviceSQLite(DeviceSQLite&&) noexcept;
    DeviceSQLite& operator=(DeviceSQLite&&) noexcept;
    DeviceSQLite(const DeviceSQLite&) = delete;
    DeviceSQLite& operator=(const DeviceSQLite&) = delete;

    // "%d%d_device.sqlite3" from the keyboard's vendor and product id, in decimal.
    static std::string databaseName(int64_t vendorId, int64_t productId);

    bool isConnected() const noexcept { return db_ != nullptr; }
    // One scope for the writes of one user action (see Transaction); inactive without a connection.
    Transaction transaction() noexcept;

    // Schema and default rows.
    void createTable();
    void initDBdata(int64_t profile);
    bool writeRadiProfile(int64_t profile);

    // Lighting, colours, settings. A lighting image (`data`, `RadiData::buffer`) holds at least 8 bytes: byte 2 is
    // the mode, bytes 3..7 the stored parameters; a shorter one is refused (false, nothing read or written).
    bool modifyRadiData(int64_t profile, int64_t mode, const std::vector<uint8_t>& data);
    bool selectRaidMode(int64_t profile, int64_t mode);
    int64_t getRadiModeSelectIndex(int64_t profile) const;
    bool queryRadiInfo(int64_t profile, int64_t mode, RadiData& data) const;
    void insertKeyRGB(const RGBData& data);
    bool queryKeyRGB(int64_t profile, std::vector<RGBData>& dataArray) const;
    bool updateConfigData(int64_t profile, const std::string& keyValue, const std::string& newvalue);
    std::string getConfigData(int64_t profile, const std::string& keyValue) const;

    // Key and knob assignments. The lists are only appended to; without a connection the queries give false.
    bool queryKeyMacroFromProfile(int64_t profile, std::vector<KeyMacro>& dataArray) const;
    bool queryKnobMacroFromProfile(int64_t profile, std::vector<KeyMacro>& dataArray) const;
    bool queryKeyProfile(int64_t profile, int64_t keyValue, std::vector<KeyMacro>& dataArray) const;
    bool queryKnobProfile(int64_t profile, int64_t keyValue, std::vector<KeyMacro>& dataArray) const;
    int64_t addKeyProfile(const KeyMacro& data);
    int64_t addKnobProfile(const KeyMacro& data);

  private:
    std::shared_ptr<SQLiteConnection> db_;
};

}  // namespace keyloom
