#include <gtest/gtest.h>

#include <functional>
#include <string>

#include "CustomControl/KeyDataList.h"
#include "Views/Keyboard/KeyLayout/KeyModels.h"
#include "Views/Keyboard/Quorvath/core/QuorvathKeyColours.h"
#include "Views/Keyboard/Quorvath/core/QuorvathLighting.h"

using namespace keyloom;

namespace {

LightingRecord rec(uint8_t mode, uint8_t b3, uint8_t b4 = 0, uint8_t b5 = 0, uint8_t b6 = 0, uint8_t b7 = 0) {
    return {0x05, 0xFE, mode, b3, b4, b5, b6, b7};
}

const KeyCodeMap& codeMapOf(int64_t deviceType) {
    return findKeyModel(quorvathModelForDeviceType(deviceType))->codeMap();
}

const KeyNameMap& nameMapOf(int64_t deviceType) {
    return findKeyModel(quorvathModelForDeviceType(deviceType))->nameMap();
}

TEST(QuorvathLighting, ModeRowsAndTheRowOfAStoredMode) {
    const auto rows = quorvathLightModeRows();
    ASSERT_EQ(rows.size(), 10u);
    EXPECT_EQ(rows[0].text, "Static");
    EXPECT_EQ(rows[3].text, "Power Gauge");
    EXPECT_EQ(rows[5].icon, "icon_light_twinklingstars");
    EXPECT_EQ(rows[9].mode, 12);
    EXPECT_EQ(rows[9].text, "Custom");
    for (int64_t mode = 1; mode <= 9; ++mode) EXPECT_EQ(quorvathLightModeRow(mode), int(mode - 1));
    EXPECT_EQ(quorvathLightModeRow(12), 9);
    // No row: nothing selected rather than row -1 or a wrong row.
    for (int64_t mode : {0, -1, 10, 11, 13, 255}) EXPECT_EQ(quorvathLightModeRow(mode), std::nullopt) << mode;
}

TEST(QuorvathLighting, RecordToSendAndTheReadAnswer) {
    const std::vector<uint8_t> stored = {0, 0, 5, 0x2F, 0xFF, 0xE1, 0x00, 0x07};
    EXPECT_EQ(lightingRecordOf(stored), rec(5, 0x2F, 0xFF, 0xE1, 0x00, 0x07));
    EXPECT_EQ(lightingRecordOf(std::vector<uint8_t>(7, 1)), std::nullopt);
    // Mode 12 is shown with byte 3's low five bits; other modes unchanged.
    EXPECT_EQ(shownLightingRecord(rec(12, 0xEF)), rec(12, 0x0F));
    EXPECT_EQ(shownLightingRecord(rec(5, 0xEF)), rec(5, 0xEF));

    using Answer = std::optional<std::vector<uint8_t>>;
    const struct {
        Answer answer;
        bool needsDefault;
    } cases[] = {
        {std::nullopt, true},
        {std::vector<uint8_t>{5, 0xFA, 1, 0x8F}, true},
        {std::vector<uint8_t>(8, 0), true},
        {std::vector<uint8_t>{5, 0xFA, 1, 0, 0xFF, 0, 0, 0}, true},
        {std::vector<uint8_t>{5, 0xFA, 1, 0x8F, 0, 0, 0, 0}, true},
        {std::vector<uint8_t>{5, 0xFA, 1, 0x8F, 0xFF}, false},
        {std::vector<uint8_t>{5, 0xFA, 0, 1, 1, 0, 0, 0}, false},
    };
    for (const auto& c : cases) EXPECT_EQ(lightingAnswerNeedsDefault(c.answer), c.needsDefault);
}

TEST(QuorvathLighting, ControlValuesOfByteThree) {
    const struct {
        uint8_t flags;
        int brightness, speed;
        bool colourMode;
    } cases[] = {
        {0x8F, 15, 1, true}, {0x2F, 15, 3, false}, {0x00, 0, 1, false}, {0xF0, 0, 8, true}, {0x75, 5, 8, false}};
    for (const auto& c : cases) {
        EXPECT_EQ(brightnessOf(c.flags), c.brightness) << int(c.flags);
        EXPECT_EQ(speedOf(c.flags), c.speed) << int(c.flags);
        EXPECT_EQ(colourModeOf(c.flags), c.colourMode) << int(c.flags);
    }
}

// Each handler: stored record and control value -> record (stored and sent), or nothing in a mode that lacks it.
TEST(QuorvathLighting, HandlersChangeTheirBitsOnly) {
    using Change = std::function<std::optional<LightingRecord>(const LightingRecord&, int64_t)>;
    const auto brightness = [](int64_t v) -> Change {
        return [v](const LightingRecord& r, int64_t m) { return brightnessChanged(r, m, v); };
    };
    const auto speed = [](int64_t v) -> Change {
        return [v](const LightingRecord& r, int64_t m) { return speedChanged(r, m, v); };
    };
    const auto colourMode = [](bool on) -> Change {
        return [on](const LightingRecord& r, int64_t m) { return colourModeChanged(r, m, on); };
    };
    const auto direction = [](int64_t t) -> Change {
        return [t](const LightingRecord& r, int64_t m) { return directionChanged(r, m, t); };
    };
    const auto colour = [](double r, double g, double b) -> Change {
        return [=](const LightingRecord& rc, int64_t m) { return colourChanged(rc, m, r, g, b); };
    };
    const struct {
        const char* name;
        LightingRecord before;
        Change change;
        std::optional<LightingRecord> after;
    } cases[] = {
        {"brightness 5 on AF", rec(5, 0xAF, 1, 2, 3, 4), brightness(5), rec(5, 0xA5, 1, 2, 3, 4)},
        {"brightness 0 on 8F", rec(1, 0x8F), brightness(0), rec(1, 0x80)},
        {"brightness in mode 12", rec(12, 0xEF), brightness(3), rec(12, 0xE3)},
        {"brightness 31 is masked", rec(5, 0xA0), brightness(31), rec(5, 0xAF)},
        {"brightness -1 is masked", rec(5, 0xA0), brightness(-1), rec(5, 0xAF)},
        {"speed 3 on 9F", rec(5, 0x9F), speed(3), rec(5, 0xAF)},
        {"speed 8 on 8F", rec(2, 0x8F), speed(8), rec(2, 0xFF)},
        {"speed 1 on FF", rec(9, 0xFF), speed(1), rec(9, 0x8F)},
        {"speed 0 clamped to 1", rec(5, 0xAF), speed(0), rec(5, 0x8F)},
        {"speed 9 clamped to 8", rec(5, 0x0F), speed(9), rec(5, 0x7F)},
        {"speed in mode 1", rec(1, 0x8F), speed(3), std::nullopt},
        {"speed in mode 12", rec(12, 0x0F), speed(3), std::nullopt},
        {"colour mode on", rec(5, 0x2F), colourMode(true), rec(5, 0xAF)},
        {"colour mode off", rec(5, 0xAF), colourMode(false), rec(5, 0x2F)},
        {"direction 2 in mode 3", rec(3, 0x2F, 1), direction(2), rec(3, 0x2F, 2)},
        {"direction outside mode 3", rec(5, 0x2F, 0xFF), direction(2), std::nullopt},
        {"direction 4 does not exist", rec(3, 0x2F, 1), direction(4), std::nullopt},
        {"colour in mode 5", rec(5, 0x2F, 0, 0, 0, 9), colour(1.0, 0.5, 0.0), rec(5, 0x2F, 0xFF, 0x7F, 0x00, 9)},
        {"colour in mode 1", rec(1, 0x8F), colour(0.2, 0.4, 0.6), rec(1, 0x8F, 51, 102, 153)},
        {"colour clamped", rec(7, 0x2F), colour(1.5, -0.2, 1.0), rec(7, 0x2F, 0xFF, 0x00, 0xFF)},
        {"colour in mode 2", rec(2, 0x2F), colour(1, 0, 0), std::nullopt},
        {"colour in mode 12", rec(12, 0x0F), colour(1, 0, 0), std::nullopt},
    };
    for (const auto& c : cases) EXPECT_EQ(c.change(c.before, c.before[2]), c.after) << c.name;
    EXPECT_EQ(directionOfButton(610), 0);
    EXPECT_EQ(directionOfButton(613), 3);
    EXPECT_EQ(directionOfButton(609), std::nullopt);
    EXPECT_EQ(directionOfButton(614), std::nullopt);
}

TEST(QuorvathLighting, ControlsPerMode) {
    using Well = QuorvathModeControls::Well;
    const QuorvathModeControls colourModes{true, true, true, Well::RecordColour, false, false};
    const QuorvathModeControls plain{true, false, false, Well::Hidden, false, false};
    const struct {
        int64_t mode;
        std::optional<QuorvathModeControls> controls;
    } cases[] = {
        {1, QuorvathModeControls{false, true, true, Well::RecordColour, false, false}},
        {2, plain},
        {3, QuorvathModeControls{true, false, false, Well::Hidden, true, false}},
        {4, plain},
        {5, colourModes},
        {6, colourModes},
        {7, colourModes},
        {8, plain},
        {9, colourModes},
        {12, QuorvathModeControls{false, true, false, Well::Yellow, false, true}},
        {0, std::nullopt},
        {10, std::nullopt},
        {11, std::nullopt},
    };
    for (const auto& c : cases) EXPECT_EQ(quorvathModeControls(c.mode), c.controls) << c.mode;
}

TEST(QuorvathKeyColours, ColourValue) {
    EXPECT_EQ(keyColourValue(1.0, 0.5, 0.0), 0xFF7F00);
    EXPECT_EQ(keyColourValue(0, 0, 0), 0);
    EXPECT_EQ(keyColourValue(1, 0, 0), 0xFF0000);
    // Out of range: clamped, never shifted into the neighbour's byte.
    EXPECT_EQ(keyColourValue(2.0, -1.0, 1.0000001), 0xFF00FF);
    // A byte read back as a fraction keeps its byte.
    for (int v = 0; v < 256; ++v) ASSERT_EQ(keyColourValue(0, 0, v / 255.0), v);
}

std::vector<std::string> capNamesOf(int64_t deviceType) {
    std::vector<std::string> names;
    for (const KeyData& key : quorvathKeyData(deviceType)) names.push_back(key.keyname);
    return names;
}

// A cap's key slot is its code-map index, which is its picture position except for the two keys whose indexes the
// 87 and 88 code maps exchange. A stored colour is painted on the cap of its own key, not on the neighbour's.
TEST(QuorvathKeyColours, CapsOfStoredColoursAreFoundByName) {
    for (int64_t type : {1, 2, 3}) {
        SCOPED_TRACE(type);
        const std::vector<std::string> names = capNamesOf(type);
        ASSERT_EQ(int64_t(names.size()), quorvathKeyCount(type));
        std::vector<RGBData> rows;
        std::vector<PositionColour> expected;
        std::vector<std::string> slotDiffers;
        for (size_t p = 0; p < names.size(); ++p) {
            const KeyMapRow* row = nameMapOf(type).find(names[p]);
            ASSERT_TRUE(row && row->key_code) << names[p];
            rows.push_back({0, 12, 1, *row->key_code, int64_t(p) + 1});
            expected.push_back({p, int64_t(p) + 1});
            if (codeMapOf(type).find(*row->key_code)->layout_index != int64_t(p)) slotDiffers.push_back(names[p]);
        }
        EXPECT_EQ(storedKeyColourPositions(rows, codeMapOf(type), names), expected);
        const std::vector<std::string> swapped =
            type == 3 ? std::vector<std::string>{} : std::vector<std::string>{"leftWin", "leftAlt"};
        EXPECT_EQ(slotDiffers, swapped);
        // The block follows the keyboard's slots: Left Option's colour in slot 77 on the 87.
        if (type == 1) {
            const KeyColourBlock block =
                keyColourBlock(1, std::vector<RGBData>{{0, 12, 1, 226, 0x0A0B0C}}, codeMapOf(1));
            EXPECT_EQ(block[4 + 3 * 77], 0x0A);
        }
    }
}

// The block on each key count: header, last-slot byte, the LED groups' bytes, the unused slot, the last byte used.
TEST(QuorvathKeyColours, BlockLayoutPerKeyCount) {
    const struct {
        int64_t deviceType;
        uint8_t lastSlot;
        size_t g601, g602, g603, g600, lastByte;
    } cases[] = {
        {1, 0x7F, 265, 310, 325, 370, 387}, {4, 0x7F, 265, 310, 325, 370, 387}, {2, 0x80, 268, 313, 328, 373, 390},
        {5, 0x80, 268, 313, 328, 373, 390}, {3, 0x83, 277, 322, 337, 382, 399}, {6, 0x83, 277, 322, 337, 382, 399},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.deviceType);
        const std::vector<RGBData> rows = {
            {0, 1, 1, 600, 0x010101}, {0, 1, 1, 601, 0x020202}, {0, 1, 1, 602, 0x030303}, {0, 1, 1, 603, 0x040404}};
        const KeyColourBlock block = keyColourBlock(c.deviceType, rows, codeMapOf(c.deviceType));
        EXPECT_EQ(block[0], 0xF3);
        EXPECT_EQ(block[1], 0);
        EXPECT_EQ(block[2], 0);
        EXPECT_EQ(block[3], c.lastSlot);
        const auto filled = [&](size_t from, size_t count, uint8_t v) {
            for (size_t i = from; i < from + count; ++i)
                if (block[i] != v) return false;
            return true;
        };
        EXPECT_TRUE(filled(4, c.g601 - 4, 0)) << "no key has a colour";
        EXPECT_TRUE(filled(c.g601, 42, 2));
        EXPECT_TRUE(filled(c.g601 + 42, 3, 0)) << "the unused slot";
        EXPECT_TRUE(filled(c.g602, 15, 3));
        EXPECT_TRUE(filled(c.g603, 45, 4));
        EXPECT_TRUE(filled(c.g600, 18, 1));
        EXPECT_EQ(c.g600 + 17, c.lastByte);
        EXPECT_TRUE(filled(c.lastByte + 1, kKeyColourBlockSize - c.lastByte - 1, 0));
    }
}

TEST(QuorvathKeyColours, KeyRowsGoToTheirSlotAndOthersAreLeftOut) {
    const KeyCodeMap& map87 = codeMapOf(1);
    const std::vector<RGBData> rows = {
        {0, 1, 1, 41, 0xFF0000},                              // Escape, slot 0
        {0, 1, 1, 26, 0x00FF00},                              // W
        {0, 1, 1, 26, 0x0000FF},                              // W again: the later row wins
        {0, 1, 1, 650, 0xFFFFFF},                             // a box's tag, not a key or a group
        {0, 1, 1, 604, 0xFFFFFF},  {0, 1, 1, 250, 0xFFFFFF},  // the knob's code: its layout index is no key slot
        {0, 1, 1, 9999, 0xFFFFFF}, {0, 1, 1, -5, 0xFFFFFF},
    };
    const KeyColourBlock block = keyColourBlock(1, rows, map87);
    EXPECT_EQ(block[4], 0xFF);
    EXPECT_EQ(block[5], 0x00);
    EXPECT_EQ(block[6], 0x00);
    const size_t w = 4 + 3 * size_t(map87.find(26)->layout_index);
    EXPECT_EQ(block[w], 0x00);
    EXPECT_EQ(block[w + 1], 0x00);
    EXPECT_EQ(block[w + 2], 0xFF);
    size_t lit = 0;
    for (size_t i = 4; i < block.size(); ++i) lit += block[i] != 0;
    EXPECT_EQ(lit, 2u) << "only Escape's red and W's blue";

    // Painting: key rows only, and only codes with a cap on the picture.
    const std::vector<std::string> names = capNamesOf(1);
    const std::vector<PositionColour> painted = storedKeyColourPositions(rows, map87, names);
    const std::vector<PositionColour> expected = {{0, 0xFF0000}, {35, 0x00FF00}, {35, 0x0000FF}};
    EXPECT_EQ(painted, expected);
    const std::vector<std::string> firstTen(names.begin(), names.begin() + 10);
    EXPECT_EQ(storedKeyColourPositions(rows, map87, firstTen).size(), 1u) << "W lies beyond a 10-cap picture";
}

TEST(QuorvathKeyColours, GroupBoxes) {
    EXPECT_EQ(ledGroupOfBox(651), 600);
    EXPECT_EQ(ledGroupOfBox(652), 602);
    EXPECT_EQ(ledGroupOfBox(653), 601);
    EXPECT_EQ(ledGroupOfBox(654), 603);
    EXPECT_EQ(ledGroupOfBox(650), std::nullopt);
    EXPECT_EQ(ledGroupOfBox(655), std::nullopt);

    for (int64_t type : {1, 2, 3}) {
        SCOPED_TRACE(type);
        const KeyCodeMap& map = codeMapOf(type);
        const std::vector<std::string> names = capNamesOf(type);
        const size_t caps = names.size();
        const auto pos = [&](int64_t code) { return size_t(map.find(code)->layout_index); };
        const struct {
            int64_t tag;
            std::optional<std::vector<size_t>> positions;
        } cases[] = {
            {655, std::vector<size_t>{pos(26), pos(4), pos(22), pos(7)}},
            {656, std::vector<size_t>{pos(82), pos(80), pos(81), pos(79)}},
            {657, std::vector<size_t>{17, 18, 19, 20, 21, 22, 23, 24, 25, 26}},
            {658, std::vector<size_t>{1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11, 12}},
            {651, std::vector<size_t>{}},
            {654, std::vector<size_t>{}},
            {649, std::nullopt},
            {659, std::nullopt},
        };
        for (const auto& c : cases) EXPECT_EQ(keyGroupPositions(c.tag, map, names), c.positions) << c.tag;
        EXPECT_EQ(keyGroupPositions(650, map, names)->size(), caps);
        const std::vector<std::string> first20(names.begin(), names.begin() + 20);
        EXPECT_EQ(keyGroupPositions(657, map, first20)->size(), 3u) << "positions beyond the picture are left out";
    }
}

TEST(QuorvathKeyColours, RowsOfAChangeGroupsFirstInBoxOrder) {
    const std::vector<std::string> names = {"escape", "no-such-key", "w"};
    const std::vector<int64_t> colours = {0xFF0000, 0x123456, 0};
    const std::vector<int64_t> boxesOn = {654, 652};
    const std::vector<RGBData> rows = customKeyColourRows(boxesOn, 0x00FF00, names, colours, nameMapOf(1), 12, 1);
    const std::vector<RGBData> expected = {
        {0, 12, 1, 602, 0x00FF00}, {0, 12, 1, 603, 0x00FF00}, {0, 12, 1, 41, 0xFF0000}, {0, 12, 1, 26, 0}};
    EXPECT_EQ(rows, expected);
}

}  // namespace
