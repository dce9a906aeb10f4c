#include "Views/Keyboard/Marrowin/core/MarrowinLightingStore.h"

#include "SQLite/MarrowinDeviceSQLite.h"
#include "Views/Keyboard/Marrowin/core/MarrowinLightModes.h"

namespace keyloom {

std::optional<RadiData> readLightRecord(const MarrowinDeviceSQLite& db, int64_t profile, int64_t mode) {
    RadiData record;
    if (!db.queryRadiInfo(profile, mode, record)) return std::nullopt;
    return record;
}

int64_t prepareLightProfile(MarrowinDeviceSQLite& db, int64_t profile) {
    if (!db.isConnected()) return 1;
    Transaction scope = db.transaction();
    const bool seeded = db.writeRadiProfile(profile);
    const int64_t stored = seeded ? db.getRadiModeSelectIndex(profile) : 0;
    const int64_t shown = shownLightMode(stored);
    if (seeded && shown != stored) db.selectRaidMode(profile, shown);
    // Without a scope (it could not start) each write above committed by itself.
    if (scope.active()) scope.commit();
    return shown;
}

bool changeLightRecord(MarrowinDeviceSQLite& db, int64_t profile, int64_t mode,
                       const std::function<void(std::vector<uint8_t>& record)>& edit) {
    std::optional<RadiData> record = readLightRecord(db, profile, mode);
    if (!record) return false;
    edit(record->buffer);
    Transaction scope = db.transaction();
    if (!db.modifyRadiData(profile, mode, record->buffer)) return false;
    return !scope.active() || scope.commit();
}

bool activateLightMode(MarrowinDeviceSQLite& db, int64_t profile, int64_t mode) {
    if (!db.isConnected()) return false;
    Transaction scope = db.transaction();
    if (!db.selectRaidMode(profile, mode)) return false;
    return !scope.active() || scope.commit();
}

bool storeKeyColours(MarrowinDeviceSQLite& db, std::span<const RGBData> rows) {
    if (!db.isConnected()) return false;
    Transaction scope = db.transaction();
    if (!db.storeKeyRGBs(rows)) return false;
    return !scope.active() || scope.commit();
}

}  // namespace keyloom
