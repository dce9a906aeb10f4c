#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "SQLite/MarrowinKey.h"
#include "SQLite/ProfileSQLite.h"
#include "SQLite/RadiData.h"

namespace keyloom {

// The profile database of one second-generation keyboard: settings, lighting modes, per-key colours and key
// assignments. Construction opens (creating) the file in the database folder and never fails towards the caller:
// without a connection every operation gives its no-connection result. Nothing throws. Main thread only.
class MarrowinDeviceSQLite : public ProfileSQLite {
  public:
    // `device` is the bare file name, e.g. "marrowinv2_device.sqlite3".
    explicit MarrowinDeviceSQLite(const std::string& device);

    // Lighting. A lighting image (`data`, `RadiData::buffer`) holds at least 8 bytes: byte 0 is the mode, bytes 1..7
    // the stored parameters; a shorter one is refused (false, nothing read or written).
    bool modifyRadiData(int64_t profile, int64_t mode, const std::vector<uint8_t>& data);
    bool queryRadiInfo(int64_t profile, int64_t mode, RadiData& data) const;
    // Every mode of the profile in stored order, appended; false without a connection or on failure (list unchanged).
    bool queryRadiProfile(int64_t profile, std::vector<RadiData>& dataArray) const;

    // Key assignments. The lists are only appended to; without a connection the queries give false.
    bool queryKeyMacroFromProfile(int64_t profile, std::vector<MarrowinKey>& dataArray) const;
    bool queryKeyProfile(int64_t profile, int64_t keyValue, std::vector<MarrowinKey>& dataArray) const;
    bool queryKeysProfile(int64_t profile, std::vector<MarrowinKey>& dataArray) const;
    int64_t addKeyProfile(const MarrowinKey& data);
};

}  // namespace keyloom
