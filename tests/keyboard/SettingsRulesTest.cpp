#include <gtest/gtest.h>

#include <limits>

#include "Views/Keyboard/Quorvath/core/SettingsRules.h"

using namespace keyloom;

// Typed time texts: accepted or not, the leading integer, and the time a report carries.
TEST(SettingsRules, TimeTexts) {
    struct Case {
        const char* text;
        bool accepted;
        int64_t leading;
        uint16_t reported;
    };
    const Case cases[] = {
        {"250", true, 250, 250},
        {" 250 ", true, 250, 250},  // blanks around the number
        {"+7", true, 7, 7},
        {"0", true, 0, 0},
        {"59999", true, 59999, 59999},
        {"60000", false, 60000, 60000},
        {"70000", false, 70000, 65535},  // stored out of range: clamped in the report
        {"", false, 0, 0},
        {"12a", false, 12, 12},
        {"a12", false, 0, 0},
        {"-1", false, -1, 0},  // negative: refused, and never wraps to FF FF
        {"- 1", false, 0, 0},
        {"1 2", false, 1, 1},
        {"99999999999999999999999", false, std::numeric_limits<int64_t>::max(), 65535},
        {"-99999999999999999999999", false, std::numeric_limits<int64_t>::min(), 0},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.text);
        EXPECT_EQ(acceptSleepTimeText(c.text), c.accepted);
        EXPECT_EQ(leadingIntegerValue(c.text), c.leading);
        EXPECT_EQ(sleepTimeForReport(c.text), c.reported);
    }
}

TEST(SettingsRules, SleepRowsFromStoreAndCheckBoxes) {
    struct Case {
        std::string stored;
        SleepRowState shown;
    };
    const Case loaded[] = {
        {"300", {"300", 300, true, true}},
        {"0", {"0", 0, false, false}},
        {"", {"", 0, true, true}},  // missing row: empty, but on
        {"70000", {"70000", 59999, true, true}},
        {"-5", {"-5", 0, true, true}},
        {"12a", {"12a", 12, true, true}},
    };
    for (const Case& c : loaded) EXPECT_EQ(loadedSleepRow(c.stored), c.shown) << c.stored;

    const SleepRowState defaults[] = {{"300", 300, true, true}, {"120", 120, true, true}, {"180", 180, true, true}};
    for (size_t i = 0; i < kSleepSettings.size(); ++i) {
        EXPECT_EQ(checkedSleepRow(kSleepSettings[i], true), defaults[i]);
        EXPECT_EQ(checkedSleepRow(kSleepSettings[i], false), (SleepRowState{"0", 0, false, false}));
    }
}
