#include <gtest/gtest.h>

#include "SQLite/LocalSQLite.h"
#include "StorageTestHelpers.h"

namespace keyloom {
namespace {

using namespace test;
using namespace std::string_literals;

// A lighting mode's name is written only by the defaults or by an outside writer: bound with its length here.
void storeName(const std::string& file, const std::string& name) {
    SQLite::Database db(databasePath(file), SQLite::OPEN_READWRITE);
    SQLite::Statement update(db, "UPDATE t_radidata SET name = ? WHERE profId = 1 AND mode = 2");
    update.bind(1, name);
    update.exec();
}

struct Stores {
    DeviceSQLite& gen1;
    MarrowinDeviceSQLite& gen2;
};

// Stores `text` where the read looks and gives back what the read returns.
struct TextRead {
    const char* read;
    std::function<std::string(Stores&, const std::string& text)> roundTrip;
};

const TextRead kReads[] = {
    {"first getConfigData",
     [](Stores& s, const std::string& t) {
         s.gen1.updateConfigData(1, "reportRate", t);
         return s.gen1.getConfigData(1, "reportRate");
     }},
    {"second getConfigData",
     [](Stores& s, const std::string& t) {
         s.gen2.updateConfigData(1, "keyboardLayout", t);
         return s.gen2.getConfigData(1, "keyboardLayout");
     }},
    {"first queryRadiInfo name",
     [](Stores& s, const std::string& t) {
         storeName(kGen1, t);
         RadiData r;
         s.gen1.queryRadiInfo(1, 2, r);
         return r.name;
     }},
    {"second queryRadiInfo and queryRadiProfile name",
     [](Stores& s, const std::string& t) {
         storeName(kGen2, t);
         RadiData r;
         std::vector<RadiData> all;
         s.gen2.queryRadiInfo(1, 2, r);
         s.gen2.queryRadiProfile(1, all);
         return all.at(1).name == r.name ? r.name : "differs";
     }},
    {"first queryKeyProfile descriptions",
     [](Stores& s, const std::string& t) {
         s.gen1.addKeyProfile(
             {.profId = 1, .keyValue = 4, .macroValue = 1, .macroDesc = t, .rev1Desc = t, .rev2Desc = t});
         std::vector<KeyMacro> keys;
         s.gen1.queryKeyProfile(1, 4, keys);
         const KeyMacro& k = keys.at(0);
         return k.rev1Desc == k.macroDesc && k.rev2Desc == k.macroDesc ? k.macroDesc : "differs";
     }},
    {"first queryKnobProfile descriptions",
     [](Stores& s, const std::string& t) {
         s.gen1.addKnobProfile(
             {.profId = 1, .keyValue = 250, .macroValue = 1, .macroDesc = t, .rev1Desc = t, .rev2Desc = t});
         std::vector<KeyMacro> knobs;
         s.gen1.queryKnobProfile(1, 250, knobs);
         const KeyMacro& k = knobs.at(0);
         return k.rev1Desc == k.macroDesc && k.rev2Desc == k.macroDesc ? k.macroDesc : "differs";
     }},
    {"second queryKeyProfile and queryKeysProfile description",
     [](Stores& s, const std::string& t) {
         s.gen2.addKeyProfile({.profId = 1, .keyValue = 4, .macroValue = 1, .macroDesc = t});
         std::vector<MarrowinKey> one, all;
         s.gen2.queryKeyProfile(1, 4, one);
         s.gen2.queryKeysProfile(1, all);
         return all.at(0).macroDesc == one.at(0).macroDesc ? one.at(0).macroDesc : "differs";
     }},
    {"login e-mail and digest",
     [](Stores&, const std::string& t) {
         LoginData data;
         printed([&] {
             LocalSQLite().updateLoginData({0, t, t, 1, 0});
             LocalSQLite().getLoginData(data);
         });
         return data.psw == data.email ? data.email : "differs";
     }},
};

using StoredTexts = Stored;

TEST_F(StoredTexts, ComeBackWhole) {
    Stores stores{*gen1, *gen2};
    for (const std::string& text : {"a\0b"s, "\0z"s, "nul\0mail@x.io"s, "Grüße ключ 键 🎹"s}) {
        for (const TextRead& r : kReads) {
            SCOPED_TRACE(r.read + (" / " + ::testing::PrintToString(text)));
            EXPECT_EQ(r.roundTrip(stores, text), text);
        }
    }
}

}  // namespace
}  // namespace keyloom
