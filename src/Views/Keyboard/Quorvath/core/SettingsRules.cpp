#include "Views/Keyboard/Quorvath/core/SettingsRules.h"

#include <algorithm>
#include <limits>

namespace keyloom {

namespace {

bool isBlank(char c) {
    return c == ' ' || c == '\t' || c == '\n' || c == '\r' || c == '\v' || c == '\f';
}

// Reads [blanks][sign]digits from pos; returns false when no digit follows. Saturates instead of overflowing.
bool readInteger(std::string_view text, size_t& pos, int64_t& value) {
    while (pos < text.size() && isBlank(text[pos])) ++pos;
    bool negative = false;
    if (pos < text.size() && (text[pos] == '+' || text[pos] == '-')) {
        negative = text[pos] == '-';
        ++pos;
    }
    const size_t digits = pos;
    uint64_t magnitude = 0;
    const uint64_t limit =
        negative ? uint64_t(std::numeric_limits<int64_t>::max()) + 1 : uint64_t(std::numeric_limits<int64_t>::max());
    while (pos < text.size() && text[pos] >= '0' && text[pos] <= '9') {
        const uint64_t digit = uint64_t(text[pos] - '0');
        magnitude = magnitude > (limit - digit) / 10 ? limit : magnitude * 10 + digit;
        ++pos;
    }
    if (pos == digits) return false;
    if (negative)
        value = magnitude == limit ? std::numeric_limits<int64_t>::min() : -int64_t(magnitude);
    else
        value = int64_t(magnitude);
    return true;
}

}  // namespace

int64_t leadingIntegerValue(std::string_view text) {
    size_t pos = 0;
    int64_t value = 0;
    return readInteger(text, pos, value) ? value : 0;
}

bool scanWholeInteger(std::string_view text, int64_t& value) {
    size_t pos = 0;
    if (!readInteger(text, pos, value)) return false;
    // Trailing white space counts as the end of the text.
    while (pos < text.size() && isBlank(text[pos])) ++pos;
    return pos == text.size();
}

bool acceptSleepTimeText(std::string_view text) {
    int64_t value = 0;
    return scanWholeInteger(text, value) && value >= 0 && value <= kMaxTypedSleepTime;
}

uint16_t sleepTimeForReport(std::string_view text) {
    return static_cast<uint16_t>(std::clamp<int64_t>(leadingIntegerValue(text), 0, 0xFFFF));
}

bool isReportRateTag(int tag) {
    return std::find(kReportRateTags.begin(), kReportRateTags.end(), tag) != kReportRateTags.end();
}

std::string reportRateText(int tag) {
    return isReportRateTag(tag) ? std::to_string(tag) : std::string("2");
}

int reportRateTagForText(std::string_view stored) {
    for (int tag : kReportRateTags)
        if (stored == std::to_string(tag)) return tag;
    return 0;
}

SleepRowState loadedSleepRow(const std::string& stored) {
    SleepRowState row;
    row.text = stored;
    row.stepperValue = static_cast<int>(std::clamp<int64_t>(leadingIntegerValue(stored), 0, kMaxTypedSleepTime));
    row.checked = stored != "0";
    row.enabled = row.checked;
    return row;
}

SleepRowState checkedSleepRow(const SleepSetting& setting, bool on) {
    if (on) return {setting.defaultText, setting.defaultValue, true, true};
    return {"0", 0, false, false};
}

}  // namespace keyloom
