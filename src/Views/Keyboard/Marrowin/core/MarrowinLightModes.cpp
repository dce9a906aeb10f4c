#include "Views/Keyboard/Marrowin/core/MarrowinLightModes.h"

#include <algorithm>
#include <cmath>

namespace keyloom {

namespace {

constexpr std::array<LightModeRow, kLightModeCount> kRows = {{
    {1, "Static", "icon_light_static"},           {2, "SingleOn", "icon_light_spectrum"},
    {3, "SingleOff", "icon_light_rainbow"},       {4, "Glittering", "icon_light_powergauge"},
    {5, "Falling", "icon_light_breathing"},       {6, "Colourful", "icon_light_twinklingstars"},
    {7, "Breath", "icon_light_reactive"},         {8, "Spectrum", "icon_light_marquee"},
    {9, "Outward", "icon_light_aurora"},          {10, "Scrolling", "icon_light_spectrum"},
    {11, "Rolling", "icon_light_static"},         {12, "Rotating", "icon_light_aurora"},
    {13, "Explode", "icon_light_marquee"},        {14, "Launch", "icon_light_reactive"},
    {15, "Ripples", "icon_light_twinklingstars"}, {16, "Flowing", "icon_light_breathing"},
    {17, "Pulsating", "icon_light_powergauge"},   {18, "Tilt", "icon_light_rainbow"},
    {19, "Shuttle", "icon_light_spectrum"},       {20, "UserDefine", "icon_light_custom"},
}};

using Picture = LightModeControls::Picture;

// speed, direction shown, 610/611, 612/613, label, check box, well, picture
constexpr LightModeControls kColourMode{true, false, false, false, true, true, true, Picture::RecordColour};

}  // namespace

std::span<const LightModeRow> lightModeRows() {
    return kRows;
}

std::optional<LightModeControls> lightModeControls(int64_t mode) {
    switch (mode) {
        case 1: {
            LightModeControls c = kColourMode;
            c.speedEnabled = false;
            return c;
        }
        case 6:
        case 8:
            return LightModeControls{true, false, false, false, false, false, false, Picture::Unchanged};
        case 10: {
            LightModeControls c = kColourMode;
            c.directionShown = c.directionTwoThree = true;
            return c;
        }
        case 11:
        case 16:
        case 18: {
            LightModeControls c = kColourMode;
            c.directionShown = c.directionOneZero = true;
            return c;
        }
        case kPerKeyLightMode:
            return LightModeControls{false, false, false, false, true, false, true, Picture::PerKey};
        default:
            if (mode >= 2 && mode <= 19) return kColourMode;
            return std::nullopt;
    }
}

int64_t shownLightMode(int64_t storedActiveMode) {
    return storedActiveMode >= 1 && storedActiveMode <= kLightModeCount ? storedActiveMode : 1;
}

uint8_t lightByte(int64_t value) {
    return static_cast<uint8_t>(std::clamp<int64_t>(value, 0, 255));
}

int64_t speedSliderValue(uint8_t speedByte) {
    return int64_t{speedByte} + 1;
}

uint8_t speedByteOfSlider(int64_t sliderValue) {
    return lightByte(sliderValue - 1);
}

std::optional<uint8_t> directionOfTag(int64_t tag) {
    switch (tag) {
        case 610:
            return 1;
        case 611:
            return 0;
        case 612:
            return 2;
        case 613:
            return 3;
        default:
            return std::nullopt;
    }
}

uint8_t colourComponentByte(double component) {
    if (!(component > 0.0)) return 0;  // also NaN
    // The slack is far below one step (1/255), so only floating-point error is absorbed, never a real fraction.
    const double scaled = std::floor(component * 255.0 + 1e-6);
    return static_cast<uint8_t>(std::min(scaled, 255.0));
}

int64_t rgbValue(uint8_t red, uint8_t green, uint8_t blue) {
    return (int64_t{red} << 16) | (int64_t{green} << 8) | int64_t{blue};
}

std::array<uint8_t, 3> rgbComponents(int64_t rgbvalue) {
    return {static_cast<uint8_t>((rgbvalue >> 16) & 0xFF), static_cast<uint8_t>((rgbvalue >> 8) & 0xFF),
            static_cast<uint8_t>(rgbvalue & 0xFF)};
}

}  // namespace keyloom
