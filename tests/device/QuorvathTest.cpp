#include <gtest/gtest.h>

#include <functional>
#include <memory>

#include "ChannelBytes.h"
#include "FakeHidDevice.h"
#include "VelkorDevice/Quorvath.h"

namespace keyloom {
namespace {

using test::counting;
using test::FakeHidDevice;
using test::hex;

std::vector<uint8_t> padded(const std::string& text, size_t size) {
    std::vector<uint8_t> bytes(text.begin(), text.end());
    bytes.resize(size, 0);
    return bytes;
}

// Queues a 32-byte version answer as four 8-byte replies.
void queueVersion(FakeHidDevice& device, const std::vector<uint8_t>& answer) {
    for (size_t i = 0; i < 4; ++i)
        device.queueReply(std::vector<uint8_t>(answer.begin() + 8 * i, answer.begin() + 8 * (i + 1)));
}

struct CommandCase {
    const char* name;
    std::function<void(Quorvath&)> call;
    const char* bytes;  // empty: nothing may be sent
};

TEST(QuorvathCommands, SendExactFeatureReportsAndRefuseValuesThatDoNotFit) {
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
        {"wireless light too long", [](Quorvath& q) { q.setWirelessSleepTime(65536, 600); }, ""},
        {"wireless sleep negative", [](Quorvath& q) { q.setWirelessSleepTime(60, -600); }, ""},
        {"raw command: first 8 bytes only", [](Quorvath& q) { q.sendDeviceData(hex("05 FE 00 02 01 00 00 00 99")); },
         "05 FE 00 02 01 00 00 00"},
        {"raw command too short", [](Quorvath& q) { q.sendDeviceData(hex("05 FE 00 02 01 00 00")); }, ""},
    };
    for (const CommandCase& c : cases) {
        SCOPED_TRACE(c.name);
        auto device = std::make_shared<FakeHidDevice>(0xB57E);
        Quorvath channel(device, 2);
        c.call(channel);
        const auto transfers = device->transfers();
        if (std::string(c.bytes).empty()) {
            EXPECT_TRUE(transfers.empty());
            continue;
        }
        ASSERT_EQ(transfers.size(), 1u);
        EXPECT_TRUE(transfers[0].isSet);
        EXPECT_EQ(transfers[0].type, HidReportType::Feature);
        EXPECT_EQ(transfers[0].reportId, 5);
        EXPECT_EQ(transfers[0].bytes, hex(c.bytes));
    }
}

TEST(QuorvathCommands, StatusZeroSendsNothing) {
    auto device = std::make_shared<FakeHidDevice>(0xB57E);
    Quorvath channel(device, 2);
    channel.setDeviceStatus(0);
    channel.resetKeyboard();
    channel.setUSBSleepTime(10);
    EXPECT_EQ(channel.getVersion(), "Quorvath");
    EXPECT_FALSE(channel.getDeviceData(hex("05 FA 00 00 00 00 00 00"), 8).has_value());
    EXPECT_FALSE(channel.sendDeviceData(counting(256), 256));
    EXPECT_FALSE(channel.setBacklightData(counting(408), 408));
    EXPECT_TRUE(device->transfers().empty());
}

TEST(QuorvathCommands, ProductIdIsReadOnceAndOnlyWhenItIsAnExactInteger) {
    const std::vector<std::pair<HidPropertyValue, int64_t>> cases = {
        {int64_t{0xB58F}, 0xB58F}, {double{47550.0}, 47550}, {double{1.5}, 0}, {std::string("B57E"), 0}, {{}, 0}};
    for (const auto& [value, expected] : cases) {
        auto device = std::make_shared<FakeHidDevice>();
        device->setProperty("ProductID", value);
        EXPECT_EQ(Quorvath(device, 2).productId(), expected);
    }
}

TEST(QuorvathVersion, OneSetThenFourGetsAndTrailingNulsTrimmed) {
    auto device = std::make_shared<FakeHidDevice>(0xB57E);
    queueVersion(*device, padded("V1.0", 32));
    Quorvath channel(device, 2);
    EXPECT_EQ(channel.getVersion(), "V1.0");
    EXPECT_EQ(channel.versionType(), 2);

    const auto transfers = device->transfers();
    ASSERT_EQ(transfers.size(), 5u);
    EXPECT_TRUE(transfers[0].isSet);
    EXPECT_EQ(transfers[0].bytes, hex("05 F4 00 00 00 00 00 00"));
    for (size_t i = 1; i < 5; ++i) {
        EXPECT_FALSE(transfers[i].isSet);
        EXPECT_EQ(transfers[i].type, HidReportType::Feature);
        EXPECT_EQ(transfers[i].reportId, 5);
    }
}

TEST(QuorvathVersion, TextDecoding) {
    const std::vector<std::pair<std::vector<uint8_t>, std::string>> cases = {
        {padded(std::string("\0\0A\0B", 5), 32), std::string("A\0B", 3)},  // only the ends are trimmed
        {padded("\xFF"
                "V2",
                32),
         "\xEF\xBF\xBD"
         "V2"},  // invalid UTF-8 becomes U+FFFD
        {padded("", 32), ""},
    };
    for (const auto& [answer, text] : cases) {
        auto device = std::make_shared<FakeHidDevice>(0xB57E);
        queueVersion(*device, answer);
        EXPECT_EQ(Quorvath(device, 2).getVersion(), text);
    }
}

TEST(QuorvathVersion, Firmware180905SwitchesToSevenBytesPerReport) {
    auto device = std::make_shared<FakeHidDevice>(0xB57E);
    queueVersion(*device, padded("QV-xx180905yy", 32));
    Quorvath channel(device, 2);
    EXPECT_EQ(channel.getVersion(), "QV-xx180905yy");
    EXPECT_EQ(channel.versionType(), 1);
    EXPECT_TRUE(channel.sendDeviceData(counting(256), 256));
    EXPECT_EQ(device->transfers().size(), 5u + 36u);
}

TEST(QuorvathVersion, FailedReadGivesQuorvathAndKeepsTheSevenThenSixLayout) {
    auto device = std::make_shared<FakeHidDevice>(0xB57E);
    queueVersion(*device, padded("180905", 32));
    device->failTransfer(4);  // the third get
    Quorvath channel(device, 2);
    EXPECT_EQ(channel.getVersion(), "Quorvath");
    EXPECT_EQ(channel.versionType(), 2);
    EXPECT_EQ(device->transfers().size(), 4u);  // the fourth get is not made
    EXPECT_TRUE(channel.sendDeviceData(counting(256), 256));
    EXPECT_EQ(device->transfers().size(), 4u + 42u);
}

TEST(QuorvathRead, ReadCountFollowsSize) {
    struct Case {
        int64_t size;
        size_t gets;
    };
    for (const Case c : {Case{8, 1}, Case{32, 4}, Case{5, 0}, Case{0, 0}, Case{15, 1}}) {
        SCOPED_TRACE(c.size);
        auto device = std::make_shared<FakeHidDevice>(0xB57E);
        Quorvath channel(device, 2);
        const auto result = channel.getDeviceData(hex("05 FA 00 00 00 00 00 00"), c.size);
        ASSERT_TRUE(result.has_value());  // an empty read is an empty buffer, not none
        EXPECT_EQ(result->size(), 8 * c.gets);
        EXPECT_EQ(device->transfers().size(), 1 + c.gets);
    }
}

TEST(QuorvathRead, ReplyBytesAreAppendedAndAShortReplyKeepsOnlyWhatArrived) {
    auto device = std::make_shared<FakeHidDevice>(0xB57E);
    device->queueReply(hex("05 FA 01 02 03 04 05 06"));
    device->queueReply(hex("05 FA 07"));
    Quorvath channel(device, 2);
    const auto result = channel.getDeviceData(hex("05 FA 00 00 00 00 00 00"), 16);
    ASSERT_TRUE(result.has_value());
    EXPECT_EQ(*result, hex("05 FA 01 02 03 04 05 06 05 FA 07"));
}

TEST(QuorvathRead, AnyFailedTransferGivesNone) {
    for (size_t failing : {1u, 2u, 4u}) {
        auto device = std::make_shared<FakeHidDevice>(0xB57E);
        device->failTransfer(failing);
        Quorvath channel(device, 2);
        EXPECT_FALSE(channel.getDeviceData(hex("05 F4 00 00 00 00 00 00"), 32).has_value());
        EXPECT_EQ(device->transfers().size(), failing);
    }
}

struct BulkCase {
    const char* name;
    int64_t versionType;
    bool colour;
    size_t reports;
    size_t bytesSent;  // data bytes 0 .. bytesSent-1 go out
    const char* first;
    const char* second;
    const char* last;
};

TEST(QuorvathBulk, LayoutsAndFixedReportCounts) {
    const std::vector<BulkCase> cases = {
        {"key record, 7 then 6", 2, false, 42, 253, "05 00 01 02 03 04 05 06", "05 00 07 08 09 0A 0B 0C",
         "05 00 F7 F8 F9 FA FB FC"},
        {"key record, 7 each", 1, false, 36, 252, "05 00 01 02 03 04 05 06", "05 07 08 09 0A 0B 0C 0D",
         "05 F5 F6 F7 F8 F9 FA FB"},
        {"colour block, 7 then 6", 2, true, 67, 403, "05 00 01 02 03 04 05 06", "05 00 07 08 09 0A 0B 0C",
         "05 00 8D 8E 8F 90 91 92"},
        {"colour block, 7 each", 1, true, 58, 406, "05 00 01 02 03 04 05 06", "05 07 08 09 0A 0B 0C 0D",
         "05 8F 90 91 92 93 94 95"},
        {"any other version type is 7 then 6", 0, false, 42, 253, "05 00 01 02 03 04 05 06", "05 00 07 08 09 0A 0B 0C",
         "05 00 F7 F8 F9 FA FB FC"},
        {"version type 3", 3, true, 67, 403, "05 00 01 02 03 04 05 06", "05 00 07 08 09 0A 0B 0C",
         "05 00 8D 8E 8F 90 91 92"},
    };
    for (const BulkCase& c : cases) {
        for (int64_t length : {int64_t{0}, int64_t{256}, int64_t{408}, int64_t{9999}}) {
            SCOPED_TRACE(std::string(c.name) + ", length " + std::to_string(length));
            auto device = std::make_shared<FakeHidDevice>(0xB57E);
            Quorvath channel(device, c.versionType);
            const std::vector<uint8_t> data = counting(c.colour ? 408 : 256);
            EXPECT_TRUE(c.colour ? channel.setBacklightData(data, length) : channel.sendDeviceData(data, length));

            const auto transfers = device->transfers();
            ASSERT_EQ(transfers.size(), c.reports);
            EXPECT_EQ(transfers.front().bytes, hex(c.first));
            EXPECT_EQ(transfers[1].bytes, hex(c.second));
            EXPECT_EQ(transfers.back().bytes, hex(c.last));
            // Reassembled, the reports carry exactly the leading data bytes, each once and in order.
            std::vector<uint8_t> carried;
            for (size_t k = 0; k < transfers.size(); ++k) {
                const auto& t = transfers[k];
                EXPECT_TRUE(t.isSet);
                EXPECT_EQ(t.type, HidReportType::Output);
                EXPECT_EQ(t.reportId, 5);
                ASSERT_EQ(t.bytes.size(), 8u);
                EXPECT_EQ(t.bytes[0], 0x05);
                const size_t skip = (k > 0 && c.versionType != 1) ? 2 : 1;
                if (skip == 2) {
                    EXPECT_EQ(t.bytes[1], 0x00);
                }
                carried.insert(carried.end(), t.bytes.begin() + skip, t.bytes.end());
            }
            EXPECT_EQ(carried, std::vector<uint8_t>(data.begin(), data.begin() + c.bytesSent));
        }
    }
}

TEST(QuorvathBulk, TrueOnlyWhenEveryReportWasAcceptedAndAllAreSent) {
    struct Case {
        size_t failing;  // 0 = none
        bool result;
    };
    for (const Case c : {Case{0, true}, Case{1, false}, Case{20, false}, Case{42, false}}) {
        SCOPED_TRACE(c.failing);
        auto device = std::make_shared<FakeHidDevice>(0xB57E);
        if (c.failing) device->failTransfer(c.failing);
        Quorvath channel(device, 2);
        EXPECT_EQ(channel.sendDeviceData(counting(256), 256), c.result);
        EXPECT_EQ(device->transfers().size(), 42u);
    }
    auto device = std::make_shared<FakeHidDevice>(0xB57E);
    device->failTransfer(1);
    Quorvath channel(device, 1);
    EXPECT_FALSE(channel.setBacklightData(counting(408), 408));
    EXPECT_EQ(device->transfers().size(), 58u);
}

TEST(QuorvathBulk, DataShorterThanTheLayoutReadsSendsNothing) {
    struct Case {
        int64_t versionType;
        bool colour;
        size_t shortSize;
    };
    for (const Case c : {Case{2, false, 252}, Case{1, false, 251}, Case{2, true, 402}, Case{1, true, 405}}) {
        auto device = std::make_shared<FakeHidDevice>(0xB57E);
        Quorvath channel(device, c.versionType);
        const auto data = counting(c.shortSize);
        EXPECT_FALSE(c.colour ? channel.setBacklightData(data, 408) : channel.sendDeviceData(data, 256));
        EXPECT_TRUE(device->transfers().empty());
    }
}

}  // namespace
}  // namespace keyloom
