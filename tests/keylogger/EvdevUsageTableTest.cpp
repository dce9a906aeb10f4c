#include <gtest/gtest.h>
#include <linux/input-event-codes.h>

#include "platform/input/EvdevKeySource.h"
#include "platform/input/EvdevUsageTable.h"

namespace keyloom {
namespace {

// The keys a table built by reading the Linux key names naively gets wrong.
TEST(EvdevUsageTable, KeysWithSharedOrUnobviousCodes) {
    const std::pair<unsigned, uint32_t> cases[] = {
        {KEY_BACKSLASH, 0x31},  // also ISO "#~" (0x32): the tables name this key 0x31
        {KEY_102ND, 0x64},      // ISO "\|" beside left Shift
        {KEY_GRAVE, 0x35},      // also the Japanese Hankaku/Zenkaku key
        {KEY_RO, 0x87},        {KEY_KATAKANAHIRAGANA, 0x88},
        {KEY_YEN, 0x89},       {KEY_HENKAN, 0x8A},
        {KEY_MUHENKAN, 0x8B},  {KEY_ZENKAKUHANKAKU, 0x94},
        {KEY_HANGEUL, 0x90},   {KEY_HANJA, 0x91},
        {KEY_LEFTCTRL, 0xE0},  {KEY_LEFTSHIFT, 0xE1},
        {KEY_LEFTALT, 0xE2},   {KEY_LEFTMETA, 0xE3},
        {KEY_RIGHTCTRL, 0xE4}, {KEY_RIGHTSHIFT, 0xE5},
        {KEY_RIGHTALT, 0xE6},  {KEY_RIGHTMETA, 0xE7},
        {KEY_COMPOSE, 0x65},  // the menu key
        {KEY_DELETE, 0x4C},    {KEY_SYSRQ, 0x46},
        {KEY_KPENTER, 0x58},   {KEY_F11, 0x44},
        {KEY_F13, 0x68},       {KEY_0, 0x27},
        {KEY_A, 0x04},         {KEY_Z, 0x1D},
    };
    for (const auto& [code, usage] : cases) {
        SCOPED_TRACE(code);
        EXPECT_EQ(EvdevUsageTable::usageForKeyCode(code), usage);
    }
    for (unsigned code : {unsigned(KEY_RESERVED), unsigned(KEY_FN), unsigned(KEY_MAX), unsigned(KEY_CNT) + 5})
        EXPECT_EQ(EvdevUsageTable::usageForKeyCode(code), std::nullopt) << code;
}

TEST(EvdevUsageTable, EveryMappedUsageComesBackExceptTheSharedIsoKey) {
    int mapped = 0;
    for (uint32_t usage = 0; usage < 0x100; ++usage) {
        auto code = EvdevUsageTable::keyCodeForUsage(usage);
        if (!code) continue;
        ++mapped;
        EXPECT_EQ(EvdevUsageTable::usageForKeyCode(*code), usage == 0x32 ? 0x31 : usage) << std::hex << usage;
    }
    EXPECT_GT(mapped, 140);
}

TEST(EvdevKeySource, TranslateTakesOnlyPressesAndReleases) {
    EXPECT_EQ(EvdevKeySource::translate(EV_KEY, KEY_A, 1), (HidInputValue{0x07, 0x04, 1}));
    EXPECT_EQ(EvdevKeySource::translate(EV_KEY, KEY_A, 0), (HidInputValue{0x07, 0x04, 0}));
    EXPECT_EQ(EvdevKeySource::translate(EV_KEY, KEY_A, 2), std::nullopt);  // autorepeat
    EXPECT_EQ(EvdevKeySource::translate(EV_MSC, MSC_SCAN, 1), std::nullopt);
    EXPECT_EQ(EvdevKeySource::translate(EV_KEY, BTN_LEFT, 1), std::nullopt);
}

TEST(EvdevKeySource, ClassifiesEventNodesOnly) {
    EXPECT_EQ(EvdevKeySource::classify("event3", true, true), (HidUsageMatch{1, 6}));
    EXPECT_EQ(EvdevKeySource::classify("event4", false, true), (HidUsageMatch{1, 7}));
    EXPECT_EQ(EvdevKeySource::classify("event5", false, false), std::nullopt);
    EXPECT_EQ(EvdevKeySource::classify("input3", true, true), std::nullopt);
    EXPECT_EQ(EvdevKeySource::classify("js0", true, false), std::nullopt);
}

}  // namespace
}  // namespace keyloom
