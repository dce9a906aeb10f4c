#pragma once

// The first-generation lighting tab without widgets: the ten rows of the mode list, the 8-byte lighting record that
// the keyboard receives, how each control changes it and which controls a mode shows.
//
// The record, as feature report 5: 05 FE mode b3 b4 b5 b6 b7, where b3 = colour-mode flag (bit 7) | speed - 1
// (bits 6..4) | brightness (bits 3..0); b4 is the direction in mode 3 and red in the colour modes, b5 green, b6 blue;
// b7 travels unchanged.

#include <array>
#include <cstdint>
#include <optional>
#include <span>
#include <string_view>
#include <vector>

namespace keyloom {

using LightingRecord = std::array<uint8_t, 8>;

namespace lighting_byte {
inline constexpr size_t kMode = 2;
inline constexpr size_t kFlags = 3;  // colour mode, speed, brightness
inline constexpr size_t kRed = 4;    // also the direction in mode 3
inline constexpr size_t kDirection = 4;
inline constexpr size_t kGreen = 5;
inline constexpr size_t kBlue = 6;
}  // namespace lighting_byte

// The per-key mode: its colours are the stored key colours, sent as the per-key block.
inline constexpr int64_t kCustomLightMode = 12;

// Asked before a mode is shown; its answer tells whether the keyboard needs the default record first.
inline constexpr LightingRecord kLightingReadRequest = {0x05, 0xFA, 0, 0, 0, 0, 0, 0};
inline constexpr LightingRecord kDefaultLightingRecord = {0x05, 0xFE, 0x00, 0x02, 0x01, 0, 0, 0};

// One row of the mode list: row 0..8 modes 1..9, row 9 mode 12.
struct QuorvathLightModeRow {
    int64_t mode;
    std::string_view text;
    std::string_view icon;
};
std::span<const QuorvathLightModeRow> quorvathLightModeRows();
// The row of a stored mode; nullopt for a mode the list has no row for (anything but 1..9 and 12).
std::optional<int> quorvathLightModeRow(int64_t mode);

// The record to send for a stored lighting image (RadiData::buffer, byte 2 the mode, bytes 3..7 the stored bytes):
// 05 FE, then bytes 2..7. nullopt for an image shorter than 8 bytes.
std::optional<LightingRecord> lightingRecordOf(std::span<const uint8_t> stored);
// What showing a mode sends of its record: in mode 12 byte 3 keeps only its low five bits.
LightingRecord shownLightingRecord(LightingRecord record);
// A missing answer to the lighting read, one shorter than 5 bytes, or one with byte 3 or 4 zero: the keyboard gets
// the default record first.
bool lightingAnswerNeedsDefault(const std::optional<std::vector<uint8_t>>& answer);

// The controls' values in byte 3.
int brightnessOf(uint8_t flags);  // 0..15
int speedOf(uint8_t flags);       // 1..8
bool colourModeOf(uint8_t flags);

// A control's change of the shown mode's record; nullopt when the control does nothing in that mode. Values that do
// not fit their field are brought into it (brightness masked to 4 bits, speed clamped to 1..8, colour components
// clamped to 0..1) so that no bit spills into a neighbouring field.
std::optional<LightingRecord> brightnessChanged(LightingRecord record, int64_t mode, int64_t value);  // all modes
std::optional<LightingRecord> speedChanged(LightingRecord record, int64_t mode, int64_t value);       // modes 2..9
std::optional<LightingRecord> colourModeChanged(LightingRecord record, int64_t mode, bool on);        // all modes
// type 0..3 in mode 3; any other type changes nothing.
std::optional<LightingRecord> directionChanged(LightingRecord record, int64_t mode, int64_t type);
// Modes 1, 5, 6, 7 and 9 (mode 12 colours keys instead: see QuorvathKeyColours.h).
std::optional<LightingRecord> colourChanged(LightingRecord record, int64_t mode, double red, double green, double blue);
bool isRecordColourMode(int64_t mode);

// The direction of a direction button: tags 610..613 give 0..3; nullopt for any other tag.
std::optional<int64_t> directionOfButton(int64_t tag);

// What the tab shows for a mode.
struct QuorvathModeControls {
    enum class Well {
        Hidden,
        RecordColour,  // the record's colour (bytes 4..6)
        Yellow,        // mode 12: the colour the next keys take
    };
    bool speedEnabled;  // a disabled speed shows 0
    bool colourTextShown;
    bool colourModeShown;  // the check box, set from bit 7
    Well well;
    bool directionShown;  // the direction buttons: mode 3 only
    bool selectionShown;  // the key-group boxes and Reset: mode 12 only
    bool operator==(const QuorvathModeControls&) const = default;
};
// nullopt for a mode the list has no row for.
std::optional<QuorvathModeControls> quorvathModeControls(int64_t mode);

}  // namespace keyloom
