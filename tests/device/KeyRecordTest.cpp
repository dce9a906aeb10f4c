#include <gtest/gtest.h>

#include <memory>

#include "ChannelBytes.h"
#include "FakeHidDevice.h"
#include "VelkorDevice/Quorvath.h"
#include "Views/Keyboard/KeyLayout/CurrentDevice.h"

namespace keyloom {
namespace {

using test::FakeHidDevice;
using test::hex;

constexpr int64_t kQuorvath87 = 0xB57E;

struct Sent {
    size_t reports = 0;
    std::vector<uint8_t> record;  // the record bytes the reports carried
    std::vector<std::vector<uint8_t>> raw;
};

// Reassembles what a bulk write carried, in the layout of versionType.
Sent sent(const FakeHidDevice& device, int64_t versionType) {
    Sent s;
    for (const auto& t : device.transfers()) {
        EXPECT_EQ(t.type, HidReportType::Output);
        const size_t skip = (s.reports > 0 && versionType != 1) ? 2 : 1;
        s.record.insert(s.record.end(), t.bytes.begin() + skip, t.bytes.end());
        s.raw.push_back(t.bytes);
        ++s.reports;
    }
    return s;
}

std::vector<uint8_t> record(const std::string& head, uint8_t fill, size_t size = 253) {
    std::vector<uint8_t> r = hex(head);
    r.resize(size, fill);
    return r;
}

TEST(KeyRecords, DefaultDisabledAndCombinationRecords) {
    struct Case {
        const char* name;
        std::function<void(Quorvath&)> call;
        std::vector<uint8_t> expected;
    };
    const std::vector<Case> cases = {
        {"default, layout index 16", [](Quorvath& q) { q.setKeyDefaultValue(53, 0); }, record("FF 00 01 00", 0x00)},
        {"disabled Escape", [](Quorvath& q) { q.setKeyDisable(41, 0); }, record("FF 00 00 00", 0xFF)},
        {"leftShift + a on Option (code map: 226 is slot 77)",
         [](Quorvath& q) {
             q.setKeyNewValue(226, std::vector<int64_t>{225, 4}, 0, true);
         },
         record("FF 00 04 D0 01 E1 01 04 01 E1 80 04 80", 0x00)},
        {"default of Left Command (code map: 227 is slot 78)", [](Quorvath& q) { q.setKeyDefaultValue(227, 0); },
         record("FF 00 04 E0", 0x00)},
        {"write false marks byte 1 only",
         [](Quorvath& q) {
             q.setKeyNewValue(226, std::vector<int64_t>{225, 4}, 0, false);
         },
         record("FF 01 04 D0 01 E1 01 04 01 E1 80 04 80", 0x00)},
        {"same code twice: twice pressed, twice released, in press order",
         [](Quorvath& q) {
             q.setKeyNewValue(41, std::vector<int64_t>{4, 5, 4}, 0, true);
         },
         record("FF 00 00 00 01 04 01 05 01 04 01 04 80 05 80 04 80", 0x00)},
        {"empty combination", [](Quorvath& q) { q.setKeyNewValue(41, std::vector<int64_t>{}, 0, true); },
         record("FF 00 00 00 01", 0x00)},
        {"knob backward, profile 1: slot 90 + 91", [](Quorvath& q) { q.setKeyDefaultValue(253, 1); },
         record("FF 00 0B 50", 0x00)},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        auto device = std::make_shared<FakeHidDevice>(kQuorvath87);
        Quorvath channel(device, 2);
        c.call(channel);
        const Sent s = sent(*device, 2);
        EXPECT_EQ(s.reports, 42u);
        EXPECT_EQ(s.record, c.expected);
    }
}

TEST(KeyRecords, CombinationReportsInBothLayouts) {
    const std::vector<int64_t> shiftA{225, 4};
    auto device = std::make_shared<FakeHidDevice>(kQuorvath87);
    Quorvath channel(device, 2);
    channel.setKeyNewValue(226, shiftA, 0, true);
    Sent s = sent(*device, 2);
    ASSERT_EQ(s.reports, 42u);
    EXPECT_EQ(s.raw[0], hex("05 FF 00 04 D0 01 E1 01"));
    EXPECT_EQ(s.raw[1], hex("05 00 04 01 E1 80 04 80"));
    EXPECT_EQ(s.raw[2], hex("05 00 00 00 00 00 00 00"));

    device = std::make_shared<FakeHidDevice>(kQuorvath87);
    Quorvath seven(device, 1);
    seven.setKeyNewValue(226, shiftA, 0, true);
    s = sent(*device, 1);
    ASSERT_EQ(s.reports, 36u);
    EXPECT_EQ(s.raw[0], hex("05 FF 00 04 D0 01 E1 01"));
    EXPECT_EQ(s.raw[1], hex("05 04 01 E1 80 04 80 00"));
}

TEST(KeyRecords, FlashAddresses) {
    struct Case {
        int64_t productId;
        int64_t keyValue;
        int64_t profile;
        const char* address;  // empty: none
    };
    const std::vector<Case> cases = {
        {0xB57E, 41, 0, "00 00"},   {0xB51F, 41, 1, "05 B0"},   // 91 slots per profile
        {0xB57E, 226, 0, "04 D0"},  {0xB57E, 231, 0, "05 00"},  // rightWin shares rightAlt's slot 80
        {0xB57E, 253, 44, "FF E0"}, {0xB57E, 41, 45, "FF F0"},  // slot 4095 = 45 * 91: the last one
        {0xB57E, 58, 45, ""},                                   // slot 4096
        {0xB57E, 100, 0, ""},                                   // not a key of the 87
        {0xB57E, 41, -1, ""},       {0, 41, 0, ""},
        {0xB20D, 41, 0, ""},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(std::to_string(c.productId) + "/" + std::to_string(c.keyValue) + "/" + std::to_string(c.profile));
        auto device = std::make_shared<FakeHidDevice>(c.productId);
        Quorvath channel(device, 2);
        uint8_t a1 = 0xAA;
        uint8_t a2 = 0xBB;
        const bool found = channel.getKeyFlashAddress(c.keyValue, c.profile, a1, a2);
        if (std::string(c.address).empty()) {
            EXPECT_FALSE(found);
            EXPECT_EQ(a1, 0xAA);  // untouched
            EXPECT_EQ(a2, 0xBB);
        } else {
            ASSERT_TRUE(found);
            EXPECT_EQ((std::vector<uint8_t>{a1, a2}), hex(c.address));
        }
    }
}

TEST(KeyRecords, NothingIsSentWithoutAnAddressOrForACombinationThatDoesNotFit) {
    const std::vector<int64_t> sixtyTwo(62, 4);
    const std::vector<int64_t> sixtyOne(61, 4);
    const std::vector<int64_t> sixtyThree(63, 4);
    struct Case {
        const char* name;
        int64_t productId;
        int64_t versionType;
        std::function<void(Quorvath&)> call;
        bool sends;
    };
    const std::vector<Case> cases = {
        // Without a product id the record would land on Escape of profile 0.
        {"unknown product id, default", 0, 2, [](Quorvath& q) { q.setKeyDefaultValue(41, 0); }, false},
        {"unknown product id, disable", 0x1234, 2, [](Quorvath& q) { q.setKeyDisable(41, 0); }, false},
        {"unknown product id, combination", 0, 2,
         [](Quorvath& q) { q.setKeyNewValue(41, std::vector<int64_t>{4}, 0, true); }, false},
        {"key not on the model", kQuorvath87, 2, [](Quorvath& q) { q.setKeyDisable(100, 0); }, false},
        {"slot beyond the flash", kQuorvath87, 2, [](Quorvath& q) { q.setKeyDefaultValue(41, 46); }, false},
        {"code above 255", kQuorvath87, 2,
         [](Quorvath& q) {
             q.setKeyNewValue(41, std::vector<int64_t>{225, 300}, 0, true);
         },
         false},
        {"negative code", kQuorvath87, 2, [](Quorvath& q) { q.setKeyNewValue(41, std::vector<int64_t>{-1}, 0, true); },
         false},
        {"62 codes fit the 7-then-6 layout", kQuorvath87, 2,
         [&](Quorvath& q) { q.setKeyNewValue(41, sixtyTwo, 0, true); }, true},
        {"63 codes do not", kQuorvath87, 2, [&](Quorvath& q) { q.setKeyNewValue(41, sixtyThree, 0, true); }, false},
        {"61 codes fit the 7-byte layout", kQuorvath87, 1,
         [&](Quorvath& q) { q.setKeyNewValue(41, sixtyOne, 0, true); }, true},
        // Its last release mark would be at offset 252, which that layout does not send.
        {"62 codes do not", kQuorvath87, 1, [&](Quorvath& q) { q.setKeyNewValue(41, sixtyTwo, 0, true); }, false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        auto device = std::make_shared<FakeHidDevice>(c.productId);
        Quorvath channel(device, c.versionType);
        c.call(channel);
        EXPECT_EQ(device->transfers().empty(), !c.sends);
    }
}

TEST(KeyRecords, SixtyTwoCodesEndWithTheLastReleaseAtOffset252) {
    auto device = std::make_shared<FakeHidDevice>(kQuorvath87);
    Quorvath channel(device, 2);
    std::vector<int64_t> codes(62);
    for (size_t i = 0; i < codes.size(); ++i) codes[i] = static_cast<int64_t>(4 + i);
    channel.setKeyNewValue(41, codes, 0, true);
    const Sent s = sent(*device, 2);
    ASSERT_EQ(s.record.size(), 253u);
    EXPECT_EQ(s.record[5], 4);
    EXPECT_EQ(s.record[6], 0x01);
    EXPECT_EQ(s.record[5 + 2 * 62], 4);  // releases restart with the first code
    EXPECT_EQ(s.record[251], 65);
    EXPECT_EQ(s.record[252], 0x80);
}

// The address comes from the channel's own model, whatever keyboard is current.
TEST(KeyRecords, SlotComesFromTheChannelsOwnModelNotTheCurrentDevice) {
    const KeyNameMap otherNames{{"leftAlt", nameRow(226, "Alt", "Alt", 3)}};
    const KeyCodeMap otherCodes{{226, codeRow("leftAlt", "Alt", "Alt", 3)}};
    setCurrentKeyMaps(otherNames, otherCodes);
    auto device = std::make_shared<FakeHidDevice>(kQuorvath87);
    Quorvath channel(device, 2);
    channel.setKeyDefaultValue(226, 0);
    resetCurrentDevice();
    EXPECT_EQ(sent(*device, 2).raw.at(0), hex("05 FF 00 04 D0 00 00 00"));
}

}  // namespace
}  // namespace keyloom
