#include <gtest/gtest.h>
#include <linux/input-event-codes.h>

#include "Keylogger/KeyState.h"
#include "Keylogger/Keylogger.h"
#include "Views/Keyboard/KeyLayout/CurrentDevice.h"
#include "Views/Keyboard/KeyLayout/KeyModels.h"
#include "platform/input/SimulatedKeySource.h"

namespace keyloom {
namespace {

using Codes = std::vector<int64_t>;

// A Keylogger over a simulated source with one keyboard, the Quorvath 87's key lists current (flags 57, 224-231).
class KeyloggerTest : public ::testing::Test {
  protected:
    void SetUp() override { start(kKeyCaptureSuccess); }
    void TearDown() override {
        keylogger.reset();
        resetCurrentDevice();
        resetKeyState();
    }
    void start(int openResult) {
        resetKeyState();
        makeCurrentDevice(*findKeyModel(KeyModelId::Quorvath87));
        auto sim = std::make_unique<SimulatedKeySource>(openResult);
        source = sim.get();
        std::vector<std::unique_ptr<KeyInputSource>> sources;
        sources.push_back(std::move(sim));
        testing::internal::CaptureStdout();
        keylogger = std::make_unique<Keylogger>(std::make_unique<KeyCaptureManager>(std::move(sources)));
        printed = testing::internal::GetCapturedStdout();
        keylogger->scheduleHIDLoop();
        keyboard = source->addDevice("keyboard", {0x01, 0x06});
    }
    void key(uint32_t usage, int64_t value) { source->sendValue(keyboard, {0x07, usage, value}); }

    SimulatedKeySource* source = nullptr;
    std::unique_ptr<Keylogger> keylogger;
    std::string printed;
    uint64_t keyboard = 0;
};

TEST_F(KeyloggerTest, HeldListsFollowPressesAndReleases) {
    const struct {
        const char* name;
        std::vector<std::pair<uint32_t, int64_t>> steps;
        Codes flags, normal;
        std::string lastOperate;
        int64_t shift;
    } cases[] = {
        {"shift then A", {{0xE1, 1}, {0x04, 1}}, {225}, {4}, "down", 1},
        {"A released, shift still held", {{0xE1, 1}, {0x04, 1}, {0x04, 0}}, {225}, {}, "up", 1},
        {"right shift never sets the shift status", {{0xE5, 1}}, {229}, {}, "down", 0},
        {"press order kept through a release",
         {{0x05, 1}, {0x04, 1}, {0xE0, 1}, {0xE2, 1}, {0x39, 1}, {0x06, 1}, {0x04, 0}},
         {224, 226, 57},
         {5, 6},
         "up",
         0},
        {"second press of a held key is not listed twice", {{0x04, 1}, {0x04, 1}}, {}, {4}, "down", 0},
        {"one release after two presses", {{0x04, 1}, {0x04, 1}, {0x04, 0}}, {}, {}, "up", 0},
        {"code in neither list changes only the operation", {{0x68, 1}}, {}, {}, "down", 0},
        {"knob code is a normal key", {{250, 1}}, {}, {250}, "down", 0},
        {"usages below 4 are ignored", {{0x03, 1}}, {}, {}, "", 0},
        {"usages above 2310 are ignored", {{0x907, 1}}, {}, {}, "", 0},
        {"usage 2310 is taken", {{0x906, 1}}, {}, {}, "down", 0},
        {"value 2 only sets the shift status", {{0x04, 1}, {0xE1, 2}}, {}, {4}, "down", 2},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        TearDown();
        SetUp();
        for (const auto& [usage, value] : c.steps) key(usage, value);
        EXPECT_EQ(pressedFlags(), c.flags);
        EXPECT_EQ(pressedNormalKey(), c.normal);
        EXPECT_EQ(lastKeyOperate(), c.lastOperate);
        EXPECT_EQ(shiftKeyStatus(), c.shift);
    }
}

TEST_F(KeyloggerTest, BeforeAnyKeyboardOnlyTheOperationChanges) {
    resetCurrentDevice();
    key(0x04, 1);
    EXPECT_TRUE(pressedNormalKey().empty());
    EXPECT_EQ(lastKeyOperate(), "down");
}

// Held Shift autorepeats on event devices; value 2 would end up in the shift status.
TEST_F(KeyloggerTest, AutorepeatOfEventDevicesIsIgnored) {
    source->sendEvdevEvent(keyboard, EV_KEY, KEY_LEFTSHIFT, 1);
    source->sendEvdevEvent(keyboard, EV_KEY, KEY_LEFTSHIFT, 2);
    source->sendEvdevEvent(keyboard, EV_MSC, MSC_SCAN, 0x700E1);
    EXPECT_EQ(shiftKeyStatus(), 1);
    EXPECT_EQ(pressedFlags(), Codes{225});
    source->sendEvdevEvent(keyboard, EV_KEY, KEY_LEFTSHIFT, 0);
    EXPECT_EQ(shiftKeyStatus(), 0);
    EXPECT_EQ(pressedFlags(), Codes{});
}

TEST_F(KeyloggerTest, MatchesKeyboardsVendorInterfaceAndKeypads) {
    EXPECT_EQ(source->matching(), (std::vector<HidUsageMatch>{{0x01, 0x06}, {0xFF0A, 0x01}, {0x01, 0x07}}));
    EXPECT_EQ(printed.find("Can't open HID!"), std::string::npos);
    key(0x04, 1);
    const uint64_t vendor = source->addDevice("vendor", {0xFF0A, 0x01});
    source->sendValue(vendor, {0xFF0A, 0x04, 1});  // the page is not looked at: the same key, listed once
    source->sendValue(vendor, {0xFF0A, 0x06, 1});
    const uint64_t mouse = source->addDevice("mouse", {0x01, 0x02});
    source->sendValue(mouse, {0x07, 0x05, 1});
    EXPECT_EQ(pressedNormalKey(), (Codes{4, 6}));
}

// A keyboard unplugged while keys are held lets go of them; keys held on another keyboard stay.
TEST_F(KeyloggerTest, UnpluggedKeyboardReleasesItsKeys) {
    const uint64_t second = source->addDevice("second keyboard", {0x01, 0x06});
    key(0xE1, 1);
    key(0x04, 1);
    source->sendValue(second, {0x07, 0x05, 1});
    source->removeDevice(keyboard);
    EXPECT_EQ(pressedFlags(), Codes{});
    EXPECT_EQ(pressedNormalKey(), Codes{5});
    EXPECT_EQ(shiftKeyStatus(), 0);
}

// Capture that cannot start is reported and the program goes on, instead of ending the process.
TEST_F(KeyloggerTest, FailedOpenIsReportedAndCaptureGoesOn) {
    TearDown();
    start(kKeyCaptureNotPermitted);
    EXPECT_NE(printed.find("\nCan't open HID!\n"), std::string::npos);
    key(0x05, 1);
    EXPECT_EQ(pressedNormalKey(), Codes{5});
}

}  // namespace
}  // namespace keyloom
