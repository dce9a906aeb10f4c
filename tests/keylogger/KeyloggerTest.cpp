#include <gtest/gtest.h>
#include <linux/input-event-codes.h>

#include "Keylogger/CallBackFunctions.h"
#include "Keylogger/KeyState.h"
#include "Keylogger/Keylogger.h"
#include "Views/Keyboard/KeyLayout/CurrentDevice.h"
#include "Views/Keyboard/KeyLayout/KeyModels.h"
#include "platform/input/SimulatedKeySource.h"

namespace keyloom {
namespace {

using Codes = std::vector<int64_t>;
constexpr HidUsageMatch kKeyboard{0x01, 0x06};
constexpr HidUsageMatch kVendor{0xFF0A, 0x01};

// A Keylogger over two simulated sources, with the Quorvath 87's key lists current (flags 57, 224-231).
class KeyloggerTest : public ::testing::Test {
  protected:
    void SetUp() override {
        resetKeyState();
        makeCurrentDevice(*findKeyModel(KeyModelId::Quorvath87));
        auto a = std::make_unique<SimulatedKeySource>();
        auto b = std::make_unique<SimulatedKeySource>();
        sourceA = a.get();
        sourceB = b.get();
        std::vector<std::unique_ptr<KeyInputSource>> sources;
        sources.push_back(std::move(a));
        sources.push_back(std::move(b));
        testing::internal::CaptureStdout();
        keylogger = std::make_unique<Keylogger>(std::make_unique<KeyCaptureManager>(std::move(sources)));
        printed = testing::internal::GetCapturedStdout();
        keylogger->scheduleHIDLoop();
        keyboard = sourceA->addDevice("keyboard", kKeyboard);
        secondKeyboard = sourceB->addDevice("built-in", kKeyboard);
    }
    void TearDown() override {
        keylogger.reset();
        resetCurrentDevice();
        resetKeyState();
    }

    void key(uint32_t usage, int64_t value, uint64_t device = 0) {
        sourceA->sendValue(device ? device : keyboard, HidInputValue{0x07, usage, value});
    }

    SimulatedKeySource* sourceA = nullptr;
    SimulatedKeySource* sourceB = nullptr;
    std::unique_ptr<Keylogger> keylogger;
    std::string printed;
    uint64_t keyboard = 0;
    uint64_t secondKeyboard = 0;
};

TEST_F(KeyloggerTest, MatchesKeyboardsVendorInterfaceAndKeypadsInOrder) {
    const std::vector<HidUsageMatch> expected{{0x01, 0x06}, {0xFF0A, 0x01}, {0x01, 0x07}};
    EXPECT_EQ(sourceA->matching(), expected);
    EXPECT_EQ(keylogger->deviceList.size(), 3u);
    EXPECT_EQ(keylogger->deviceList[1].at("DeviceUsagePage"), 0xFF0A);
    EXPECT_EQ(printed.rfind("dll ", 0), 0u);
    EXPECT_EQ(printed.find("Can't open HID!"), std::string::npos);
}

struct Step {
    uint32_t usage;
    int64_t value;
};
struct Case {
    const char* name;
    std::vector<Step> steps;
    Codes flags;
    Codes normal;
    std::string lastOperate;
    int64_t shift;
};

TEST_F(KeyloggerTest, HeldListsFollowPressesAndReleases) {
    const Case cases[] = {
        {"shift then A", {{0xE1, 1}, {0x04, 1}}, {225}, {4}, "down", 1},
        {"A released, shift still held", {{0xE1, 1}, {0x04, 1}, {0x04, 0}}, {225}, {}, "up", 1},
        {"shift released", {{0xE1, 1}, {0xE1, 0}}, {}, {}, "up", 0},
        {"right shift never sets the shift status", {{0xE5, 1}}, {229}, {}, "down", 0},
        {"press order kept",
         {{0x05, 1}, {0x04, 1}, {0xE0, 1}, {0xE2, 1}, {0x39, 1}},
         {224, 226, 57},
         {5, 4},
         "down",
         0},
        {"release in the middle keeps the order", {{0x05, 1}, {0x04, 1}, {0x06, 1}, {0x04, 0}}, {}, {5, 6}, "up", 0},
        {"second press of a held key is not listed twice", {{0x04, 1}, {0x04, 1}}, {}, {4}, "down", 0},
        {"one release after two presses", {{0x04, 1}, {0x04, 1}, {0x04, 0}}, {}, {}, "up", 0},
        {"code in neither list changes only the operation", {{0x68, 1}}, {}, {}, "down", 0},
        {"knob code is a normal key", {{250, 1}}, {}, {250}, "down", 0},
        {"usages below 4 are ignored", {{0x03, 1}}, {}, {}, "", 0},
        {"usages above 2310 are ignored", {{0x907, 1}}, {}, {}, "", 0},
        {"usage 2310 is taken", {{0x906, 1}}, {}, {}, "down", 0},
        {"value 2 only sets the shift status", {{0x04, 1}, {0xE1, 2}}, {}, {4}, "down", 2},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        TearDown();
        SetUp();
        ASSERT_EQ(std::count(QV_NormalKeys().begin(), QV_NormalKeys().end(), 0x68), 0);
        for (const Step& s : c.steps) key(s.usage, s.value);
        EXPECT_EQ(pressedFlags(), c.flags);
        EXPECT_EQ(pressedNormalKey(), c.normal);
        EXPECT_EQ(lastKeyOperate(), c.lastOperate);
        EXPECT_EQ(shiftKeyStatus(), c.shift);
    }
}

TEST_F(KeyloggerTest, RecordKeyPressedDoesNotDuplicateAHeldKey) {
    CallBackFunctions::recordKeyPressed(1, 225);
    CallBackFunctions::recordKeyPressed(1, 225);
    CallBackFunctions::recordKeyPressed(1, 4);
    CallBackFunctions::recordKeyPressed(1, 4);
    EXPECT_EQ(pressedFlags(), Codes{225});
    EXPECT_EQ(pressedNormalKey(), Codes{4});
    CallBackFunctions::recordKeyPressed(7, 4);  // neither press nor release
    EXPECT_EQ(pressedNormalKey(), Codes{4});
    CallBackFunctions::recordKeyPressed(0, 4);
    EXPECT_EQ(pressedNormalKey(), Codes{});
    EXPECT_EQ(lastKeyOperate(), "up");
}

TEST_F(KeyloggerTest, BeforeAnyKeyboardOnlyTheOperationChanges) {
    resetCurrentDevice();
    key(0x04, 1);
    key(0xE1, 1);
    EXPECT_TRUE(pressedNormalKey().empty());
    EXPECT_TRUE(pressedFlags().empty());
    EXPECT_EQ(lastKeyOperate(), "down");
    EXPECT_EQ(shiftKeyStatus(), 1);
}

TEST_F(KeyloggerTest, AutorepeatOfEventDevicesIsIgnored) {
    sourceA->sendEvdevEvent(keyboard, EV_KEY, KEY_LEFTSHIFT, 1);
    for (int i = 0; i < 3; ++i) sourceA->sendEvdevEvent(keyboard, EV_KEY, KEY_LEFTSHIFT, 2);
    EXPECT_EQ(shiftKeyStatus(), 1);
    EXPECT_EQ(pressedFlags(), Codes{225});
    sourceA->sendEvdevEvent(keyboard, EV_KEY, KEY_A, 1);
    sourceA->sendEvdevEvent(keyboard, EV_KEY, KEY_A, 2);
    sourceA->sendEvdevEvent(keyboard, EV_MSC, MSC_SCAN, 0x70004);
    EXPECT_EQ(pressedNormalKey(), Codes{4});
    EXPECT_EQ(lastKeyOperate(), "down");
    sourceA->sendEvdevEvent(keyboard, EV_KEY, KEY_LEFTSHIFT, 0);
    EXPECT_EQ(shiftKeyStatus(), 0);
    EXPECT_EQ(pressedFlags(), Codes{});
}

TEST_F(KeyloggerTest, KeysOfSecondKeyboardCountAndAKeyHeldOnBothIsListedOnce) {
    key(0x04, 1);
    sourceB->sendValue(secondKeyboard, HidInputValue{0x07, 0x04, 1});
    sourceB->sendValue(secondKeyboard, HidInputValue{0x07, 0x05, 1});
    EXPECT_EQ(pressedNormalKey(), (Codes{4, 5}));
    key(0x04, 0);  // still held on the other keyboard
    EXPECT_EQ(pressedNormalKey(), (Codes{4, 5}));
    sourceB->sendValue(secondKeyboard, HidInputValue{0x07, 0x04, 0});
    EXPECT_EQ(pressedNormalKey(), Codes{5});
    EXPECT_EQ(lastKeyOperate(), "up");
}

TEST_F(KeyloggerTest, UnpluggedKeyboardLetsGoOfItsKeys) {
    key(0xE0, 1);
    key(0x04, 1);
    sourceA->removeDevice(keyboard);
    EXPECT_TRUE(pressedFlags().empty());
    EXPECT_TRUE(pressedNormalKey().empty());
    EXPECT_EQ(lastKeyOperate(), "up");
}

TEST_F(KeyloggerTest, VendorInterfaceUsagesCountWhateverThePage) {
    const uint64_t vendor = sourceA->addDevice("vendor", kVendor);
    sourceA->sendValue(vendor, HidInputValue{0xFF0A, 0x04, 1});
    EXPECT_EQ(pressedNormalKey(), Codes{4});
    const uint64_t mouse = sourceA->addDevice("mouse", HidUsageMatch{0x01, 0x02});  // not matched
    sourceA->sendValue(mouse, HidInputValue{0x07, 0x05, 1});
    EXPECT_EQ(pressedNormalKey(), Codes{4});
}

TEST(KeyloggerOpen, FailedOpenIsReportedAndCaptureGoesOn) {
    resetKeyState();
    makeCurrentDevice(*findKeyModel(KeyModelId::Quorvath87));
    auto source = std::make_unique<SimulatedKeySource>(kKeyCaptureNotPermitted);
    SimulatedKeySource* sim = source.get();
    std::vector<std::unique_ptr<KeyInputSource>> sources;
    sources.push_back(std::move(source));
    testing::internal::CaptureStdout();
    Keylogger keylogger(std::make_unique<KeyCaptureManager>(std::move(sources)));
    const std::string out = testing::internal::GetCapturedStdout();
    EXPECT_NE(out.find("\nCan't open HID!\n"), std::string::npos);

    const uint64_t kb = sim->addDevice("keyboard", kKeyboard);
    sim->sendValue(kb, HidInputValue{0x07, 0x04, 1});  // not scheduled yet: nothing arrives
    EXPECT_TRUE(pressedNormalKey().empty());
    keylogger.scheduleHIDLoop();
    sim->sendValue(kb, HidInputValue{0x07, 0x05, 1});
    EXPECT_EQ(pressedNormalKey(), Codes{5});
    resetCurrentDevice();
    resetKeyState();
}

}  // namespace
}  // namespace keyloom
