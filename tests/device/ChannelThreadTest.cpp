#include <gtest/gtest.h>

#include <future>
#include <memory>
#include <thread>

#include "ChannelBytes.h"
#include "SimulatedDeviceTest.h"
#include "VelkorDevice/MarrowinV2.h"
#include "VelkorDevice/Quorvath.h"

namespace keyloom {
namespace {

using test::counting;
using test::Dir;

constexpr int kRounds = 40;

// True when a thread other than the caller can take the device's exchange lock right now.
bool lockIsFree(const HidDeviceRef& device) {
    return std::async(std::launch::async,
                      [&] {
                          std::unique_lock lock(device->exchangeLock(), std::try_to_lock);
                          return lock.owns_lock();
                      })
        .get();
}

// A simulated keyboard's handle that lets other threads run before every transfer, which exposes any exchange
// that does not hold the device's lock throughout.
class YieldingDevice : public HidDevice {
  public:
    explicit YieldingDevice(HidDeviceRef inner) : inner_(std::move(inner)) {}
    HidPropertyValue property(std::string_view key) const override { return inner_->property(key); }
    int setReport(HidReportType type, int64_t reportId, const uint8_t* bytes, size_t length) override {
        std::this_thread::yield();
        return inner_->setReport(type, reportId, bytes, length);
    }
    int getReport(HidReportType type, int64_t reportId, uint8_t* buffer, size_t& length) override {
        std::this_thread::yield();
        return inner_->getReport(type, reportId, buffer, length);
    }
    bool removed() const override { return inner_->removed(); }

  private:
    HidDeviceRef inner_;
};

class ChannelThreadTest : public test::SimulatedDeviceTest {};

// The home screen's version read on one thread and an editor's bulk writes on another, on the same keyboard:
// each version read must be its set and its four gets back to back, each bulk write its reports back to back.
TEST_F(ChannelThreadTest, TwoFirstGenerationChannelsNeverInterleave) {
    auto kb = plug(SimulatedKeyboard::quorvath87());
    const auto device = std::make_shared<YieldingDevice>(kb->device());
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
    const auto transfers = kb->transfers();
    ASSERT_EQ(transfers.size(), static_cast<size_t>(kRounds * (5 + 42)));
    for (size_t i = 0; i < transfers.size();) {
        const bool versionRead = transfers[i].type == HidReportType::Feature;
        const size_t unit = versionRead ? 5 : 42;
        ASSERT_LE(i + unit, transfers.size());
        for (size_t k = 0; k < unit; ++k) {
            const auto& t = transfers[i + k];
            if (versionRead) {
                EXPECT_EQ(t.direction, k == 0 ? Dir::Set : Dir::Get) << "at " << i + k;
                EXPECT_EQ(t.type, HidReportType::Feature) << "at " << i + k;
            } else {
                EXPECT_EQ(t.type, HidReportType::Output) << "at " << i + k;
                EXPECT_EQ(t.bytes.at(2), k == 0 ? 0x01 : record[7 + 6 * (k - 1)]) << "at " << i + k;
            }
        }
        i += unit;
    }
}

TEST_F(ChannelThreadTest, SecondGenerationExchangeAndUploadNeverInterleave) {
    auto kb = plug(SimulatedKeyboard::marrowinv2_71());
    const auto device = std::make_shared<YieldingDevice>(kb->device());
    const auto yieldingSleep = [](std::chrono::milliseconds) { std::this_thread::yield(); };
    std::vector<uint8_t> command(65, 0);
    command[0] = 0x04;
    command[1] = 0x11;
    const std::vector<uint8_t> table = counting(780, 1);  // no block looks like the command
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
    const auto transfers = kb->transfers();
    ASSERT_EQ(transfers.size(), static_cast<size_t>(kRounds * 2 + kRounds / 4 * 10));
    for (size_t i = 0; i < transfers.size();) {
        if (transfers[i].bytes.at(1) == 0x11) {  // a command: its read-back must follow
            ASSERT_LT(i + 1, transfers.size());
            EXPECT_EQ(transfers[i + 1].direction, Dir::Get) << "at " << i + 1;
            i += 2;
            continue;
        }
        ASSERT_LE(i + 10, transfers.size());
        for (size_t k = 0; k < 10; ++k) {
            const auto begin = table.begin() + static_cast<std::ptrdiff_t>(64 * k);
            EXPECT_EQ(transfers[i + k].bytes, std::vector<uint8_t>(begin, begin + 64)) << "at " << i + k;
        }
        i += 10;
    }
}

// Holding each transfer of an exchange on the keyboard, no other thread can take the device's lock.
TEST_F(ChannelThreadTest, EveryTransferOfAnExchangeRunsUnderTheDeviceLock) {
    struct Case {
        const char* name;
        std::function<std::shared_ptr<SimulatedKeyboard>()> model;
        std::function<void(const HidDeviceRef&)> exchange;
        std::vector<size_t> held;
    };
    const std::vector<uint8_t> command = [] {
        std::vector<uint8_t> c(65, 0);
        c[0] = 0x04;
        c[1] = 0x02;
        return c;
    }();
    const std::vector<Case> cases = {
        {"version read",
         SimulatedKeyboard::quorvath87,
         [](const HidDeviceRef& d) { Quorvath(d, 2).getVersion(); },
         {1, 2, 5}},
        {"key record",
         SimulatedKeyboard::quorvath87,
         [](const HidDeviceRef& d) { Quorvath(d, 2).setKeyDisable(41, 0); },
         {1, 2, 42}},
        {"colour block",
         SimulatedKeyboard::quorvath91,
         [](const HidDeviceRef& d) { Quorvath(d, 1).setBacklightData(counting(408), 408); },
         {1, 58}},
        {"second-generation exchange",
         SimulatedKeyboard::marrowinv2_71,
         [&](const HidDeviceRef& d) { MarrowinV2(d, [](auto) {}).sendDeviceData(command); },
         {1, 2}},
        {"second-generation upload",
         SimulatedKeyboard::marrowinv2_71,
         [](const HidDeviceRef& d) { MarrowinV2(d, [](auto) {}).sendDeviceData(counting(1280), 1216); },
         {1, 18}},
    };
    for (const Case& c : cases) {
        for (size_t n : c.held) {
            SCOPED_TRACE(std::string(c.name) + ", transfer " + std::to_string(n));
            auto kb = plug(c.model());
            const HidDeviceRef device = kb->device();
            kb->holdTransfer(n);
            std::jthread worker([&] { c.exchange(device); });
            ASSERT_TRUE(kb->waitForHeldTransfer());
            EXPECT_FALSE(lockIsFree(device));
            kb->releaseHeldTransfer();
            worker.join();
            EXPECT_TRUE(lockIsFree(device));
        }
    }
}

TEST_F(ChannelThreadTest, SecondGenerationPausesRunUnderTheDeviceLock) {
    auto kb = plug(SimulatedKeyboard::marrowinv2_71());
    const HidDeviceRef device = kb->device();
    kb->setBusyReadBacks(1);
    int pauses = 0;
    int pausesUnderLock = 0;
    MarrowinV2 channel(device, [&](std::chrono::milliseconds) {
        ++pauses;
        if (!lockIsFree(device)) ++pausesUnderLock;
    });
    std::vector<uint8_t> command(65, 0);
    command[0] = 0x04;
    command[1] = 0x13;
    EXPECT_TRUE(channel.sendDeviceData(command));
    EXPECT_TRUE(channel.sendDeviceData(counting(704), 704));
    EXPECT_EQ(pauses, 4 + 10);
    EXPECT_EQ(pausesUnderLock, pauses);
}

// The keyboard goes away while an upload waits on its third block: that block fails, the rest is not sent, and the
// upload says so.
TEST_F(ChannelThreadTest, UnplugDuringAnUploadStopsItWithFalse) {
    auto kb = plug(SimulatedKeyboard::marrowinv2_71());
    kb->holdTransfer(3);
    bool result = true;
    std::jthread worker(
        [&, device = kb->device()] { result = MarrowinV2(device, [](auto) {}).sendDeviceData(counting(1280), 1216); });
    ASSERT_TRUE(kb->waitForHeldTransfer());
    kb->unplug();
    kb->releaseHeldTransfer();
    worker.join();
    EXPECT_FALSE(result);
    const auto transfers = kb->transfers();
    ASSERT_EQ(transfers.size(), 3u);
    EXPECT_EQ(transfers[2].status, kHidErrorNotAttached);
}

// A first-generation bulk write still makes every call after the keyboard went away, each failing at once.
TEST_F(ChannelThreadTest, UnplugDuringABulkWriteGivesFalse) {
    auto kb = plug(SimulatedKeyboard::quorvath87());
    kb->holdTransfer(10);
    bool result = true;
    std::jthread worker(
        [&, device = kb->device()] { result = Quorvath(device, 2).setBacklightData(counting(408), 408); });
    ASSERT_TRUE(kb->waitForHeldTransfer());
    kb->unplug();
    kb->releaseHeldTransfer();
    worker.join();
    EXPECT_FALSE(result);
    EXPECT_EQ(kb->transfers().size(), 10u);  // calls on a removed handle never reach the keyboard
}

}  // namespace
}  // namespace keyloom
