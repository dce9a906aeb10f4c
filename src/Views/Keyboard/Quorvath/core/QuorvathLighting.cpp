#include "Views/Keyboard/Quorvath/core/QuorvathLighting.h"

#include <algorithm>

#include "Views/Keyboard/Marrowin/core/MarrowinLightModes.h"

namespace keyloom {

namespace {

namespace b = lighting_byte;

constexpr std::array<QuorvathLightModeRow, 10> kRows = {{
    {1, "Static", "icon_light_static"},
    {2, "Spectrum", "icon_light_spectrum"},
    {3, "Rainbow", "icon_light_rainbow"},
    {4, "Power Gauge", "icon_light_powergauge"},
    {5, "Breathing", "icon_light_breathing"},
    {6, "Twinkling Stars", "icon_light_twinklingstars"},
    {7, "Reactive", "icon_light_reactive"},
    {8, "Marquee", "icon_light_marquee"},
    {9, "Aurora", "icon_light_aurora"},
    {kCustomLightMode, "Custom", "icon_light_custom"},
}};

constexpr uint8_t kColourModeBit = 0x80;
constexpr uint8_t kSpeedBits = 0x70;
constexpr uint8_t kBrightnessBits = 0x0F;
// Mode 12 has no speed and no colour mode: showing it sends brightness and the speed's low bit only.
constexpr uint8_t kCustomShownBits = 0x1F;
constexpr int kDirectionMode = 3;
constexpr int64_t kFirstDirectionTag = 610;
constexpr int64_t kDirections = 4;
constexpr int kMinSpeed = 1;
constexpr int kMaxSpeed = 8;

bool hasRow(int64_t mode) {
    return quorvathLightModeRow(mode).has_value();
}

}  // namespace

std::span<const QuorvathLightModeRow> quorvathLightModeRows() {
    return kRows;
}

std::optional<int> quorvathLightModeRow(int64_t mode) {
    for (size_t row = 0; row < kRows.size(); ++row)
        if (kRows[row].mode == mode) return int(row);
    return std::nullopt;
}

std::optional<LightingRecord> lightingRecordOf(std::span<const uint8_t> stored) {
    if (stored.size() < LightingRecord{}.size()) return std::nullopt;
    LightingRecord record{0x05, 0xFE};
    std::copy(stored.begin() + b::kMode, stored.begin() + 8, record.begin() + b::kMode);
    return record;
}

LightingRecord shownLightingRecord(LightingRecord record) {
    if (record[b::kMode] == kCustomLightMode) record[b::kFlags] &= kCustomShownBits;
    return record;
}

bool lightingAnswerNeedsDefault(const std::optional<std::vector<uint8_t>>& answer) {
    return !answer || answer->size() < 5 || (*answer)[3] == 0 || (*answer)[4] == 0;
}

int brightnessOf(uint8_t flags) {
    return flags & kBrightnessBits;
}

int speedOf(uint8_t flags) {
    return ((flags >> 4) & 7) + 1;
}

bool colourModeOf(uint8_t flags) {
    return (flags & kColourModeBit) != 0;
}

std::optional<LightingRecord> brightnessChanged(LightingRecord record, int64_t /*mode*/, int64_t value) {
    uint8_t& flags = record[b::kFlags];
    flags = uint8_t((value & kBrightnessBits) | (flags & ~kBrightnessBits));
    return record;
}

std::optional<LightingRecord> speedChanged(LightingRecord record, int64_t mode, int64_t value) {
    if (mode < 2 || mode > 9) return std::nullopt;
    const int64_t speed = std::clamp<int64_t>(value, kMinSpeed, kMaxSpeed);
    uint8_t& flags = record[b::kFlags];
    flags = uint8_t(((speed - 1) << 4) | (flags & ~kSpeedBits));
    return record;
}

std::optional<LightingRecord> colourModeChanged(LightingRecord record, int64_t /*mode*/, bool on) {
    uint8_t& flags = record[b::kFlags];
    flags = on ? uint8_t(flags | kColourModeBit) : uint8_t(flags & ~kColourModeBit);
    return record;
}

std::optional<LightingRecord> directionChanged(LightingRecord record, int64_t mode, int64_t type) {
    if (mode != kDirectionMode || type < 0 || type >= kDirections) return std::nullopt;
    record[b::kDirection] = uint8_t(type);
    return record;
}

bool isRecordColourMode(int64_t mode) {
    return mode == 1 || mode == 5 || mode == 6 || mode == 7 || mode == 9;
}

std::optional<LightingRecord> colourChanged(LightingRecord record, int64_t mode, double red, double green,
                                            double blue) {
    if (!isRecordColourMode(mode)) return std::nullopt;
    record[b::kRed] = colourComponentByte(red);
    record[b::kGreen] = colourComponentByte(green);
    record[b::kBlue] = colourComponentByte(blue);
    return record;
}

std::optional<int64_t> directionOfButton(int64_t tag) {
    if (tag < kFirstDirectionTag || tag >= kFirstDirectionTag + kDirections) return std::nullopt;
    return tag - kFirstDirectionTag;
}

std::optional<QuorvathModeControls> quorvathModeControls(int64_t mode) {
    using Well = QuorvathModeControls::Well;
    if (!hasRow(mode)) return std::nullopt;
    if (mode == kCustomLightMode) return QuorvathModeControls{false, true, false, Well::Yellow, false, true};
    if (mode == 1) return QuorvathModeControls{false, true, true, Well::RecordColour, false, false};
    if (isRecordColourMode(mode)) return QuorvathModeControls{true, true, true, Well::RecordColour, false, false};
    return QuorvathModeControls{true, false, false, Well::Hidden, mode == kDirectionMode, false};
}

}  // namespace keyloom
