#include <gtest/gtest.h>

#include <cmath>
#include <limits>

#include "Views/Keyboard/Marrowin/core/MarrowinLightModes.h"

namespace keyloom {
namespace {

using Picture = LightModeControls::Picture;

TEST(LightModes, TwentyRowsInModeOrder) {
    const auto rows = lightModeRows();
    ASSERT_EQ(rows.size(), 20u);
    for (size_t i = 0; i < rows.size(); ++i) EXPECT_EQ(rows[i].mode, static_cast<int64_t>(i + 1));
    EXPECT_EQ(rows[0].text, "Static");
    EXPECT_EQ(rows[9].icon, "icon_light_spectrum");
    EXPECT_EQ(rows[19].text, "UserDefine");
    EXPECT_EQ(rows[19].icon, "icon_light_custom");
}

// Controls per mode: speed, direction group, 610/611, 612/613, colour label, check box, well, picture.
TEST(LightModes, ControlsPerMode) {
    struct Row {
        std::vector<int64_t> modes;
        LightModeControls controls;
    };
    const LightModeControls colour{true, false, false, false, true, true, true, Picture::RecordColour};
    const std::vector<Row> table = {
        {{1}, {false, false, false, false, true, true, true, Picture::RecordColour}},
        {{2, 3, 4, 5, 7, 9, 12, 13, 14, 15, 17, 19}, colour},
        {{6, 8}, {true, false, false, false, false, false, false, Picture::Unchanged}},
        {{10}, {true, true, false, true, true, true, true, Picture::RecordColour}},
        {{11, 16, 18}, {true, true, true, false, true, true, true, Picture::RecordColour}},
        {{20}, {false, false, false, false, true, false, true, Picture::PerKey}},
    };
    std::vector<bool> seen(21, false);
    for (const Row& row : table) {
        for (int64_t mode : row.modes) {
            SCOPED_TRACE(mode);
            const auto c = lightModeControls(mode);
            ASSERT_TRUE(c);
            const auto& e = row.controls;
            EXPECT_EQ(std::tie(c->speedEnabled, c->directionShown, c->directionOneZero, c->directionTwoThree,
                               c->colourLabelShown, c->randomCheckShown, c->colourWellShown, c->picture),
                      std::tie(e.speedEnabled, e.directionShown, e.directionOneZero, e.directionTwoThree,
                               e.colourLabelShown, e.randomCheckShown, e.colourWellShown, e.picture));
            seen[static_cast<size_t>(mode)] = true;
        }
    }
    for (int64_t mode = 1; mode <= 20; ++mode) EXPECT_TRUE(seen[static_cast<size_t>(mode)]) << mode;
    for (int64_t mode : {0, -1, 21, 600}) EXPECT_FALSE(lightModeControls(mode)) << mode;
}

TEST(LightModes, ByteRules) {
    // No active mode stored, or one that does not exist: mode 1.
    for (const auto& [stored, shown] :
         std::vector<std::pair<int64_t, int64_t>>{{0, 1}, {-3, 1}, {21, 1}, {1, 1}, {12, 12}, {20, 20}})
        EXPECT_EQ(shownLightMode(stored), shown) << stored;

    for (const auto& [value, byte] : std::vector<std::pair<int64_t, uint8_t>>{
             {-5, 0}, {0, 0}, {15, 15}, {255, 255}, {256, 255}, {std::numeric_limits<int64_t>::min(), 0}})
        EXPECT_EQ(lightByte(value), byte) << value;

    // Speed: shown +1, stored -1, so every byte survives a touch without change; the ends clamp.
    for (int b = 0; b <= 255; ++b) {
        const auto byte = static_cast<uint8_t>(b);
        ASSERT_EQ(speedByteOfSlider(speedSliderValue(byte)), byte);
    }
    EXPECT_EQ(speedSliderValue(10), 11);
    EXPECT_EQ(speedByteOfSlider(11), 10);
    EXPECT_EQ(speedByteOfSlider(0), 0);
    EXPECT_EQ(speedByteOfSlider(1000), 255);

    for (const auto& [tag, direction] : std::vector<std::pair<int64_t, std::optional<uint8_t>>>{
             {610, 1}, {611, 0}, {612, 2}, {613, 3}, {609, std::nullopt}, {614, std::nullopt}, {0, std::nullopt}})
        EXPECT_EQ(directionOfTag(tag), direction) << tag;
}

TEST(LightModes, ColourBytes) {
    // Every byte as a component (including the error a float division brings) comes back as itself.
    for (int b = 0; b <= 255; ++b) {
        ASSERT_EQ(colourComponentByte(b / 255.0), b);
        ASSERT_EQ(colourComponentByte(static_cast<float>(b) / 255.0f), b);
        ASSERT_EQ(colourComponentByte((b * 257) / 65535.0), b);  // a 16-bit channel
    }
    // Truncated, not rounded; outside 0..1 clamped.
    for (const auto& [component, byte] :
         std::vector<std::pair<double, uint8_t>>{{0.5, 127}, {0.999, 254}, {-0.2, 0}, {1.7, 255}, {std::nan(""), 0}})
        EXPECT_EQ(colourComponentByte(component), byte) << component;

    EXPECT_EQ(rgbValue(0xFF, 0xE1, 0x00), 0xFFE100);
    EXPECT_EQ(rgbComponents(0xFFE100), (std::array<uint8_t, 3>{0xFF, 0xE1, 0x00}));
    EXPECT_EQ(rgbComponents(0x7F123456), (std::array<uint8_t, 3>{0x12, 0x34, 0x56}));  // only the low 24 bits
    EXPECT_EQ(rgbComponents(-1), (std::array<uint8_t, 3>{0xFF, 0xFF, 0xFF}));
}

}  // namespace
}  // namespace keyloom
