// Key assignments of the second-generation profile database (t_keyprofile).
#include "SQLite/MarrowinDeviceSQLite.h"
#include "SQLite/ProfileTables.h"

namespace keyloom {

namespace {

MarrowinKey fullRow(SQLite::Statement& q) {
    MarrowinKey k;
    k.keyId = q.getColumn("keyId").getInt64();
    k.profId = q.getColumn("profId").getInt64();
    k.keyValue = q.getColumn("keyvalue").getInt64();
    k.macroType = q.getColumn("macroType").getInt64();
    k.macroValue = q.getColumn("macroValue").getInt64();
    k.macro2Value = q.getColumn("macro2Value").getInt64();
    k.macro3Value = q.getColumn("macro3Value").getInt64();
    k.macroDesc = profile_tables::textFromColumn(q.getColumn("macroDesc"));
    return k;
}

}  // namespace

bool MarrowinDeviceSQLite::queryKeyMacroFromProfile(int64_t profile, std::vector<MarrowinKey>& dataArray) const {
    return appendRows<MarrowinKey>([&](SQLite::Statement& q) { q.bind(1, profile); },
                                   R"(SELECT "keyvalue" FROM "t_keyprofile" WHERE "profId" = ? ORDER BY "keyId")",
                                   [](SQLite::Statement& q) {
                                       MarrowinKey k;
                                       k.keyValue = q.getColumn(0).getInt64();
                                       return k;
                                   },
                                   dataArray);
}

bool MarrowinDeviceSQLite::queryKeyProfile(int64_t profile, int64_t keyValue,
                                           std::vector<MarrowinKey>& dataArray) const {
    return appendRows<MarrowinKey>(
        [&](SQLite::Statement& q) {
            q.bind(1, profile);
            q.bind(2, keyValue);
        },
        R"(SELECT * FROM "t_keyprofile" WHERE "profId" = ? AND "keyvalue" = ? ORDER BY "keyId")", fullRow, dataArray);
}

bool MarrowinDeviceSQLite::queryKeysProfile(int64_t profile, std::vector<MarrowinKey>& dataArray) const {
    return appendRows<MarrowinKey>([&](SQLite::Statement& q) { q.bind(1, profile); },
                                   R"(SELECT * FROM "t_keyprofile" WHERE "profId" = ? ORDER BY "keyId")", fullRow,
                                   dataArray);
}

int64_t MarrowinDeviceSQLite::addKeyProfile(const MarrowinKey& data) {
    return replaceAssignment("t_keyprofile", data.keyValue, data.macroValue, [&data](SQLite::Database& db) {
        SQLite::Statement insert(db, R"(INSERT INTO "t_keyprofile" ("profId", "keyvalue", "macroType",
                "macroValue", "macro2Value", "macro3Value", "macroDesc") VALUES (?, ?, ?, ?, ?, ?, ?))");
        insert.bind(1, data.profId);
        insert.bind(2, data.keyValue);
        insert.bind(3, data.macroType);
        insert.bind(4, data.macroValue);
        insert.bind(5, data.macro2Value);
        insert.bind(6, data.macro3Value);
        insert.bind(7, data.macroDesc);
        insert.exec();
    });
}

}  // namespace keyloom
