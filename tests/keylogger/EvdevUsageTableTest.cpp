#include <gtest/gtest.h>
#include <linux/input-event-codes.h>

#include "platform/input/EvdevUsageTable.h"

namespace keyloom {
namespace {

// The keys a table built by reading the Linux key names naively gets wrong.
TEST(EvdevUsageTable, KeysWithSharedOrUnobviousCodes) {
    // clang-format off
    const std::pair<unsigned, std::optional<uint32_t>> cases[] = {
        {KEY_BACKSLASH, 0x31},  // also ISO "#~" (0x32): the key tables name it 0x31
        {KEY_102ND, 0x64},      // ISO "\|" beside left Shift
        {KEY_GRAVE, 0x35},      // also Hankaku/Zenkaku
        {KEY_COMPOSE, 0x65},    // the menu key
        {KEY_RO, 0x87}, {KEY_KATAKANAHIRAGANA, 0x88}, {KEY_YEN, 0x89}, {KEY_HENKAN, 0x8A}, {KEY_MUHENKAN, 0x8B},
        {KEY_RIGHTCTRL, 0xE4}, {KEY_RIGHTSHIFT, 0xE5}, {KEY_RIGHTALT, 0xE6}, {KEY_RIGHTMETA, 0xE7},
        {KEY_FN, std::nullopt}, {KEY_CNT + 5, std::nullopt},
    };
    // clang-format on
    for (const auto& [code, usage] : cases) {
        SCOPED_TRACE(code);
        EXPECT_EQ(EvdevUsageTable::usageForKeyCode(code), usage);
    }
}

}  // namespace
}  // namespace keyloom
