#include <gtest/gtest.h>

#include <atomic>

#include "SQLite/MarrowinDeviceSQLite.h"
#include "VelkorDevice/MarrowinV2.h"
#include "Views/Keyboard/KeyLayout/KeyModels.h"
#include "Views/Keyboard/Marrowin/core/MarrowinKeyTable.h"
#include "marrowin_lighting/LightingTestSupport.h"
#include "platform/hid/SimulatedHid.h"
#include "platform/hid/SimulatedHidScope.h"
#include "support/MarrowinKeyRows.h"
#include "support/TestSupport.h"

namespace keyloom {
namespace {

using test::hex;
using Dir = SimulatedKeyboard::Direction;
using Transfer = SimulatedKeyboard::Transfer;

std::vector<uint8_t> command(const char* head) {
    auto bytes = hex(head);
    bytes.resize(64, 0);
    return bytes;
}

std::vector<Transfer> setGet(const std::vector<uint8_t>& bytes) {
    return {{Dir::Set, HidReportType::Feature, 4, bytes}, {Dir::Get, HidReportType::Feature, 4, bytes}};
}

class KeyTableUpload : public ::testing::Test {
  protected:
    void SetUp() override {
        testing::internal::CaptureStdout();
        db = std::make_unique<MarrowinDeviceSQLite>("ostrelpro_device.sqlite3");
        testing::internal::GetCapturedStdout();
    }
    std::optional<KeyTable> table() const { return readKeyTable(*db, 1, test::codeMapOf(KeyModelId::Ostrel61)); }
    void store(int64_t code, int64_t type, int64_t value, int64_t value2 = 0) {
        ASSERT_GT(db->addKeyProfile(test::marrowinKeyRow(code, type, value, value2)), 0);
    }
    bool send(const KeyTable& t) {
        testing::internal::CaptureStdout();  // the block reports are printed
        const bool ok = sendKeyTable(*channel, t);
        testing::internal::GetCapturedStdout();
        return ok;
    }

    test::TempDataHome home;
    SimulatedHidScope scope;
    std::unique_ptr<MarrowinDeviceSQLite> db;
    std::shared_ptr<SimulatedKeyboard> kb = SimulatedHid::instance().plug(SimulatedKeyboard::ostrel61());
    std::atomic<int> pauses{0};
    std::shared_ptr<MarrowinV2> channel =
        std::make_shared<MarrowinV2>(kb->device(), [this](std::chrono::milliseconds d) { pauses += int(d.count()); });
};

// An empty profile: commands 1 and 2 read back, ten blocks of zeros but AA 55 at the end of the last, command 3.
TEST_F(KeyTableUpload, EmptyProfileGoldenBytes) {
    const auto empty = table();
    ASSERT_TRUE(empty);
    EXPECT_TRUE(send(*empty));
    std::vector<Transfer> expected = setGet(command("04 18"));
    for (const auto& t : setGet(command("04 11 00 00 00 00 00 00 0A"))) expected.push_back(t);
    for (size_t k = 0; k < 10; ++k) {
        std::vector<uint8_t> block(64, 0);
        if (k == 9) block[62] = 0xAA, block[63] = 0x55;
        expected.push_back({Dir::Set, HidReportType::Feature, 4, block});
    }
    for (const auto& t : setGet(command("04 02"))) expected.push_back(t);
    EXPECT_EQ(kb->transfers(), expected);
    EXPECT_EQ(pauses, 160) << "10 ms before each of the 16 transfers";
}

// Without a working store there is no table: a table of the mark alone would erase every key on the keyboard. No
// database folder, or a profile file damaged while open (one found damaged at opening is started afresh).
TEST_F(KeyTableUpload, NoTableWithoutAWorkingStore) {
    store(4, 2, 1);
    ASSERT_TRUE(table());
    test::breakStore(test::Broken::NotADatabase, "ostrelpro_device.sqlite3");
    EXPECT_FALSE(table());

    db.reset();
    std::filesystem::remove_all(databaseFolder());
    test::breakStore(test::Broken::NoConnection, "ostrelpro_device.sqlite3");
    testing::internal::CaptureStdout();
    db = std::make_unique<MarrowinDeviceSQLite>("ostrelpro_device.sqlite3");
    testing::internal::GetCapturedStdout();
    EXPECT_FALSE(db->isConnected());
    EXPECT_FALSE(table());
}

// A refused block stops the blocks but not the last command; unplugged, every part fails cleanly.
TEST_F(KeyTableUpload, FailuresDoNotStopTheSequence) {
    kb->failTransfer(6);  // the second block
    EXPECT_FALSE(send(*table()));
    const auto transfers = kb->transfers();
    ASSERT_EQ(transfers.size(), 8u) << "4 command transfers, a block, the refused block, the last command's 2";
    EXPECT_EQ(transfers[6].bytes, command("04 02"));

    kb->clearTransfers();
    kb->unplug();
    EXPECT_FALSE(send(*table()));
    EXPECT_TRUE(kb->transfers().empty());
}

}  // namespace
}  // namespace keyloom
