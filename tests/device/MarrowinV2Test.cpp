#include <gtest/gtest.h>

#include <memory>

#include "ChannelBytes.h"
#include "FakeHidDevice.h"
#include "VelkorDevice/MarrowinV2.h"

namespace keyloom {
namespace {

using namespace std::chrono_literals;
using test::counting;
using test::FakeHidDevice;
using test::hex;

struct Bench {
    std::shared_ptr<FakeHidDevice> device = std::make_shared<FakeHidDevice>(0x024F);
    std::vector<std::chrono::milliseconds> pauses;
    MarrowinV2 channel{device, [this](std::chrono::milliseconds d) { pauses.push_back(d); }};
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

std::vector<uint8_t> reply(uint8_t byte3) {
    std::vector<uint8_t> r(64, 0);
    r[0] = 0x04;
    r[3] = byte3;
    return r;
}

TEST(MarrowinV2Exchange, SendThenReadBack) {
    Bench b;
    b.device->queueReply(reply(0x00));
    const auto data = command();
    EXPECT_TRUE(b.channel.sendDeviceData(data));

    const auto transfers = b.device->transfers();
    ASSERT_EQ(transfers.size(), 2u);
    EXPECT_TRUE(transfers[0].isSet);
    EXPECT_EQ(transfers[0].type, HidReportType::Feature);
    EXPECT_EQ(transfers[0].reportId, 4);
    EXPECT_EQ(transfers[0].bytes, std::vector<uint8_t>(data.begin(), data.begin() + 64));
    EXPECT_FALSE(transfers[1].isSet);
    EXPECT_EQ(transfers[1].type, HidReportType::Feature);
    EXPECT_EQ(transfers[1].reportId, 4);
    EXPECT_EQ(b.pauses, (std::vector<std::chrono::milliseconds>{10ms, 10ms}));
}

TEST(MarrowinV2Exchange, BusyReplyGivesExactlyOneResendOfTheUnchangedCommand) {
    struct Case {
        const char* name;
        std::vector<size_t> failing;
        bool result;
        size_t transfers;
    };
    const std::vector<Case> cases = {
        {"second reply busy too: no further resend", {}, true, 4},
        {"resend fails", {3}, false, 3},
        {"second read fails", {4}, false, 4},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        Bench b;
        b.device->queueReply(reply(0xFF));
        b.device->queueReply(reply(0xFF));
        for (size_t n : c.failing) b.device->failTransfer(n);
        const auto data = command();
        EXPECT_EQ(b.channel.sendDeviceData(data), c.result);

        const auto transfers = b.device->transfers();
        ASSERT_EQ(transfers.size(), c.transfers);
        const std::vector<uint8_t> sent(data.begin(), data.begin() + 64);
        EXPECT_EQ(transfers[0].bytes, sent);
        EXPECT_TRUE(transfers[2].isSet);
        EXPECT_EQ(transfers[2].bytes, sent);  // full 64 bytes, the caller's own, byte 64 never
        EXPECT_EQ(b.pauses.size(), c.transfers);
    }
}

TEST(MarrowinV2Exchange, FailuresBeforeTheResend) {
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
        Bench b;
        b.device->failTransfer(c.failing);
        auto data = command();
        data[3] = c.commandByte3;
        EXPECT_FALSE(b.channel.sendDeviceData(data));
        EXPECT_EQ(b.device->transfers().size(), c.transfers);
    }
}

TEST(MarrowinV2Exchange, ShortCommandSendsNothing) {
    Bench b;
    EXPECT_FALSE(b.channel.sendDeviceData(counting(63)));
    EXPECT_TRUE(b.device->transfers().empty());
    EXPECT_TRUE(b.pauses.empty());
}

TEST(MarrowinV2Upload, SendsAllButTheLastBlockThatLengthCovers) {
    struct Case {
        int64_t length;
        size_t dataSize;
        size_t blocks;
    };
    for (const Case c :
         {Case{64, 64, 0}, Case{127, 127, 0}, Case{130, 130, 1}, Case{704, 780, 10}, Case{1216, 1280, 18}}) {
        SCOPED_TRACE(c.length);
        Bench b;
        std::vector<uint8_t> data = counting(c.dataSize);
        if (c.dataSize > 64) data[64] = 0x00;  // a block that starts with 0 still goes out whole
        EXPECT_TRUE(b.channel.sendDeviceData(data, c.length));

        const auto transfers = b.device->transfers();
        ASSERT_EQ(transfers.size(), c.blocks);
        for (size_t i = 0; i < c.blocks; ++i) {
            EXPECT_TRUE(transfers[i].isSet);
            EXPECT_EQ(transfers[i].type, HidReportType::Feature);
            EXPECT_EQ(transfers[i].reportId, 4);
            EXPECT_EQ(transfers[i].bytes, std::vector<uint8_t>(data.begin() + 64 * i, data.begin() + 64 * (i + 1)));
        }
        EXPECT_EQ(b.pauses.size(), c.blocks);
    }
}

TEST(MarrowinV2Upload, AFailedBlockStopsTheUploadAndIsReported) {
    Bench b;
    b.device->failTransfer(3);
    EXPECT_FALSE(b.channel.sendDeviceData(counting(780), 704));
    EXPECT_EQ(b.device->transfers().size(), 3u);
}

TEST(MarrowinV2Upload, RefusesLengthsAndDataThatDoNotHoldTheBlocks) {
    struct Case {
        int64_t length;
        size_t dataSize;
    };
    for (const Case c : {Case{63, 780}, Case{-64, 780}, Case{704, 639}, Case{1216, 1000}}) {
        SCOPED_TRACE(c.length);
        Bench b;
        EXPECT_FALSE(b.channel.sendDeviceData(counting(c.dataSize), c.length));
        EXPECT_TRUE(b.device->transfers().empty());
    }
    Bench b;  // exactly the blocks that are sent is enough
    EXPECT_TRUE(b.channel.sendDeviceData(counting(640), 704));
    EXPECT_EQ(b.device->transfers().size(), 10u);
}

TEST(MarrowinV2Upload, ProductIdComesFromTheDevice) {
    Bench b;
    EXPECT_EQ(b.channel.productId(), 0x024F);
    EXPECT_EQ(b.channel.deviceStatus(), 1);
}

}  // namespace
}  // namespace keyloom
