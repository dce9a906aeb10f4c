#pragma once

// The second-generation lighting tab without widgets: the 20 modes, which controls each mode shows, and how a
// control's value becomes a byte of the mode's stored record.

#include <array>
#include <cstdint>
#include <optional>
#include <span>
#include <string_view>

namespace keyloom {

// A mode's stored record (RadiData::buffer): [mode, colour type, red, green, blue, direction, brightness, speed].
namespace light_record {
inline constexpr size_t kMode = 0;
inline constexpr size_t kColourType = 1;  // 1 random colours, 0 the record's colour
inline constexpr size_t kRed = 2;
inline constexpr size_t kGreen = 3;
inline constexpr size_t kBlue = 4;
inline constexpr size_t kDirection = 5;
inline constexpr size_t kBrightness = 6;
inline constexpr size_t kSpeed = 7;
inline constexpr size_t kSize = 8;
}  // namespace light_record

inline constexpr int64_t kLightModeCount = 20;
inline constexpr int64_t kPerKeyLightMode = 20;  // "UserDefine": per-key colours

// One row of the mode list; row i holds mode i + 1.
struct LightModeRow {
    int64_t mode;
    std::string_view text;
    std::string_view icon;
};
std::span<const LightModeRow> lightModeRows();

// What the lighting tab shows for a mode.
struct LightModeControls {
    enum class Picture {
        RecordColour,  // every cap takes the record's colour
        Unchanged,     // the picture keeps its colours
        PerKey,        // the stored per-key colours; the group check boxes are shown
    };
    bool speedEnabled;       // disabled: the slider shows 0
    bool directionShown;     // the direction buttons' group
    bool directionOneZero;   // buttons 610 (1) and 611 (0)
    bool directionTwoThree;  // buttons 612 (2) and 613 (3)
    bool colourLabelShown;
    bool randomCheckShown;
    bool colourWellShown;
    Picture picture;
};
// nullopt for a mode outside 1..20.
std::optional<LightModeControls> lightModeControls(int64_t mode);

// The mode the tab shows for the stored active mode: that mode, or mode 1 when none is stored (0) or the stored one
// does not exist (the caller makes mode 1 active then).
int64_t shownLightMode(int64_t storedActiveMode);

// A control's value as a record byte, clamped to 0..255.
uint8_t lightByte(int64_t value);
// The speed slider shows the stored byte + 1 and stores its value - 1, so a value shown and taken back unchanged
// keeps its byte.
int64_t speedSliderValue(uint8_t speedByte);
uint8_t speedByteOfSlider(int64_t sliderValue);
// The direction of a direction button by its tag (610 -> 1, 611 -> 0, 612 -> 2, 613 -> 3); nullopt for other tags.
std::optional<uint8_t> directionOfTag(int64_t tag);

// A colour component (0..1) as a byte: x 255, truncated. A component that is meant as an exact byte value but
// carries floating-point error (225 / 255.0 * 255 = 224.99999...) keeps its byte; values outside 0..1 and NaN are
// clamped.
uint8_t colourComponentByte(double component);
// 0xRRGGBB of three bytes, and back (only the low 24 bits of a stored value count).
int64_t rgbValue(uint8_t red, uint8_t green, uint8_t blue);
std::array<uint8_t, 3> rgbComponents(int64_t rgbvalue);

}  // namespace keyloom
