#include <gtest/gtest.h>

#include "LightingTestSupport.h"
#include "SQLite/MarrowinDeviceSQLite.h"
#include "Views/Keyboard/Marrowin/core/MarrowinLightModes.h"
#include "Views/Keyboard/Marrowin/core/MarrowinLightingBlock.h"
#include "Views/Keyboard/Marrowin/core/MarrowinLightingStore.h"
#include "support/TestSupport.h"

namespace keyloom {
namespace {

using test::bytesAt;
using test::hex;

constexpr const char* kFile = "ostrelpro_device.sqlite3";

std::vector<uint8_t> repeated(const std::vector<uint8_t>& unit, size_t times) {
    std::vector<uint8_t> out;
    for (size_t i = 0; i < times; ++i) out.insert(out.end(), unit.begin(), unit.end());
    return out;
}

class LightingStoreTest : public ::testing::Test {
  protected:
    void SetUp() override {
        testing::internal::CaptureStdout();
        db = std::make_unique<MarrowinDeviceSQLite>(kFile);
        testing::internal::GetCapturedStdout();
    }
    const KeyCodeMap& ostrel = test::codeMapOf(KeyModelId::Ostrel61);
    test::TempDataHome home;
    std::unique_ptr<MarrowinDeviceSQLite> db;
};

// Mode 20 active: its slot carries only the brightness, the active copy every field under 0x80; a stored colour
// for Escape lands on the fixed entry 19 except on the Vindle and the OstrelTE.
TEST_F(LightingStoreTest, PerKeyModeAndEscapeOnEachDeviceType) {
    ASSERT_EQ(prepareLightProfile(*db, 1), 1);
    ASSERT_TRUE(changeLightRecord(*db, 1, 20, [](std::vector<uint8_t>& r) { r[light_record::kBrightness] = 9; }));
    ASSERT_TRUE(activateLightMode(*db, 1, 20));
    const auto mode20 = readLightRecord(*db, 1, 20);
    ASSERT_TRUE(mode20);
    ASSERT_TRUE(storeKeyColours(*db, std::vector<RGBData>{{0, mode20->radiId, 1, 41, 0x102030}}));
    for (const auto& [deviceType, model] : test::kDeviceModels) {
        SCOPED_TRACE(deviceType);
        const auto block = readLightingBlock(*db, 1, test::codeMapOf(model), deviceType);
        ASSERT_TRUE(block);
        EXPECT_EQ(bytesAt(*block, 16 * 19, 16), hex("80 00 00 00 00 00 00 00 00 09 00 00 00 00 AA 55"));
        EXPECT_EQ(bytesAt(*block, 1088, 16), hex("80 FF E1 00 00 00 00 00 01 09 0A 00 00 00 AA 55"));
        const bool fixed = deviceType != 102 && deviceType != 105 && deviceType != 106;
        const size_t escape = fixed ? 19 : 1;
        for (size_t p = 0; p < 144; ++p)
            EXPECT_EQ(bytesAt(*block, 512 + 4 * p, 4), p == escape ? hex("80 10 20 30") : hex("80 00 00 00")) << p;
    }
}

TEST_F(LightingStoreTest, NothingToSendWithoutAWorkingStoreButAnEmptyProfileIsSent) {
    EXPECT_TRUE(readLightingBlock(*db, 2, ostrel, 100));  // profile 2 has no rows
    EXPECT_EQ(*readLightingBlock(*db, 2, ostrel, 100), LightingBlock{});
    for (test::Broken how : {test::Broken::NoConnection, test::Broken::NotADatabase}) {
        test::TempDataHome other;
        if (how == test::Broken::NoConnection) test::breakStore(how, kFile);
        test::QuietStdout quiet;
        MarrowinDeviceSQLite broken(kFile);
        // A file found damaged at open is moved aside and started afresh: this one is damaged once open.
        if (how == test::Broken::NotADatabase) test::breakStore(how, kFile);
        EXPECT_EQ(prepareLightProfile(broken, 1), 1);
        quiet.finish();
        EXPECT_FALSE(readLightingBlock(broken, 1, ostrel, 100)) << static_cast<int>(how);
        EXPECT_FALSE(readLightRecord(broken, 1, 1));
        EXPECT_FALSE(changeLightRecord(broken, 1, 1, [](std::vector<uint8_t>&) {}));
    }
}

TEST(LightingBlock, RecordsColoursAndPositionsOutsideTheBlockAreSkipped) {
    const auto record = [](uint8_t mode, int64_t status) {
        return RadiData{.status = status, .buffer = {mode, 1, 0x11, 0x22, 0x33, 2, 7, 5}};
    };
    const KeyCodeMap map{{4, codeRow("a", "A", "A", 143)},
                         {5, codeRow("b", "B", "B", 144)},
                         {6, codeRow("c", "C", "C", -1)},
                         {41, codeRow("escape", "Esc", "Esc", 1)}};
    // 33 records: the last one would overlap the per-key area.
    std::vector<RadiData> records(33, record(3, 0));
    records[32] = record(99, 1);
    auto block = buildLightingBlock(records, {}, map, 1);
    EXPECT_EQ(bytesAt(block, 16 * 31, 16), hex("03 11 22 33 00 00 00 00 01 07 05 02 00 00 AA 55"));
    EXPECT_EQ(bytesAt(block, 512, 768), std::vector<uint8_t>(768, 0)) << "no mode-20 record, no active one";

    const std::vector<RGBData> colours = {
        {1, 0, 1, 4, 0xAABBCC},     // the last entry
        {2, 0, 1, 5, 0x111111},     // one past it
        {3, 0, 1, 6, 0x222222},     // negative
        {4, 0, 1, 9, 0x333333},     // not in the map
        {5, 0, 1, 41, 0x01020304},  // only the low 24 bits
        {6, 0, 1, 41, 0x0A0B0C},    // a later row for the same entry wins
    };
    block = buildLightingBlock(std::vector<RadiData>{record(20, 0), RadiData{.buffer = {1, 2, 3}}}, colours, map, 1);
    std::vector<uint8_t> area = repeated(hex("80 00 00 00"), 144);
    area[4 * 143 + 1] = 0xAA, area[4 * 143 + 2] = 0xBB, area[4 * 143 + 3] = 0xCC;
    area[4 * 19 + 1] = 0x0A, area[4 * 19 + 2] = 0x0B, area[4 * 19 + 3] = 0x0C;
    EXPECT_EQ(bytesAt(block, 512, 576), area);
    EXPECT_EQ(bytesAt(block, 16, 16), std::vector<uint8_t>(16, 0)) << "a record too short to read";
    EXPECT_EQ(bytesAt(block, 1088, 16), std::vector<uint8_t>(16, 0));

    EXPECT_EQ(perKeyPosition(41, map, 102), 1u);
    EXPECT_EQ(perKeyPosition(41, map, 103), 19u);
    EXPECT_EQ(perKeyPosition(78, map, 100), std::nullopt);  // a fixed code the map lacks
    EXPECT_EQ(perKeyPosition(78, test::codeMapOf(KeyModelId::Tolmek84), 101), 115u);
}

}  // namespace
}  // namespace keyloom
