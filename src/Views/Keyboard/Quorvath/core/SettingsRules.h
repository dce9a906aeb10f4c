#pragma once

// Rules of the first-generation settings tab, without widgets: which texts a time field accepts, how a text becomes
// the number a report carries, and what a stored value shows.

#include <array>
#include <cstdint>
#include <string>
#include <string_view>

namespace keyloom {

// Integer value of a text the way the original controls read it: leading white space skipped, an optional sign,
// then the leading digits; 0 when no number begins the text. Saturates at the int64 limits.
int64_t leadingIntegerValue(std::string_view text);

// True when the whole text is one integer: leading white space, an optional sign, digits, and nothing after them
// but white space. value receives the number (saturated).
bool scanWholeInteger(std::string_view text, int64_t& value);

// Highest time a field accepts from typing; the stepper's upper bound.
inline constexpr int64_t kMaxTypedSleepTime = 59999;

// A typed time is taken when it is one whole integer from 0 to 59999. A negative number is refused: the reports
// carry unsigned 16-bit times.
bool acceptSleepTimeText(std::string_view text);

// The time a report carries for a field's text: its leading integer, clamped to 0..65535 (a stored text out of
// range must not keep the other time of the same report from being sent).
uint16_t sleepTimeForReport(std::string_view text);

// Report-rate codes are the tags of the four buttons.
inline constexpr std::array<int, 4> kReportRateTags = {1, 2, 4, 8};
bool isReportRateTag(int tag);
// The stored text of a report-rate button: its digit, "2" for any other tag.
std::string reportRateText(int tag);
// The button that a stored report rate turns on; 0 when the text is none of "1", "2", "4", "8".
int reportRateTagForText(std::string_view stored);

// One idle time: its check box, field and stepper tags, its settings key and the default a check box restores.
struct SleepSetting {
    int checkTag;
    int fieldTag;
    int stepperTag;
    const char* key;
    const char* defaultText;
    int defaultValue;
};
inline constexpr std::array<SleepSetting, 3> kSleepSettings = {{
    {820, 821, 823, "idleUSBWireSleep", "300", 300},
    {824, 825, 826, "idleWirelessLight", "120", 120},
    {827, 828, 829, "idleWirelessSleep", "180", 180},
}};

// What one sleep row shows for its stored value.
struct SleepRowState {
    std::string text;
    int stepperValue = 0;  // within 0..kMaxTypedSleepTime
    bool checked = true;
    bool enabled = true;  // field and stepper
    bool operator==(const SleepRowState&) const = default;
};
// "0" switches the row off; anything else (also "" for a missing row) leaves it on, showing the text as stored.
SleepRowState loadedSleepRow(const std::string& stored);

// What a check box click sets: the default time when switched on, "0" and disabled when switched off.
SleepRowState checkedSleepRow(const SleepSetting& setting, bool on);

}  // namespace keyloom
