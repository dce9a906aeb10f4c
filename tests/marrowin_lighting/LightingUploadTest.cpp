#include <gtest/gtest.h>

#include <atomic>
#include <thread>

#include "LightingTestSupport.h"
#include "SQLite/MarrowinDeviceSQLite.h"
#include "VelkorDevice/MarrowinV2.h"
#include "Views/Keyboard/core/MarrowinLightModes.h"
#include "Views/Keyboard/core/MarrowinLightingBlock.h"
#include "Views/Keyboard/core/MarrowinLightingStore.h"
#include "platform/SerialWorker.h"
#include "platform/hid/SimulatedHid.h"
#include "platform/hid/SimulatedHidScope.h"
#include "support/TestSupport.h"

namespace keyloom {
namespace {

using namespace std::chrono_literals;
using test::bytesAt;
using test::hex;
using Dir = SimulatedKeyboard::Direction;
using Transfer = SimulatedKeyboard::Transfer;

std::vector<uint8_t> command(const char* head) {
    auto bytes = hex(head);
    bytes.resize(64, 0);
    return bytes;
}

class LightingUploadTest : public ::testing::Test {
  protected:
    void SetUp() override {
        testing::internal::CaptureStdout();
        db = std::make_unique<MarrowinDeviceSQLite>("ostrelpro_device.sqlite3");
        testing::internal::GetCapturedStdout();
        ASSERT_EQ(prepareLightProfile(*db, 1), 1);
    }
    LightingBlock block() const { return *readLightingBlock(*db, 1, test::codeMapOf(KeyModelId::Ostrel61), 100); }
    // Whole uploads seen by the keyboard: each starts with command [04 18].
    static size_t uploads(const SimulatedKeyboard& kb) {
        size_t count = 0;
        for (const auto& report : kb.sentReports(HidReportType::Feature)) count += report == command("04 18");
        return count;
    }

    test::TempDataHome home;
    SimulatedHidScope scope;
    std::unique_ptr<MarrowinDeviceSQLite> db;
    std::shared_ptr<SimulatedKeyboard> kb = SimulatedHid::instance().plug(SimulatedKeyboard::ostrel61());
    std::atomic<int> pauses{0};
    std::shared_ptr<MarrowinV2> channel =
        std::make_shared<MarrowinV2>(kb->device(), [this](std::chrono::milliseconds d) { pauses += int(d.count()); });
};

// A fresh Ostrel: each command read back, the block's 18 reports under id 4, the commands after it; a busy
// read-back resends that command once.
TEST_F(LightingUploadTest, FreshOstrelUploadGoldenBytes) {
    for (int busy : {0, 1}) {
        SCOPED_TRACE(busy);
        kb->clearTransfers();
        pauses = 0;
        kb->setBusyReadBacks(busy);
        const LightingBlock sent = block();
        testing::internal::CaptureStdout();  // the block's reports are printed
        EXPECT_TRUE(sendLightingBlock(*channel, sent));
        testing::internal::GetCapturedStdout();

        const auto setGet = [](const std::vector<uint8_t>& bytes, bool busyReply) {
            auto reply = bytes;
            if (busyReply) reply[3] = 0xFF;
            return std::vector<Transfer>{{Dir::Set, HidReportType::Feature, 4, bytes},
                                         {Dir::Get, HidReportType::Feature, 4, reply}};
        };
        std::vector<Transfer> expected = setGet(command("04 18"), busy);
        if (busy) {
            const auto again = setGet(command("04 18"), false);
            expected.insert(expected.end(), again.begin(), again.end());
        }
        for (const auto& t : setGet(command("04 13 00 00 00 00 00 00 12"), false)) expected.push_back(t);
        for (size_t k = 0; k < 18; ++k)
            expected.push_back({Dir::Set, HidReportType::Feature, 4, bytesAt(sent, 64 * k, 64)});
        for (const char* head : {"04 02", "04 F0"})
            for (const auto& t : setGet(command(head), false)) expected.push_back(t);
        EXPECT_EQ(kb->transfers(), expected);
        EXPECT_EQ(pauses, 10 * static_cast<int>(expected.size()));
        // What reached the keyboard: slot 0 at the start of block 0, the active copy at the start of block 17.
        EXPECT_EQ(bytesAt(expected[busy ? 6 : 4].bytes, 0, 16), hex("01 FF E1 00 00 00 00 00 01 0F 0A 00 00 00 AA 55"));
        EXPECT_EQ(bytesAt(expected[(busy ? 6 : 4) + 17].bytes, 0, 16), bytesAt(sent, 0, 16));
    }
}

// A failed part does not stop the rest; unplugged mid-upload, every later transfer fails cleanly.
TEST_F(LightingUploadTest, FailuresAndUnplugMidUpload) {
    kb->failTransfer(5);  // the first block report
    EXPECT_FALSE(sendLightingBlock(*channel, block()));
    EXPECT_EQ(kb->transfers().size(), 9u) << "4 command transfers, the refused block, 4 command transfers";

    kb->clearTransfers();
    kb->holdTransfer(10);
    std::atomic<bool> result{true};
    std::jthread upload([&] { result = sendLightingBlock(*channel, block()); });
    ASSERT_TRUE(kb->waitForHeldTransfer());
    kb->unplug();
    kb->releaseHeldTransfer();
    upload.join();
    EXPECT_FALSE(result);
    EXPECT_EQ(kb->transfers().size(), 10u);
}

// Twenty colour changes while an upload is on the wire: the worker sends the last one and drops the ones it
// replaced; the window never waits.
TEST_F(LightingUploadTest, BurstOfChangesSendsTheLastColour) {
    SerialWorker worker;
    kb->holdTransfer(1);
    postLightingUpload(worker, channel, block());
    ASSERT_TRUE(kb->waitForHeldTransfer());
    for (uint8_t i = 1; i <= 20; ++i) {
        ASSERT_TRUE(changeLightRecord(*db, 1, 1, [i](std::vector<uint8_t>& r) { r[light_record::kRed] = i; }));
        postLightingUpload(worker, channel, block());
    }
    testing::internal::CaptureStdout();
    kb->releaseHeldTransfer();
    worker.waitForIdle();
    testing::internal::GetCapturedStdout();
    EXPECT_EQ(uploads(*kb), 2u);
    const auto reports = kb->sentReports(HidReportType::Feature);
    ASSERT_GE(reports.size(), 22u);
    EXPECT_EQ(reports[reports.size() - 22 + 2].at(1), 20) << "block 0 of the last upload carries red = 20";

    postLightingUpload(worker, nullptr, block());  // no channel: nothing
    worker.waitForIdle();
    EXPECT_EQ(uploads(*kb), 2u);
}

}  // namespace
}  // namespace keyloom
