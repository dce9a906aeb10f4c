#pragma once

// The lighting tab's writes to the profile database, each user action in one transaction (one commit).

#include <cstdint>
#include <functional>
#include <optional>
#include <span>
#include <vector>

#include "SQLite/RGBData.h"
#include "SQLite/RadiData.h"

namespace keyloom {

class MarrowinDeviceSQLite;

// The stored record of (profile, mode), read into a fresh record; nullopt when the database has none or fails.
std::optional<RadiData> readLightRecord(const MarrowinDeviceSQLite& db, int64_t profile, int64_t mode);

// Loading a profile: gives it its 20 default modes when it has none, and answers the mode to show (1..20). When no
// active mode is stored, or one that does not exist, mode 1 is made active and shown; without a working database
// mode 1 is shown (and nothing can be read for it).
int64_t prepareLightProfile(MarrowinDeviceSQLite& db, int64_t profile);

// Reads the record of (profile, mode), lets edit change its bytes, and stores it. False, with nothing stored, when
// the record cannot be read or the store fails.
bool changeLightRecord(MarrowinDeviceSQLite& db, int64_t profile, int64_t mode,
                       const std::function<void(std::vector<uint8_t>& record)>& edit);

// Makes mode the profile's active mode. False when the store fails.
bool activateLightMode(MarrowinDeviceSQLite& db, int64_t profile, int64_t mode);

// Stores every per-key colour row together (a black one removes the key's row), writing only the keys whose stored
// colour changes. False when the database is not open or the commit fails (nothing stored then).
bool storeKeyColours(MarrowinDeviceSQLite& db, std::span<const RGBData> rows);

}  // namespace keyloom
