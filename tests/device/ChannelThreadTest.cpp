#include <gtest/gtest.h>

#include <memory>
#include <thread>

#include "ChannelBytes.h"
#include "FakeHidDevice.h"
#include "VelkorDevice/MarrowinV2.h"
#include "VelkorDevice/Quorvath.h"

namespace keyloom {
namespace {

using test::counting;
using test::FakeHidDevice;

constexpr int kRounds = 40;

// The home screen's version read on one thread and an editor's bulk writes on another, on the same keyboard:
// each version read must be its set and its four gets back to back, each bulk write its reports back to back.
TEST(ChannelThreads, TwoFirstGenerationChannelsNeverInterleave) {
    auto device = std::make_shared<FakeHidDevice>(0xB57E);
    device->yieldInTransfers(true);
    const auto record = counting(256);
    {
        std::jthread reader([&] {
            Quorvath channel(device, 2);
            for (int i = 0; i < kRounds; ++i) channel.getVersion();
        });
        std::jthread writer([&] {
            Quorvath channel(device, 2);
            for (int i = 0; i < kRounds; ++i) channel.sendDeviceData(record, 256);
        });
    }
    const auto transfers = device->transfers();
    ASSERT_EQ(transfers.size(), static_cast<size_t>(kRounds * (5 + 42)));
    int reads = 0;
    int writes = 0;
    for (size_t i = 0; i < transfers.size();) {
        const bool versionRead = transfers[i].type == HidReportType::Feature;
        const size_t unit = versionRead ? 5 : 42;
        ASSERT_LE(i + unit, transfers.size());
        for (size_t k = 0; k < unit; ++k) {
            const auto& t = transfers[i + k];
            if (versionRead) {
                EXPECT_EQ(t.isSet, k == 0) << "at " << i + k;
                EXPECT_EQ(t.type, HidReportType::Feature) << "at " << i + k;
            } else {
                EXPECT_EQ(t.type, HidReportType::Output) << "at " << i + k;
                EXPECT_EQ(t.bytes[2], k == 0 ? 0x01 : record[7 + 6 * (k - 1)]) << "at " << i + k;
            }
        }
        (versionRead ? reads : writes)++;
        i += unit;
    }
    EXPECT_EQ(reads, kRounds);
    EXPECT_EQ(writes, kRounds);
}

// Second generation: a command exchange keeps its pauses and read-back inside the lock against an upload.
TEST(ChannelThreads, SecondGenerationExchangeAndUploadNeverInterleave) {
    auto device = std::make_shared<FakeHidDevice>(0x024F);
    device->yieldInTransfers(true);
    const auto yieldingSleep = [](std::chrono::milliseconds) { std::this_thread::yield(); };
    std::vector<uint8_t> command(65, 0);
    command[0] = 0x04;
    command[1] = 0x11;
    std::vector<uint8_t> table = counting(780, 1);  // no block starts like a command
    {
        std::jthread commander([&] {
            MarrowinV2 channel(device, yieldingSleep);
            for (int i = 0; i < kRounds; ++i) channel.sendDeviceData(command);
        });
        std::jthread uploader([&] {
            MarrowinV2 channel(device, yieldingSleep);
            for (int i = 0; i < kRounds / 4; ++i) channel.sendDeviceData(table, 704);
        });
    }
    const auto transfers = device->transfers();
    ASSERT_EQ(transfers.size(), static_cast<size_t>(kRounds * 2 + kRounds / 4 * 10));
    for (size_t i = 0; i < transfers.size();) {
        const bool isCommand = transfers[i].bytes.size() == 64 && transfers[i].bytes[1] == 0x11;
        if (isCommand) {
            ASSERT_LT(i + 1, transfers.size());
            EXPECT_FALSE(transfers[i + 1].isSet) << "at " << i + 1;
            i += 2;
            continue;
        }
        ASSERT_LE(i + 10, transfers.size());
        for (size_t k = 0; k < 10; ++k)
            EXPECT_EQ(transfers[i + k].bytes,
                      std::vector<uint8_t>(table.begin() + 64 * k, table.begin() + 64 * (k + 1)))
                << "at " << i + k;
        i += 10;
    }
}

}  // namespace
}  // namespace keyloom
