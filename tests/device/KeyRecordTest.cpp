#include <gtest/gtest.h>

#include <functional>
#include <memory>

#include "ChannelBytes.h"
#include "SimulatedDeviceTest.h"
#include "VelkorDevice/Quorvath.h"
#include "Views/Keyboard/KeyLayout/CurrentDevice.h"

namespace keyloom {
namespace {

using test::carriedBytes;
using test::hex;

class KeyRecordTest : public test::SimulatedDeviceTest {};

// What the record writers sent, reassembled (253 bytes in the 7-then-6 layout).
std::vector<uint8_t> sentRecord(const SimulatedKeyboard& kb, int64_t versionType = 2) {
    return carriedBytes(kb.sentReports(HidReportType::Output), versionType == 1);
}

std::vector<uint8_t> record(const std::string& head, uint8_t fill, size_t size = 253) {
    std::vector<uint8_t> r = hex(head);
    r.resize(size, fill);
    return r;
}

TEST_F(KeyRecordTest, DefaultDisabledAndCombinationRecordsOnTheQuorvath87) {
    struct Case {
        const char* name;
        std::function<void(Quorvath&)> call;
        std::vector<uint8_t> expected;
    };
    const std::vector<Case> cases = {
        {"default, layout index 16", [](Quorvath& q) { q.setKeyDefaultValue(53, 0); }, record("FF 00 01 00", 0x00)},
        {"disabled Escape", [](Quorvath& q) { q.setKeyDisable(41, 0); }, record("FF 00 00 00", 0xFF)},
        // The code map puts Option (226) in slot 77 and Left Command (227) in 78; the name map has them the other
        // way round.
        {"leftShift + a on Option",
         [](Quorvath& q) {
             q.setKeyNewValue(226, std::vector<int64_t>{225, 4}, 0, true);
         },
         record("FF 00 04 D0 01 E1 01 04 01 E1 80 04 80", 0x00)},
        {"default of Left Command", [](Quorvath& q) { q.setKeyDefaultValue(227, 0); }, record("FF 00 04 E0", 0x00)},
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
    auto kb = plug(SimulatedKeyboard::quorvath87());
    Quorvath channel(kb->device(), 2);
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        kb->clearTransfers();
        c.call(channel);
        EXPECT_EQ(kb->sentReports(HidReportType::Output).size(), 42u);
        EXPECT_EQ(sentRecord(*kb), c.expected);
    }
}

TEST_F(KeyRecordTest, CombinationReportsInBothLayouts) {
    const std::vector<int64_t> shiftA{225, 4};
    auto kb = plug(SimulatedKeyboard::quorvath87());
    Quorvath channel(kb->device(), 2);
    channel.setKeyNewValue(226, shiftA, 0, true);
    auto reports = kb->sentReports(HidReportType::Output);
    ASSERT_EQ(reports.size(), 42u);
    EXPECT_EQ(reports[0], hex("05 FF 00 04 D0 01 E1 01"));
    EXPECT_EQ(reports[1], hex("05 00 04 01 E1 80 04 80"));
    EXPECT_EQ(reports[2], hex("05 00 00 00 00 00 00 00"));

    kb->clearTransfers();
    Quorvath seven(kb->device(), 1);
    seven.setKeyNewValue(226, shiftA, 0, true);
    reports = kb->sentReports(HidReportType::Output);
    ASSERT_EQ(reports.size(), 36u);
    EXPECT_EQ(reports[0], hex("05 FF 00 04 D0 01 E1 01"));
    EXPECT_EQ(reports[1], hex("05 04 01 E1 80 04 80 00"));
}

TEST_F(KeyRecordTest, FlashAddressesOnEveryModel) {
    struct Case {
        std::function<std::shared_ptr<SimulatedKeyboard>()> model;
        const char* name;
        int64_t keyValue;
        int64_t profile;
        const char* address;  // empty: none, and nothing is sent
    };
    using K = SimulatedKeyboard;
    const std::vector<Case> cases = {
        {K::quorvath87, "87: Option", 226, 0, "04 D0"},
        {K::quorvath87, "87: Left Command", 227, 0, "04 E0"},
        {K::quorvath87, "87: rightWin shares rightAlt's slot 80", 231, 0, "05 00"},
        {K::quorvath87, "87: slot 4094", 253, 44, "FF E0"},
        {K::quorvath87, "87: slot 4095 = 45 x 91, the last", 41, 45, "FF F0"},
        {K::quorvath87, "87: slot 4096", 58, 45, ""},
        {K::quorvath87, "87: no such key", 100, 0, ""},
        {K::quorvath87, "87: negative profile", 41, -1, ""},
        {K::quorvath87te, "87 TE: 91 keys per profile", 41, 1, "05 B0"},
        {K::quorvath88, "88: Option", 226, 0, "04 E0"},
        {K::quorvath88, "88: ISO backslash", 100, 0, "04 00"},
        {K::quorvath88, "88: has no rightWin", 231, 0, ""},
        {K::quorvath88te, "88 TE: knob backward, profile 2", 253, 2, "11 30"},
        {K::quorvath91, "91: F10, profile 1", 67, 1, "06 90"},
        {K::quorvath91, "91: has no menu key", 101, 0, ""},
        {K::quorvath91te, "91 TE: rightWin, profile 1", 231, 1, "0A F0"},
        {K::quorvath91te, "91 TE: Option shares slot 80", 226, 0, "05 00"},
        {[] { return K::firstGeneration(0x1234, "Other"); }, "unknown product id", 41, 0, ""},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        auto kb = plug(c.model());
        Quorvath channel(kb->device(), 2);
        uint8_t a1 = 0xAA;
        uint8_t a2 = 0xBB;
        const bool found = channel.getKeyFlashAddress(c.keyValue, c.profile, a1, a2);
        channel.setKeyDefaultValue(c.keyValue, c.profile);
        const auto reports = kb->sentReports(HidReportType::Output);
        if (std::string(c.address).empty()) {
            EXPECT_FALSE(found);
            EXPECT_EQ(a1, 0xAA);  // untouched
            EXPECT_EQ(a2, 0xBB);
            EXPECT_TRUE(reports.empty());
        } else {
            ASSERT_TRUE(found);
            EXPECT_EQ((std::vector<uint8_t>{a1, a2}), hex(c.address));
            ASSERT_EQ(reports.size(), 42u);
            EXPECT_EQ(reports[0], hex(std::string("05 FF 00 ") + c.address + " 00 00 00"));
        }
    }
}

TEST_F(KeyRecordTest, NothingIsSentWithoutAProductIdOrForACombinationThatDoesNotFit) {
    const std::vector<int64_t> sixtyTwo(62, 4);
    const std::vector<int64_t> sixtyOne(61, 4);
    const std::vector<int64_t> sixtyThree(63, 4);
    struct Case {
        const char* name;
        int64_t versionType;
        std::function<void(Quorvath&)> call;
        bool sends;
    };
    const std::vector<Case> cases = {
        {"code above 255", 2,
         [](Quorvath& q) {
             q.setKeyNewValue(41, std::vector<int64_t>{225, 300}, 0, true);
         },
         false},
        {"negative code", 2, [](Quorvath& q) { q.setKeyNewValue(41, std::vector<int64_t>{-1}, 0, true); }, false},
        {"62 codes fit the 7-then-6 layout", 2, [&](Quorvath& q) { q.setKeyNewValue(41, sixtyTwo, 0, true); }, true},
        {"63 codes do not", 2, [&](Quorvath& q) { q.setKeyNewValue(41, sixtyThree, 0, true); }, false},
        {"61 codes fit the 7-byte layout", 1, [&](Quorvath& q) { q.setKeyNewValue(41, sixtyOne, 0, true); }, true},
        // Its last release mark would be at offset 252, which that layout does not send.
        {"62 codes do not", 1, [&](Quorvath& q) { q.setKeyNewValue(41, sixtyTwo, 0, true); }, false},
    };
    auto kb = plug(SimulatedKeyboard::quorvath87());
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        kb->clearTransfers();
        Quorvath channel(kb->device(), c.versionType);
        c.call(channel);
        EXPECT_EQ(kb->transfers().empty(), !c.sends);
    }

    // Without its product id the channel cannot tell the model; the record would otherwise land on Escape.
    auto anonymous = SimulatedKeyboard::quorvath87();
    anonymous->setProperty("ProductID", std::monostate{});
    plug(anonymous);
    Quorvath channel(anonymous->device(), 2);
    channel.setKeyDefaultValue(41, 0);
    channel.setKeyDisable(226, 0);
    channel.setKeyNewValue(226, std::vector<int64_t>{4}, 0, true);
    EXPECT_TRUE(anonymous->transfers().empty());
}

TEST_F(KeyRecordTest, SixtyTwoCodesEndWithTheLastReleaseAtOffset252) {
    auto kb = plug(SimulatedKeyboard::quorvath87());
    Quorvath channel(kb->device(), 2);
    std::vector<int64_t> codes(62);
    for (size_t i = 0; i < codes.size(); ++i) codes[i] = static_cast<int64_t>(4 + i);
    channel.setKeyNewValue(41, codes, 0, true);
    const auto sent = sentRecord(*kb);
    ASSERT_EQ(sent.size(), 253u);
    EXPECT_EQ(sent[5], 4);
    EXPECT_EQ(sent[6], 0x01);
    EXPECT_EQ(sent[5 + 2 * 62], 4);  // releases start again with the first code
    EXPECT_EQ(sent[251], 65);
    EXPECT_EQ(sent[252], 0x80);
}

// The address comes from the channel's own model, whatever keyboard is current.
TEST_F(KeyRecordTest, SlotComesFromTheChannelsOwnModelNotTheCurrentDevice) {
    const KeyNameMap otherNames{{"leftAlt", nameRow(226, "Alt", "Alt", 3)}};
    const KeyCodeMap otherCodes{{226, codeRow("leftAlt", "Alt", "Alt", 3)}};
    setCurrentKeyMaps(otherNames, otherCodes);
    auto kb = plug(SimulatedKeyboard::quorvath87());
    Quorvath channel(kb->device(), 2);
    channel.setKeyDefaultValue(226, 0);
    resetCurrentDevice();
    ASSERT_FALSE(kb->sentReports(HidReportType::Output).empty());
    EXPECT_EQ(kb->sentReports(HidReportType::Output)[0], hex("05 FF 00 04 D0 00 00 00"));
}

}  // namespace
}  // namespace keyloom
