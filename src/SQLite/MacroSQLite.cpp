// Key and knob assignments of the first-generation profile database (t_keyprofile, t_knobprofile).
#include "SQLite/DeviceSQLite.h"
#include "SQLite/ProfileTables.h"

namespace keyloom {

namespace {

void bindProfile(SQLite::Statement& q, int64_t profile) {
    q.bind(1, profile);
}

KeyMacro keyOnly(SQLite::Statement& q) {
    KeyMacro m;
    m.keyValue = q.getColumn(0).getInt64();
    return m;
}

KeyMacro keyAndLayer(SQLite::Statement& q) {
    KeyMacro m;
    m.keyValue = q.getColumn(0).getInt64();
    m.layerId = q.getColumn(1).getInt64();
    return m;
}

KeyMacro fullKeyRow(SQLite::Statement& q) {
    KeyMacro m;
    m.keyId = q.getColumn("keyId").getInt64();
    m.profId = q.getColumn("profId").getInt64();
    m.keyValue = q.getColumn("keyvalue").getInt64();
    m.macroType = q.getColumn("macroType").getInt64();
    m.macroValue = q.getColumn("macroValue").getInt64();
    m.macroDesc = profile_tables::textFromColumn(q.getColumn("macroDesc"));
    m.reserve1 = q.getColumn("reserve1").getInt64();
    m.reserve2 = q.getColumn("reserve2").getInt64();
    m.rev1Desc = profile_tables::textFromColumn(q.getColumn("reveDesc1"));
    m.rev2Desc = profile_tables::textFromColumn(q.getColumn("reveDesc2"));
    return m;
}

KeyMacro fullKnobRow(SQLite::Statement& q) {
    KeyMacro m;
    m.keyId = q.getColumn("knobId").getInt64();
    m.layerId = q.getColumn("layer").getInt64();
    m.profId = q.getColumn("profId").getInt64();
    m.keyValue = q.getColumn("keyvalue").getInt64();
    m.macroType = q.getColumn("macroType").getInt64();
    m.macroValue = q.getColumn("macroValue").getInt64();
    m.macroDesc = profile_tables::textFromColumn(q.getColumn("macroDesc"));
    m.reserve1 = q.getColumn("reserve1").getInt64();
    m.reserve2 = q.getColumn("reserve2").getInt64();
    m.rev1Desc = profile_tables::textFromColumn(q.getColumn("reveDesc1"));
    m.rev2Desc = profile_tables::textFromColumn(q.getColumn("reveDesc2"));
    return m;
}

}  // namespace

bool DeviceSQLite::queryKeyMacroFromProfile(int64_t profile, std::vector<KeyMacro>& dataArray) const {
    return appendRows<KeyMacro>([&](SQLite::Statement& q) { bindProfile(q, profile); },
                                R"(SELECT "keyvalue" FROM "t_keyprofile" WHERE "profId" = ? ORDER BY "keyId")", keyOnly,
                                dataArray);
}

bool DeviceSQLite::queryKnobMacroFromProfile(int64_t profile, std::vector<KeyMacro>& dataArray) const {
    return appendRows<KeyMacro>(
        [&](SQLite::Statement& q) { bindProfile(q, profile); },
        R"(SELECT "keyvalue", "layer" FROM "t_knobprofile" WHERE "profId" = ? ORDER BY "knobId")", keyAndLayer,
        dataArray);
}

bool DeviceSQLite::queryKeyProfile(int64_t profile, int64_t keyValue, std::vector<KeyMacro>& dataArray) const {
    return appendRows<KeyMacro>(
        [&](SQLite::Statement& q) {
            q.bind(1, profile);
            q.bind(2, keyValue);
        },
        R"(SELECT * FROM "t_keyprofile" WHERE "profId" = ? AND "keyvalue" = ? ORDER BY "keyId")", fullKeyRow,
        dataArray);
}

bool DeviceSQLite::queryKnobProfile(int64_t profile, int64_t keyValue, std::vector<KeyMacro>& dataArray) const {
    return appendRows<KeyMacro>(
        [&](SQLite::Statement& q) {
            q.bind(1, profile);
            q.bind(2, keyValue);
        },
        R"(SELECT * FROM "t_knobprofile" WHERE "profId" = ? AND "keyvalue" = ? ORDER BY "knobId")", fullKnobRow,
        dataArray);
}

int64_t DeviceSQLite::addKeyProfile(const KeyMacro& data) {
    return replaceAssignment("t_keyprofile", data.keyValue, data.macroValue, [&data](SQLite::Database& db) {
        SQLite::Statement insert(db, R"(INSERT INTO "t_keyprofile" ("profId", "keyvalue", "macroType",
                "macroValue", "macroDesc", "reserve1", "reserve2", "reveDesc1", "reveDesc2")
                VALUES (?, ?, ?, ?, ?, ?, ?, ?, ?))");
        insert.bind(1, data.profId);
        insert.bind(2, data.keyValue);
        insert.bind(3, data.macroType);
        insert.bind(4, data.macroValue);
        insert.bind(5, data.macroDesc);
        insert.bind(6, data.reserve1);
        insert.bind(7, data.reserve2);
        insert.bind(8, data.rev1Desc);
        insert.bind(9, data.rev2Desc);
        insert.exec();
    });
}

int64_t DeviceSQLite::addKnobProfile(const KeyMacro& data) {
    return replaceAssignment("t_knobprofile", data.keyValue, data.macroValue, [&data](SQLite::Database& db) {
        SQLite::Statement insert(db, R"(INSERT INTO "t_knobprofile" ("profId", "keyvalue", "layer", "macroType",
                "macroValue", "macroDesc", "reserve1", "reserve2", "reveDesc1", "reveDesc2")
                VALUES (?, ?, ?, ?, ?, ?, ?, ?, ?, ?))");
        insert.bind(1, data.profId);
        insert.bind(2, data.keyValue);
        insert.bind(3, data.layerId);
        insert.bind(4, data.macroType);
        insert.bind(5, data.macroValue);
        insert.bind(6, data.macroDesc);
        insert.bind(7, data.reserve1);
        insert.bind(8, data.reserve2);
        insert.bind(9, data.rev1Desc);
        insert.bind(10, data.rev2Desc);
        insert.exec();
    });
}

}  // namespace keyloom
