#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "SQLite/KeyMacro.h"
#include "SQLite/ProfileSQLite.h"
#include "SQLite/RadiData.h"

namespace keyloom {

// The profile database of one first-generation keyboard: settings, lighting modes, per-key colours, key and knob
// assignments. Construction opens (creating) the file in the database folder and never fails towards the caller:
// without a connection every operation gives its no-connection result. Nothing throws. Main thread only.
class DeviceSQLite : public ProfileSQLite {
  public:
    // `device` is the bare file name, e.g. databaseName(vendorId, productId).
    explicit DeviceSQLite(const std::string& device);

    // "%d%d_device.sqlite3" from the keyboard's vendor and product id, in decimal.
    static std::string databaseName(int64_t vendorId, int64_t productId);

    // Lighting. A lighting image (`data`, `RadiData::buffer`) holds at least 8 bytes: byte 2 is the mode, bytes 3..7
    // the stored parameters; a shorter one is refused (false, nothing read or written).
    bool modifyRadiData(int64_t profile, int64_t mode, const std::vector<uint8_t>& data);
    bool queryRadiInfo(int64_t profile, int64_t mode, RadiData& data) const;

    // Key and knob assignments. The lists are only appended to; without a connection the queries give false.
    bool queryKeyMacroFromProfile(int64_t profile, std::vector<KeyMacro>& dataArray) const;
    bool queryKnobMacroFromProfile(int64_t profile, std::vector<KeyMacro>& dataArray) const;
    bool queryKeyProfile(int64_t profile, int64_t keyValue, std::vector<KeyMacro>& dataArray) const;
    bool queryKnobProfile(int64_t profile, int64_t keyValue, std::vector<KeyMacro>& dataArray) const;
    int64_t addKeyProfile(const KeyMacro& data);
    int64_t addKnobProfile(const KeyMacro& data);
};

}  // namespace keyloom
