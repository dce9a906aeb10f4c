#include <gtest/gtest.h>

#include <memory>

#include "ChannelBytes.h"
#include "SimulatedDeviceTest.h"
#include "VelkorDevice/MarrowinV2.h"

namespace keyloom {
namespace {

using namespace std::chrono_literals;
using test::counting;
using test::Dir;

class MarrowinV2Test : public test::SimulatedDeviceTest {
  protected:
    std::shared_ptr<SimulatedKeyboard> kb = plug(SimulatedKeyboard::marrowinv2_71());
    std::vector<std::chrono::milliseconds> pauses;
    MarrowinV2 channel{kb->device(), [this](std::chrono::milliseconds d) { pauses.push_back(d); }};
};

// A 65-byte command as the editor builds it: 04 18 ..., byte 3 = 00, and a byte 64 that must never go out.
std::vector<uint8_t> command() {
    std::vector<uint8_t> data = counting(65, 0x20);
    data[0] = 0x04;
    data[1] = 0x18;
    data[3] = 0x00;
    data[64] = 0x99;
    return data;
}

std::vector<uint8_t> first64(const std::vector<uint8_t>& data) {
    return {data.begin(), data.begin() + 64};
}

TEST_F(MarrowinV2Test, ExchangeSendsThenReadsBack) {
    const auto data = command();
    EXPECT_TRUE(channel.sendDeviceData(data));

    const auto transfers = kb->transfers();
    ASSERT_EQ(transfers.size(), 2u);
    EXPECT_EQ(transfers[0], (SimulatedKeyboard::Transfer{Dir::Set, HidReportType::Feature, 4, first64(data)}));
    EXPECT_EQ(transfers[1].direction, Dir::Get);
    EXPECT_EQ(transfers[1].type, HidReportType::Feature);
    EXPECT_EQ(transfers[1].reportId, 4);
    EXPECT_EQ(pauses, (std::vector<std::chrono::milliseconds>{10ms, 10ms}));
}

TEST_F(MarrowinV2Test, BusyReplyGivesExactlyOneResendOfTheUnchangedCommand) {
    struct Case {
        const char* name;
        size_t failing;  // 0: none
        bool result;
        size_t transfers;
    };
    const std::vector<Case> cases = {
        {"second reply busy too: no further resend", 0, true, 4},
        {"resend fails", 3, false, 3},
        {"second read fails", 4, false, 4},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        kb->clearTransfers();
        pauses.clear();
        kb->setBusyReadBacks(2);
        if (c.failing) kb->failTransfer(c.failing);
        const auto data = command();
        EXPECT_EQ(channel.sendDeviceData(data), c.result);

        const auto transfers = kb->transfers();
        ASSERT_EQ(transfers.size(), c.transfers);
        EXPECT_EQ(transfers[1].bytes.at(3), 0xFF);
        EXPECT_EQ(transfers[2].direction, Dir::Set);
        EXPECT_EQ(transfers[2].bytes, first64(data));  // all 64 bytes, the caller's own; byte 64 never
        EXPECT_EQ(pauses.size(), c.transfers);
        kb->setBusyReadBacks(0);
    }
}

TEST_F(MarrowinV2Test, FailuresBeforeTheResend) {
    struct Case {
        const char* name;
        size_t failing;
        uint8_t commandByte3;
        size_t transfers;
    };
    const std::vector<Case> cases = {
        {"send fails: no read", 1, 0x00, 1},
        {"read fails", 2, 0x00, 2},
        // A failed read brings no answer, so the command's own 0xFF is no busy signal.
        {"read fails, command byte 3 is FF", 2, 0xFF, 2},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        kb->clearTransfers();
        kb->failTransfer(c.failing);
        auto data = command();
        data[3] = c.commandByte3;
        EXPECT_FALSE(channel.sendDeviceData(data));
        EXPECT_EQ(kb->transfers().size(), c.transfers);
    }
}

TEST_F(MarrowinV2Test, ShortCommandSendsNothing) {
    EXPECT_FALSE(channel.sendDeviceData(counting(63)));
    EXPECT_TRUE(kb->transfers().empty());
    EXPECT_TRUE(pauses.empty());
}

TEST_F(MarrowinV2Test, UploadSendsAllButTheLastBlockThatLengthCovers) {
    struct Case {
        int64_t length;
        size_t dataSize;
        size_t blocks;
    };
    for (const Case c :
         {Case{64, 64, 0}, Case{127, 127, 0}, Case{130, 130, 1}, Case{704, 780, 10}, Case{1216, 1280, 18}}) {
        SCOPED_TRACE(c.length);
        kb->clearTransfers();
        pauses.clear();
        std::vector<uint8_t> data = counting(c.dataSize);
        if (c.dataSize > 64) data[64] = 0x00;  // a block that starts with 0 still goes out whole, under id 4
        EXPECT_TRUE(channel.sendDeviceData(data, c.length));

        const auto transfers = kb->transfers();
        ASSERT_EQ(transfers.size(), c.blocks);
        for (size_t i = 0; i < c.blocks; ++i) {
            const auto begin = data.begin() + static_cast<std::ptrdiff_t>(64 * i);
            EXPECT_EQ(transfers[i], (SimulatedKeyboard::Transfer{Dir::Set, HidReportType::Feature, 4,
                                                                 std::vector<uint8_t>(begin, begin + 64)}));
        }
        EXPECT_EQ(pauses, std::vector<std::chrono::milliseconds>(c.blocks, 10ms));
    }
}

TEST_F(MarrowinV2Test, UploadKeepsTheKeyTablesEndMarkerInTheLastBlock) {
    std::vector<uint8_t> table(780, 0);
    table[638] = 0xAA;
    table[639] = 0x55;
    EXPECT_TRUE(channel.sendDeviceData(table, 704));
    const auto reports = kb->sentReports(HidReportType::Feature);
    ASSERT_EQ(reports.size(), 10u);
    EXPECT_EQ(reports.back()[62], 0xAA);
    EXPECT_EQ(reports.back()[63], 0x55);
}

TEST_F(MarrowinV2Test, AFailedBlockStopsTheUploadAndIsReported) {
    kb->failTransfer(3);
    EXPECT_FALSE(channel.sendDeviceData(counting(780), 704));
    EXPECT_EQ(kb->transfers().size(), 3u);
}

TEST_F(MarrowinV2Test, UploadRefusesLengthsAndDataThatDoNotHoldTheBlocks) {
    struct Case {
        int64_t length;
        size_t dataSize;
    };
    for (const Case c : {Case{63, 780}, Case{-64, 780}, Case{704, 639}, Case{1216, 1000}}) {
        SCOPED_TRACE(c.length);
        EXPECT_FALSE(channel.sendDeviceData(counting(c.dataSize), c.length));
        EXPECT_TRUE(kb->transfers().empty());
    }
    EXPECT_TRUE(channel.sendDeviceData(counting(640), 704));  // exactly the blocks that are sent is enough
    EXPECT_EQ(kb->transfers().size(), 10u);
}

TEST_F(MarrowinV2Test, UnpluggedKeyboardFailsCleanly) {
    kb->unplug();
    EXPECT_FALSE(channel.sendDeviceData(command()));
    EXPECT_FALSE(channel.sendDeviceData(counting(780), 704));
    EXPECT_TRUE(kb->transfers().empty());
    EXPECT_EQ(channel.productId(), 0x024F);  // properties stay readable after removal
}

}  // namespace
}  // namespace keyloom
