#include <gtest/gtest.h>

#include <functional>
#include <latch>
#include <numeric>
#include <sstream>
#include <thread>

#include "VelkorDevice/MarrowinV2.h"
#include "VelkorDevice/Quorvath.h"
#include "Views/Keyboard/KeyLayout/CurrentDevice.h"
#include "platform/hid/SimulatedHid.h"
#include "platform/hid/SimulatedHidScope.h"
#include "platform/hid/SimulatedKeyboard.h"

namespace keyloom {
namespace {

using namespace std::chrono_literals;
using Codes = std::vector<int64_t>;
using Pauses = std::vector<std::chrono::milliseconds>;
using Dir = SimulatedKeyboard::Direction;
using Transfer = SimulatedKeyboard::Transfer;

// "05 F4 00" -> {0x05, 0xF4, 0x00}
std::vector<uint8_t> hex(const std::string& text) {
    std::istringstream in(text);
    std::vector<uint8_t> bytes;
    for (std::string item; in >> item;) bytes.push_back(static_cast<uint8_t>(std::stoul(item, nullptr, 16)));
    return bytes;
}

// Bytes i mod 256: every byte tells where it came from.
std::vector<uint8_t> counting(size_t count) {
    std::vector<uint8_t> bytes(count);
    std::iota(bytes.begin(), bytes.end(), uint8_t{0});
    return bytes;
}

// The data bytes that first-generation bulk writes carried, reassembled from their output reports.
std::vector<uint8_t> carried(const SimulatedKeyboard& kb, bool sevenPerReport = false) {
    const auto reports = kb.sentReports(HidReportType::Output);
    std::vector<uint8_t> bytes;
    for (size_t k = 0; k < reports.size(); ++k)
        bytes.insert(bytes.end(), reports[k].begin() + ((k > 0 && !sevenPerReport) ? 2 : 1), reports[k].end());
    return bytes;
}

// Every test starts from an empty, active simulation.
class DeviceTest : public ::testing::Test {
  protected:
    static std::shared_ptr<SimulatedKeyboard> plug(std::shared_ptr<SimulatedKeyboard> kb) {
        return SimulatedHid::instance().plug(std::move(kb));
    }

  private:
    SimulatedHidScope scope_;
};

using QuorvathTest = DeviceTest;

TEST_F(QuorvathTest, CommandsSendOneFeatureReportOrNothingForValuesThatDoNotFit) {
    const std::vector<std::pair<std::function<void(Quorvath&)>, const char*>> cases = {
        {[](Quorvath& q) { q.resetKeyboard(); }, "05 F6 00 00 00 00 00 00"},
        {[](Quorvath& q) { q.setKeyboardReport(8); }, "05 F7 08 00 00 00 00 00"},
        {[](Quorvath& q) { q.setKeyboardReport(256), q.setKeyboardReport(-1); }, ""},
        {[](Quorvath& q) { q.setUSBSleepTime(300); }, "05 FE 0E 01 01 2C 00 00"},
        {[](Quorvath& q) { q.setUSBSleepTime(65536), q.setUSBSleepTime(-1); }, ""},
        {[](Quorvath& q) { q.setWirelessSleepTime(60, 600); }, "05 FE 0E 02 00 3C 02 58"},
        {[](Quorvath& q) { q.setWirelessSleepTime(65536, 600), q.setWirelessSleepTime(60, -600); }, ""},
        {[](Quorvath& q) { q.sendDeviceData(hex("05 FE 00 02 01 00 00 00 99")); }, "05 FE 00 02 01 00 00 00"},
        {[](Quorvath& q) { q.sendDeviceData(hex("05 FE 00 02 01 00 00")); }, ""},
    };
    auto kb = plug(SimulatedKeyboard::quorvath87());
    Quorvath channel(kb->device(), 2);
    for (size_t i = 0; i < cases.size(); ++i) {
        SCOPED_TRACE(i);
        kb->clearTransfers();
        cases[i].first(channel);
        const std::vector<Transfer> expected = {{Dir::Set, HidReportType::Feature, 5, hex(cases[i].second)}};
        EXPECT_EQ(kb->transfers(), *cases[i].second ? expected : std::vector<Transfer>{});
    }
}

TEST_F(QuorvathTest, VersionReadIsOneSetAndFourGetsAndChoosesTheBulkLayout) {
    // firmware text, failing transfer (0: none), version, reports of a key record afterwards
    const std::vector<std::tuple<std::string, size_t, std::string, size_t>> cases = {
        {"V1.0", 0, "V1.0", 42},
        {"QV-xx180905yy", 0, "QV-xx180905yy", 36},
        {"180905", 4, "Quorvath", 42},        // the third get fails: no fourth, layout kept
        {"\xFFV2", 0, "\xEF\xBF\xBDV2", 42},  // invalid UTF-8 becomes U+FFFD
    };
    for (const auto& [firmware, failing, text, recordReports] : cases) {
        SCOPED_TRACE(firmware);
        auto kb = plug(SimulatedKeyboard::quorvath87());
        kb->setFirmwareVersion(firmware);
        if (failing) kb->failTransfer(failing);
        Quorvath channel(kb->device(), 2);
        EXPECT_EQ(channel.getVersion(), text);
        EXPECT_EQ(channel.versionType(), recordReports == 36 ? 1 : 2);
        const auto transfers = kb->transfers();
        ASSERT_EQ(transfers.size(), failing ? failing : 5);
        EXPECT_EQ(transfers[0], (Transfer{Dir::Set, HidReportType::Feature, 5, hex("05 F4 00 00 00 00 00 00")}));
        for (size_t i = 1; i < transfers.size(); ++i)
            EXPECT_EQ(std::tie(transfers[i].direction, transfers[i].type, transfers[i].reportId),
                      std::make_tuple(Dir::Get, HidReportType::Feature, int64_t{5}));
        kb->clearTransfers();
        channel.setKeyDisable(41, 0);
        EXPECT_EQ(kb->sentReports(HidReportType::Output).size(), recordReports);
    }
}

TEST_F(QuorvathTest, BulkLayoutsHaveFixedReportCountsWhateverTheLength) {
    // version type, colour block (else key record), reports, data bytes that go out (each once, in order), last report
    const std::vector<std::tuple<int64_t, bool, size_t, size_t, const char*>> cases = {
        {2, false, 42, 253, "05 00 F7 F8 F9 FA FB FC"},
        {1, false, 36, 252, "05 F5 F6 F7 F8 F9 FA FB"},
        {2, true, 67, 403, "05 00 8D 8E 8F 90 91 92"},
        {1, true, 58, 406, "05 8F 90 91 92 93 94 95"},
    };
    auto kb = plug(SimulatedKeyboard::quorvath87());
    for (const auto& [versionType, colour, count, bytesSent, last] : cases) {
        Quorvath channel(kb->device(), versionType);
        const std::vector<uint8_t> data = counting(colour ? 408 : 256);
        for (int64_t length : {0, 9999}) {
            SCOPED_TRACE(testing::Message() << count << " reports, length " << length);
            kb->clearTransfers();
            EXPECT_TRUE(colour ? channel.setBacklightData(data, length) : channel.sendDeviceData(data, length));
            const auto reports = kb->sentReports(HidReportType::Output);
            ASSERT_EQ(reports.size(), count);
            EXPECT_EQ(reports.front(), hex("05 00 01 02 03 04 05 06"));
            EXPECT_EQ(reports.back(), hex(last));
            EXPECT_EQ(carried(*kb, versionType == 1),
                      std::vector<uint8_t>(data.begin(), data.begin() + static_cast<std::ptrdiff_t>(bytesSent)));
        }
    }
}

// The keyboard counts the reports: all go out, but one refusal makes the write false. Data shorter than the layout
// reads sends nothing.
TEST_F(QuorvathTest, BulkIsTrueOnlyWhenEveryReportWasAccepted) {
    // version type, data size (over 256: colour block), failing transfer (0: none), reports sent
    const std::vector<std::tuple<int64_t, size_t, size_t, size_t>> cases = {
        {2, 256, 0, 42}, {2, 256, 1, 42}, {1, 408, 30, 58}, {2, 252, 0, 0},
        {1, 251, 0, 0},  {2, 402, 0, 0},  {1, 405, 0, 0},
    };
    auto kb = plug(SimulatedKeyboard::quorvath87());
    for (const auto& [versionType, size, failing, count] : cases) {
        SCOPED_TRACE(testing::Message() << size << " bytes, failing " << failing);
        kb->clearTransfers();
        if (failing) kb->failTransfer(failing);
        Quorvath channel(kb->device(), versionType);
        const auto data = counting(size);
        EXPECT_EQ(size > 256 ? channel.setBacklightData(data, 408) : channel.sendDeviceData(data, 256),
                  failing == 0 && count > 0);
        EXPECT_EQ(kb->transfers().size(), count);
    }
}

TEST_F(QuorvathTest, KeyRecordsOnTheQuorvath87) {
    const auto record = [](const char* head, uint8_t fill) {
        std::vector<uint8_t> r = hex(head);
        r.resize(253, fill);
        return r;
    };
    // key, combination, write, the record's head (the rest is zero)
    const std::vector<std::tuple<int64_t, Codes, bool, const char*>> cases = {
        {226, {225, 4}, true, "FF 00 04 D0 01 E1 01 04 01 E1 80 04 80"},
        {226, {225, 4}, false, "FF 01 04 D0 01 E1 01 04 01 E1 80 04 80"},
        {41, {4, 5, 4}, true, "FF 00 00 00 01 04 01 05 01 04 01 04 80 05 80 04 80"},  // releases in press order
    };
    auto kb = plug(SimulatedKeyboard::quorvath87());
    Quorvath channel(kb->device(), 2);
    for (const auto& [key, codes, write, head] : cases) {
        SCOPED_TRACE(head);
        kb->clearTransfers();
        channel.setKeyNewValue(key, codes, 0, write);
        EXPECT_EQ(carried(*kb), record(head, 0x00));
    }
    kb->clearTransfers();
    channel.setKeyDefaultValue(53, 0);
    EXPECT_EQ(carried(*kb), record("FF 00 01 00", 0x00));
    kb->clearTransfers();
    channel.setKeyDisable(41, 0);
    EXPECT_EQ(carried(*kb), record("FF 00 00 00", 0xFF));
}

TEST_F(QuorvathTest, KeyRecordAddressOnEachModelAndNothingSentWithoutOne) {
    using K = SimulatedKeyboard;
    // keyboard, key, profile, address (empty: none, and nothing is sent)
    const std::vector<std::tuple<std::shared_ptr<K> (*)(), int64_t, int64_t, std::string>> cases = {
        {K::quorvath87, 226, 0, "04 D0"},  // the code map's slot, not the name map's 04 E0
        {K::quorvath87, 41, 45, "FF F0"},  // slot 4095, the last
        {K::quorvath87, 58, 45, ""},       // slot 4096
        {K::quorvath87, 100, 0, ""},       // no such key
        {K::quorvath87te, 41, 1, "05 B0"},
        {K::quorvath88, 226, 0, "04 E0"},
        {K::quorvath88te, 253, 2, "11 30"},
        {K::quorvath91, 67, 1, "06 90"},
        {K::quorvath91te, 231, 1, "0A F0"},
        {[] { return K::firstGeneration(0x1234, "Other"); }, 41, 0, ""},  // not Escape's record at 00 00
    };
    for (const auto& [model, key, profile, address] : cases) {
        auto kb = plug(model());
        SCOPED_TRACE(testing::Message() << kb->productId() << ": key " << key << ", profile " << profile);
        Quorvath channel(kb->device(), 2);
        channel.setKeyDefaultValue(key, profile);
        channel.setKeyDisable(key, profile);
        channel.setKeyNewValue(key, Codes{4}, profile, true);
        const auto reports = kb->sentReports(HidReportType::Output);
        ASSERT_EQ(reports.size(), address.empty() ? 0u : 3 * 42u);
        if (address.empty()) continue;
        EXPECT_EQ(reports[0], hex("05 FF 00 " + address + " 00 00 00"));
    }
}

// A code must fit its byte, and the whole record the part that the layout sends.
TEST_F(QuorvathTest, CombinationThatDoesNotFitSendsNothing) {
    const std::vector<std::tuple<int64_t, Codes, bool>> cases = {
        // version type, codes, sent
        {2, {225, 300}, false},   {2, {-1}, false},        {2, Codes(62, 4), true},
        {2, Codes(63, 4), false}, {1, Codes(61, 4), true}, {1, Codes(62, 4), false},
    };
    auto kb = plug(SimulatedKeyboard::quorvath87());
    for (const auto& [versionType, codes, sent] : cases) {
        SCOPED_TRACE(testing::Message() << codes.size() << " codes, version type " << versionType);
        kb->clearTransfers();
        Quorvath(kb->device(), versionType).setKeyNewValue(41, codes, 0, true);
        EXPECT_EQ(kb->transfers().empty(), !sent);
        EXPECT_TRUE(!sent || versionType == 1 || carried(*kb).at(4 * codes.size() + 4) == 0x80);  // the last release
    }
}

// The address comes from the channel's own model, whatever keyboard is current.
TEST_F(QuorvathTest, KeyRecordSlotComesFromTheChannelsOwnModel) {
    setCurrentKeyMaps(KeyNameMap{{"leftAlt", nameRow(226, "Alt", "Alt", 3)}},
                      KeyCodeMap{{226, codeRow("leftAlt", "Alt", "Alt", 3)}});
    auto kb = plug(SimulatedKeyboard::quorvath87());
    Quorvath(kb->device(), 2).setKeyDefaultValue(226, 0);
    resetCurrentDevice();
    EXPECT_EQ(kb->sentReports(HidReportType::Output).at(0), hex("05 FF 00 04 D0 00 00 00"));
}

class MarrowinV2Test : public DeviceTest {
  protected:
    std::shared_ptr<SimulatedKeyboard> kb = plug(SimulatedKeyboard::marrowinv2_71());
    Pauses pauses;
    MarrowinV2 channel{kb->device(), [this](std::chrono::milliseconds d) { pauses.push_back(d); }};
};

// A 10 ms pause before every transfer; a reply with byte 3 = FF gets one resend of the whole, unchanged command.
TEST_F(MarrowinV2Test, ExchangeWithOneResendWhileBusy) {
    // busy replies, failing transfer (0: none), the command's byte 3, result, transfers
    const std::vector<std::tuple<int, size_t, uint8_t, bool, size_t>> cases = {
        {0, 0, 0x00, true, 2},  {2, 0, 0x00, true, 4},  // busy twice: still one resend
        {2, 3, 0x00, false, 3}, {2, 4, 0x00, false, 4},
        {0, 1, 0x00, false, 1}, {0, 2, 0xFF, false, 2},  // a failed read brings no busy reply
    };
    for (const auto& [busy, failing, byte3, result, count] : cases) {
        SCOPED_TRACE(testing::Message() << busy << " busy, failing " << failing << ", byte 3 " << int{byte3});
        kb->clearTransfers();
        pauses.clear();
        kb->setBusyReadBacks(busy);
        if (failing) kb->failTransfer(failing);
        std::vector<uint8_t> command = counting(65);
        command[0] = 0x04;
        command[3] = byte3;
        command[64] = 0x99;  // never sent
        EXPECT_EQ(channel.sendDeviceData(command), result);
        const auto transfers = kb->transfers();
        ASSERT_EQ(transfers.size(), count);
        for (size_t i = 0; i < transfers.size(); ++i) {
            EXPECT_EQ(std::tie(transfers[i].direction, transfers[i].type, transfers[i].reportId),
                      std::make_tuple(i % 2 ? Dir::Get : Dir::Set, HidReportType::Feature, int64_t{4}));
            if (i % 2) continue;
            EXPECT_EQ(transfers[i].bytes, std::vector<uint8_t>(command.begin(), command.begin() + 64));
        }
        EXPECT_EQ(pauses, Pauses(count, 10ms));
        kb->setBusyReadBacks(0);
    }
}

// The firmware counts the last block as the terminator that the caller's length includes.
TEST_F(MarrowinV2Test, UploadSendsAllButTheLastBlockAndStopsAtAFailedOne) {
    for (const auto& [length, blocks] :
         std::vector<std::pair<int, size_t>>{{127, 0}, {130, 1}, {704, 10}, {1216, 18}}) {
        SCOPED_TRACE(length);
        kb->clearTransfers();
        pauses.clear();
        std::vector<uint8_t> data = counting(1280);
        data[64] = 0x00;  // a block that starts with 0 still goes out whole, under id 4
        EXPECT_TRUE(channel.sendDeviceData(data, length));
        const auto transfers = kb->transfers();
        ASSERT_EQ(transfers.size(), blocks);
        for (size_t i = 0; i < transfers.size(); ++i) {
            const auto begin = data.begin() + static_cast<std::ptrdiff_t>(64 * i);
            EXPECT_EQ(transfers[i], (Transfer{Dir::Set, HidReportType::Feature, 4, {begin, begin + 64}}));
        }
        EXPECT_EQ(pauses, Pauses(blocks, 10ms));
    }
    kb->clearTransfers();
    kb->failTransfer(3);
    EXPECT_FALSE(channel.sendDeviceData(counting(780), 704));
    EXPECT_FALSE(channel.sendDeviceData(counting(639), 704));  // data short of the blocks: nothing sent
    EXPECT_FALSE(channel.sendDeviceData(counting(63)));
    EXPECT_EQ(kb->transfers().size(), 3u);
}

// Lets other threads run before every transfer: an exchange that does not hold the device's lock throughout then
// interleaves with the other thread's.
class YieldingDevice : public HidHandle {
  public:
    explicit YieldingDevice(HidHandleRef inner) : inner_(std::move(inner)) {}
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
    HidHandleRef inner_;
};

using ChannelThreadTest = DeviceTest;

// Two channels on one keyboard from two threads (the home screen's version read against an editor's writes): each
// exchange's transfers stay back to back.
TEST_F(ChannelThreadTest, ExchangesOnOneKeyboardNeverInterleave) {
    using Exchange = std::function<void(const HidHandleRef&)>;
    struct Case {
        std::function<std::shared_ptr<SimulatedKeyboard>()> model;
        Exchange exchanges[2];
        size_t transfers[2];  // per exchange
    };
    const auto yieldingSleep = [](std::chrono::milliseconds) { std::this_thread::yield(); };
    std::vector<uint8_t> command(65, 0x11), data(780, 0x22);
    command[0] = 0x04;
    // Which of the two exchanges made a transfer: the second sends data (0x22) or output reports.
    const auto by = [](const Transfer& t) -> size_t {
        return t.direction == Dir::Set && (t.type == HidReportType::Output || t.bytes.at(1) == 0x22);
    };
    const std::vector<Case> cases = {
        {SimulatedKeyboard::quorvath87,
         {[&](const HidHandleRef& d) { Quorvath(d, 2).getVersion(); },
          [&](const HidHandleRef& d) { Quorvath(d, 2).sendDeviceData(data, 256); }},
         {5, 42}},
        {SimulatedKeyboard::marrowinv2_71,
         {[&](const HidHandleRef& d) { MarrowinV2(d, yieldingSleep).sendDeviceData(command); },
          [&](const HidHandleRef& d) { MarrowinV2(d, yieldingSleep).sendDeviceData(data, 704); }},
         {2, 10}},
    };
    for (const Case& c : cases) {
        auto kb = plug(c.model());
        SCOPED_TRACE(kb->model());
        const auto device = std::make_shared<YieldingDevice>(kb->device());
        {
            std::latch start(2);  // both threads at work together
            const auto run = [&](size_t which) {
                start.arrive_and_wait();
                for (int i = 0; i < 40; ++i) c.exchanges[which](device);
            };
            std::jthread first(run, 0), second(run, 1);
        }
        const auto transfers = kb->transfers();
        ASSERT_EQ(transfers.size(), 40 * (c.transfers[0] + c.transfers[1]));
        for (size_t begin = 0, end = 0; begin < transfers.size(); begin = end) {
            const size_t which = by(transfers[begin]);
            while (end < transfers.size() && by(transfers[end]) == which) ++end;
            EXPECT_EQ((end - begin) % c.transfers[which], 0u) << "a run of whole exchanges only, at " << begin;
        }
    }
}

}  // namespace
}  // namespace keyloom
