#include <gtest/gtest.h>

#include <functional>
#include <memory>

#include "ChannelBytes.h"
#include "SimulatedDeviceTest.h"
#include "VelkorDevice/Quorvath.h"

namespace keyloom {
namespace {

using test::carriedBytes;
using test::counting;
using test::Dir;
using test::hex;

class QuorvathTest : public test::SimulatedDeviceTest {};

struct CommandCase {
    const char* name;
    std::function<void(Quorvath&)> call;
    const char* bytes;  // empty: nothing may be sent
};

TEST_F(QuorvathTest, CommandsSendExactFeatureReportsAndRefuseValuesThatDoNotFit) {
    const std::vector<CommandCase> cases = {
        {"reset", [](Quorvath& q) { q.resetKeyboard(); }, "05 F6 00 00 00 00 00 00"},
        {"report rate 8", [](Quorvath& q) { q.setKeyboardReport(8); }, "05 F7 08 00 00 00 00 00"},
        {"report rate 255", [](Quorvath& q) { q.setKeyboardReport(255); }, "05 F7 FF 00 00 00 00 00"},
        {"report rate 256", [](Quorvath& q) { q.setKeyboardReport(256); }, ""},
        {"report rate -1", [](Quorvath& q) { q.setKeyboardReport(-1); }, ""},
        {"usb sleep 300", [](Quorvath& q) { q.setUSBSleepTime(300); }, "05 FE 0E 01 01 2C 00 00"},
        {"usb sleep 65535", [](Quorvath& q) { q.setUSBSleepTime(65535); }, "05 FE 0E 01 FF FF 00 00"},
        {"usb sleep 65536", [](Quorvath& q) { q.setUSBSleepTime(65536); }, ""},
        {"usb sleep -1", [](Quorvath& q) { q.setUSBSleepTime(-1); }, ""},
        {"wireless 60 600", [](Quorvath& q) { q.setWirelessSleepTime(60, 600); }, "05 FE 0E 02 00 3C 02 58"},
        {"wireless 0 65535", [](Quorvath& q) { q.setWirelessSleepTime(0, 65535); }, "05 FE 0E 02 00 00 FF FF"},
        {"wireless light-off too long", [](Quorvath& q) { q.setWirelessSleepTime(65536, 600); }, ""},
        {"wireless sleep negative", [](Quorvath& q) { q.setWirelessSleepTime(60, -600); }, ""},
        {"raw command: first 8 bytes only", [](Quorvath& q) { q.sendDeviceData(hex("05 FE 00 02 01 00 00 00 99")); },
         "05 FE 00 02 01 00 00 00"},
        {"raw command too short", [](Quorvath& q) { q.sendDeviceData(hex("05 FE 00 02 01 00 00")); }, ""},
    };
    auto kb = plug(SimulatedKeyboard::quorvath87());
    Quorvath channel(kb->device(), 2);
    for (const CommandCase& c : cases) {
        SCOPED_TRACE(c.name);
        kb->clearTransfers();
        c.call(channel);
        const auto transfers = kb->transfers();
        if (std::string(c.bytes).empty()) {
            EXPECT_TRUE(transfers.empty());
            continue;
        }
        ASSERT_EQ(transfers.size(), 1u);
        EXPECT_EQ(transfers[0], (SimulatedKeyboard::Transfer{Dir::Set, HidReportType::Feature, 5, hex(c.bytes)}));
    }
}

TEST_F(QuorvathTest, StatusZeroSendsNothing) {
    auto kb = plug(SimulatedKeyboard::quorvath87());
    Quorvath channel(kb->device(), 2);
    channel.setDeviceStatus(0);
    channel.resetKeyboard();
    channel.setUSBSleepTime(10);
    EXPECT_FALSE(channel.sendDeviceData(hex("05 FE 00 02 01 00 00 00")));
    EXPECT_EQ(channel.getVersion(), "Quorvath");
    EXPECT_FALSE(channel.getDeviceData(hex("05 FA 00 00 00 00 00 00"), 8).has_value());
    EXPECT_FALSE(channel.sendDeviceData(counting(256), 256));
    EXPECT_FALSE(channel.setBacklightData(counting(408), 408));
    channel.setKeyDisable(41, 0);
    EXPECT_TRUE(kb->transfers().empty());
}

TEST_F(QuorvathTest, ProductIdCountsOnlyWhenItIsAnExactInteger) {
    const auto productIdWith = [](HidPropertyValue value) {
        auto kb = SimulatedKeyboard::quorvath87();
        kb->setProperty("ProductID", std::move(value));
        plug(kb);
        return Quorvath(kb->device(), 2).productId();
    };
    EXPECT_EQ(productIdWith(int64_t{0xB58F}), 0xB58F);
    EXPECT_EQ(productIdWith(47550.0), 47550);
    EXPECT_EQ(productIdWith(1.5), 0);
    EXPECT_EQ(productIdWith(std::string("B57E")), 0);
    EXPECT_EQ(productIdWith(std::monostate{}), 0);
}

TEST_F(QuorvathTest, VersionReadIsOneSetThenFourGets) {
    auto kb = plug(SimulatedKeyboard::quorvath87());
    kb->setFirmwareVersion("V1.0");
    Quorvath channel(kb->device(), 2);
    EXPECT_EQ(channel.getVersion(), "V1.0");
    EXPECT_EQ(channel.versionType(), 2);

    const auto transfers = kb->transfers();
    ASSERT_EQ(transfers.size(), 5u);
    EXPECT_EQ(transfers[0],
              (SimulatedKeyboard::Transfer{Dir::Set, HidReportType::Feature, 5, hex("05 F4 00 00 00 00 00 00")}));
    std::vector<uint8_t> answer;
    for (size_t i = 1; i < 5; ++i) {
        EXPECT_EQ(transfers[i].direction, Dir::Get);
        EXPECT_EQ(transfers[i].type, HidReportType::Feature);
        EXPECT_EQ(transfers[i].reportId, 5);
        EXPECT_EQ(transfers[i].bytes.size(), 8u);
        answer.insert(answer.end(), transfers[i].bytes.begin(), transfers[i].bytes.end());
    }
    EXPECT_EQ(answer.size(), 32u);  // "V1.0" and 28 NULs, trimmed away
}

TEST_F(QuorvathTest, VersionTextDecoding) {
    const std::vector<std::pair<std::string, std::string>> cases = {
        {std::string("\0\0A\0B", 5), std::string("A\0B", 3)},  // only the ends are trimmed
        {"\xFF"
         "V2",
         "\xEF\xBF\xBD"
         "V2"},  // invalid UTF-8 becomes U+FFFD
        {"", ""},
    };
    for (const auto& [firmware, text] : cases) {
        auto kb = plug(SimulatedKeyboard::quorvath87());
        kb->setFirmwareVersion(firmware);
        EXPECT_EQ(Quorvath(kb->device(), 2).getVersion(), text);
    }
}

TEST_F(QuorvathTest, Firmware180905SwitchesToSevenBytesPerReport) {
    auto kb = plug(SimulatedKeyboard::quorvath87());
    kb->setFirmwareVersion("QV-xx180905yy");
    Quorvath channel(kb->device(), 2);
    EXPECT_EQ(channel.getVersion(), "QV-xx180905yy");
    EXPECT_EQ(channel.versionType(), 1);
    kb->clearTransfers();
    EXPECT_TRUE(channel.sendDeviceData(counting(256), 256));
    EXPECT_EQ(kb->sentReports(HidReportType::Output).size(), 36u);
}

TEST_F(QuorvathTest, FailedVersionReadGivesQuorvathAndKeepsTheSevenThenSixLayout) {
    auto kb = plug(SimulatedKeyboard::quorvath87());
    kb->setFirmwareVersion("180905");
    kb->failTransfer(4);  // the third get
    Quorvath channel(kb->device(), 2);
    EXPECT_EQ(channel.getVersion(), "Quorvath");
    EXPECT_EQ(channel.versionType(), 2);
    EXPECT_EQ(kb->transfers().size(), 4u);  // no fourth get
    kb->clearTransfers();
    EXPECT_TRUE(channel.sendDeviceData(counting(256), 256));
    EXPECT_EQ(kb->sentReports(HidReportType::Output).size(), 42u);
}

TEST_F(QuorvathTest, ReadCountFollowsSize) {
    struct Case {
        int64_t size;
        size_t gets;
    };
    auto kb = plug(SimulatedKeyboard::quorvath87());
    kb->setLightingState(hex("01 02 03 04 05 06"));
    Quorvath channel(kb->device(), 2);
    for (const Case c : {Case{8, 1}, Case{32, 4}, Case{5, 0}, Case{0, 0}, Case{15, 1}}) {
        SCOPED_TRACE(c.size);
        kb->clearTransfers();
        const auto result = channel.getDeviceData(hex("05 FA 00 00 00 00 00 00"), c.size);
        ASSERT_TRUE(result.has_value());  // an empty read is an empty buffer, not none
        EXPECT_EQ(result->size(), 8 * c.gets);
        EXPECT_EQ(kb->transfers().size(), 1 + c.gets);
        if (c.gets == 1) {
            EXPECT_EQ(*result, hex("05 FA 01 02 03 04 05 06"));
        }
    }
}

TEST_F(QuorvathTest, ReadAppendsWhatEachGetBroughtAndFailsWhole) {
    auto kb = plug(SimulatedKeyboard::quorvath87());
    kb->queueReply(hex("05 FA 01 02 03 04 05 06"));
    kb->queueReply(hex("05 FA 07"));
    Quorvath channel(kb->device(), 2);
    EXPECT_EQ(channel.getDeviceData(hex("05 FA 00 00 00 00 00 00"), 16), hex("05 FA 01 02 03 04 05 06 05 FA 07"));

    for (size_t failing : {1u, 2u, 4u}) {
        SCOPED_TRACE(failing);
        kb->clearTransfers();
        kb->failTransfer(failing);
        EXPECT_FALSE(channel.getDeviceData(hex("05 F4 00 00 00 00 00 00"), 32).has_value());
        EXPECT_EQ(kb->transfers().size(), failing);
    }
}

TEST_F(QuorvathTest, UnpluggedKeyboardFailsCleanly) {
    auto kb = plug(SimulatedKeyboard::quorvath87());
    Quorvath channel(kb->device(), 2);
    kb->unplug();
    EXPECT_EQ(channel.getVersion(), "Quorvath");
    EXPECT_FALSE(channel.sendDeviceData(counting(256), 256));
    EXPECT_FALSE(channel.setBacklightData(counting(408), 408));
    channel.setKeyDisable(41, 0);
    EXPECT_TRUE(kb->transfers().empty());
}

struct BulkCase {
    const char* name;
    int64_t versionType;
    bool colour;
    size_t reports;
    size_t bytesSent;  // data bytes 0 .. bytesSent-1 go out
    const char* second;
    const char* last;
};

TEST_F(QuorvathTest, BulkLayoutsAndFixedReportCounts) {
    const std::vector<BulkCase> cases = {
        {"key record, 7 then 6", 2, false, 42, 253, "05 00 07 08 09 0A 0B 0C", "05 00 F7 F8 F9 FA FB FC"},
        {"key record, 7 each", 1, false, 36, 252, "05 07 08 09 0A 0B 0C 0D", "05 F5 F6 F7 F8 F9 FA FB"},
        {"colour block, 7 then 6", 2, true, 67, 403, "05 00 07 08 09 0A 0B 0C", "05 00 8D 8E 8F 90 91 92"},
        {"colour block, 7 each", 1, true, 58, 406, "05 07 08 09 0A 0B 0C 0D", "05 8F 90 91 92 93 94 95"},
        {"version type 0 is 7 then 6", 0, false, 42, 253, "05 00 07 08 09 0A 0B 0C", "05 00 F7 F8 F9 FA FB FC"},
        {"version type 3 is 7 then 6", 3, true, 67, 403, "05 00 07 08 09 0A 0B 0C", "05 00 8D 8E 8F 90 91 92"},
    };
    auto kb = plug(SimulatedKeyboard::quorvath87());
    for (const BulkCase& c : cases) {
        Quorvath channel(kb->device(), c.versionType);
        for (int64_t length : {int64_t{0}, int64_t{256}, int64_t{408}, int64_t{9999}}) {
            SCOPED_TRACE(std::string(c.name) + ", length " + std::to_string(length));
            kb->clearTransfers();
            const std::vector<uint8_t> data = counting(c.colour ? 408 : 256);
            EXPECT_TRUE(c.colour ? channel.setBacklightData(data, length) : channel.sendDeviceData(data, length));

            const auto transfers = kb->transfers();
            ASSERT_EQ(transfers.size(), c.reports);
            for (const auto& t : transfers) {
                EXPECT_EQ(t.direction, Dir::Set);
                EXPECT_EQ(t.type, HidReportType::Output);
                EXPECT_EQ(t.reportId, 5);
            }
            const auto reports = kb->sentReports(HidReportType::Output);
            EXPECT_EQ(reports.front(), hex("05 00 01 02 03 04 05 06"));
            EXPECT_EQ(reports[1], hex(c.second));
            EXPECT_EQ(reports.back(), hex(c.last));
            for (const auto& r : reports) {
                ASSERT_EQ(r.size(), 8u);
                EXPECT_EQ(r[0], 0x05);
            }
            // Reassembled, the reports carry exactly the leading data bytes, each once and in order.
            EXPECT_EQ(carriedBytes(reports, c.versionType == 1),
                      std::vector<uint8_t>(data.begin(), data.begin() + static_cast<std::ptrdiff_t>(c.bytesSent)));
        }
    }
}

TEST_F(QuorvathTest, BulkIsTrueOnlyWhenEveryReportWasAcceptedAndAllAreSent) {
    struct Case {
        int64_t versionType;
        bool colour;
        size_t failing;  // 0 = none
        bool result;
        size_t reports;
    };
    const std::vector<Case> cases = {{2, false, 0, true, 42},   {2, false, 1, false, 42}, {2, false, 20, false, 42},
                                     {2, false, 42, false, 42}, {1, true, 1, false, 58},  {2, true, 67, false, 67}};
    auto kb = plug(SimulatedKeyboard::quorvath87());
    for (const Case& c : cases) {
        SCOPED_TRACE(c.failing);
        kb->clearTransfers();
        if (c.failing) kb->failTransfer(c.failing);
        Quorvath channel(kb->device(), c.versionType);
        EXPECT_EQ(c.colour ? channel.setBacklightData(counting(408), 408) : channel.sendDeviceData(counting(256), 256),
                  c.result);
        EXPECT_EQ(kb->transfers().size(), c.reports);
    }
}

TEST_F(QuorvathTest, BulkDataShorterThanTheLayoutReadsSendsNothing) {
    struct Case {
        int64_t versionType;
        bool colour;
        size_t shortSize;
    };
    auto kb = plug(SimulatedKeyboard::quorvath87());
    for (const Case c : {Case{2, false, 252}, Case{1, false, 251}, Case{2, true, 402}, Case{1, true, 405}}) {
        Quorvath channel(kb->device(), c.versionType);
        const auto data = counting(c.shortSize);
        EXPECT_FALSE(c.colour ? channel.setBacklightData(data, 408) : channel.sendDeviceData(data, 256));
        EXPECT_TRUE(kb->transfers().empty());
    }
}

}  // namespace
}  // namespace keyloom
