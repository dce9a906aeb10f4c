#include <QCheckBox>
#include <QClipboard>
#include <QGuiApplication>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QToolButton>
#include <functional>

#include "EditorFixture.h"
#include "Views/Keyboard/Quorvath/SettingsPanel.h"
#include "Views/Keyboard/Shared/Stepper.h"

using namespace keyloom;
using namespace keyloom::test;

namespace {

class SettingsTab : public EditorFixture {
  public:
    void openSettings(std::shared_ptr<SimulatedKeyboard> kb = SimulatedKeyboard::quorvath87()) {
        open(std::move(kb));
        QTest::mouseClick(find<QPushButton>("SettingsBtn"), Qt::LeftButton);
        keyboard->clearTransfers();
    }
    QLineEdit* field(const char* row) { return find<QLineEdit>((std::string(row) + "Time").c_str()); }
    QCheckBox* check(const char* row) { return find<QCheckBox>((std::string(row) + "Check").c_str()); }
    Stepper* stepper(const char* row) { return find<Stepper>((std::string(row) + "Stepper").c_str()); }
    void click(QAbstractButton* b) { QTest::mouseClick(b, Qt::LeftButton); }
    void stepUp(const char* row) { click(find<QToolButton>((std::string(row) + "StepperUp").c_str())); }
    // Select the field's text, then type one key at a time.
    void retype(const char* row, const QString& text) {
        QLineEdit* f = field(row);
        QTest::keyClick(f, Qt::Key_A, Qt::ControlModifier);
        if (text.isEmpty())
            QTest::keyClick(f, Qt::Key_Backspace);
        else
            QTest::keyClicks(f, text);
    }
    void typeAtEnd(const char* row, const QString& text) {
        QLineEdit* f = field(row);
        QTest::keyClick(f, Qt::Key_End);
        QTest::keyClicks(f, text);
    }
    void paste(const char* row, const QString& text) {
        QGuiApplication::clipboard()->setText(text);
        QTest::keyClick(field(row), Qt::Key_A, Qt::ControlModifier);
        QTest::keyClick(field(row), Qt::Key_V, Qt::ControlModifier);
    }
};

// User actions -> the reports the keyboard received, the stored rows, the commits, what the field shows.
TEST_F(SettingsTab, UserActionsStoreAndSendOnce) {
    using Act = std::function<void(SettingsTab&)>;
    struct Case {
        const char* name;
        Act setup;  // not counted
        Act act;
        std::vector<Bytes> reports;
        std::map<std::string, std::string> rows;  // the rows that must hold these values afterwards
        uint32_t commits;
        const char* usb = "300";  // fields shown afterwards
        const char* light = "120";
        const char* sleep = "180";
    };
    const Case cases[] = {
        {"rate 4",
         nullptr,
         [](SettingsTab& t) { t.click(t.find<QRadioButton>("reportRate4")); },
         {rateReport(4)},
         {{"reportRate", "4"}},
         1},
        {"rate 1",
         nullptr,
         [](SettingsTab& t) { t.click(t.find<QRadioButton>("reportRate1")); },
         {rateReport(1)},
         {{"reportRate", "1"}},
         1},
        {"usb box off",
         nullptr,
         [](SettingsTab& t) { t.click(t.check("usbSleep")); },
         {usbSleepReport(0)},
         {{"idleUSBWireSleep", "0"}},
         1,
         "0"},
        {"light box off",
         nullptr,
         [](SettingsTab& t) { t.click(t.check("wirelessLight")); },
         {wirelessReport(0, 180)},
         {{"idleWirelessLight", "0"}, {"idleWirelessSleep", "180"}},
         1,
         "300",
         "0"},
        {"sleep box off",
         nullptr,
         [](SettingsTab& t) { t.click(t.check("wirelessSleep")); },
         {wirelessReport(120, 0)},
         {{"idleWirelessLight", "120"}, {"idleWirelessSleep", "0"}},
         1,
         "300",
         "120",
         "0"},
        {"light box on again: default, not the old time",
         [](SettingsTab& t) {
             t.retype("wirelessLight", "7");
             t.click(t.check("wirelessLight"));
         },
         [](SettingsTab& t) { t.click(t.check("wirelessLight")); },
         {wirelessReport(120, 180)},
         {{"idleWirelessLight", "120"}, {"idleWirelessSleep", "180"}},
         1},
        {"type 250",
         nullptr,
         [](SettingsTab& t) { t.retype("usbSleep", "250"); },
         {usbSleepReport(2), usbSleepReport(25), usbSleepReport(250)},
         {{"idleUSBWireSleep", "250"}},
         3,
         "250"},
        {"type 59999",
         [](SettingsTab& t) { t.retype("usbSleep", "5999"); },
         [](SettingsTab& t) { t.typeAtEnd("usbSleep", "9"); },
         {usbSleepReport(59999)},
         {{"idleUSBWireSleep", "59999"}},
         1,
         "59999"},
        {"type 60000",
         [](SettingsTab& t) { t.retype("usbSleep", "6000"); },
         [](SettingsTab& t) { t.typeAtEnd("usbSleep", "0"); },
         {},
         {{"idleUSBWireSleep", "6000"}},
         0,
         "6000"},
        {"clear the field",
         nullptr,
         [](SettingsTab& t) { t.retype("wirelessSleep", ""); },
         {},
         {{"idleWirelessSleep", "180"}},
         0},
        {"type 12a",
         [](SettingsTab& t) { t.retype("wirelessSleep", "12"); },
         [](SettingsTab& t) { t.typeAtEnd("wirelessSleep", "a"); },
         {},
         {{"idleWirelessSleep", "12"}},
         0,
         "300",
         "120",
         "12"},
        {"paste -1", nullptr, [](SettingsTab& t) { t.paste("usbSleep", "-1"); }, {}, {{"idleUSBWireSleep", "300"}}, 0},
        {"stepper",
         nullptr,
         [](SettingsTab& t) { t.stepUp("wirelessLight"); },
         {wirelessReport(121, 180)},
         {{"idleWirelessLight", "121"}},
         1,
         "300",
         "121"},
        // A refused edit brings back the last typed or loaded text, not the stepper's.
        {"stepper then refused edit",
         [](SettingsTab& t) { t.stepUp("wirelessLight"); },
         [](SettingsTab& t) { t.retype("wirelessLight", ""); },
         {},
         {{"idleWirelessLight", "121"}},
         0},
        {"restore",
         nullptr,
         [](SettingsTab& t) { t.click(t.find<QPushButton>("restoreKeyboard")); },
         {kResetReport},
         {{"reportRate", "2"}, {"idleUSBWireSleep", "300"}},
         0},
    };
    const std::map<std::string, std::string> kDefaults = {
        {"reportRate", "2"}, {"idleUSBWireSleep", "300"}, {"idleWirelessLight", "120"}, {"idleWirelessSleep", "180"}};
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        openSettings();
        if (c.setup) c.setup(*this);
        settle();
        keyboard->clearTransfers();
        const uint32_t before = commits();
        c.act(*this);
        settle();
        EXPECT_EQ(featureReports(), c.reports);
        EXPECT_EQ(commits() - before, c.commits);
        const auto rows = settingsRows();
        for (const auto& [key, value] : c.rows) EXPECT_EQ(rows.at(key), value) << key;
        EXPECT_EQ(field("usbSleep")->text(), c.usb);
        EXPECT_EQ(field("wirelessLight")->text(), c.light);
        EXPECT_EQ(field("wirelessSleep")->text(), c.sleep);
        for (const auto& [key, value] : kDefaults) setStored(key, value);
        closeEditor();
        keyboard->unplug();
    }
}

TEST_F(SettingsTab, BoxOffDisablesItsRowAndLoadingShowsTheStoreWithoutWriting) {
    openSettings();
    // Fresh profile: rate 2, 300/120/180, everything on.
    EXPECT_TRUE(find<QRadioButton>("reportRate2")->isChecked());
    for (const char* row : {"usbSleep", "wirelessLight", "wirelessSleep"}) {
        EXPECT_TRUE(check(row)->isChecked());
        EXPECT_TRUE(field(row)->isEnabled());
    }
    EXPECT_EQ(stepper("usbSleep")->value(), 300);

    click(check("usbSleep"));
    EXPECT_FALSE(field("usbSleep")->isEnabled());
    EXPECT_FALSE(stepper("usbSleep")->isEnabled());
    EXPECT_EQ(stepper("usbSleep")->value(), 0);

    // Stored values of every kind, loaded: nothing is sent or stored.
    setStored("reportRate", "3");
    setStored("idleWirelessLight", "0");
    setStored("idleWirelessSleep", "70000");
    settle();
    keyboard->clearTransfers();
    const uint32_t before = commits();
    auto* panel = controller->SettingsView;
    panel->loadConfigData();
    settle();
    EXPECT_TRUE(keyboard->transfers().empty());
    EXPECT_EQ(commits(), before);
    for (int tag : {1, 2, 4, 8})
        EXPECT_FALSE(find<QRadioButton>(("reportRate" + std::to_string(tag)).c_str())->isChecked());
    EXPECT_FALSE(check("usbSleep")->isChecked());
    EXPECT_FALSE(check("wirelessLight")->isChecked());
    EXPECT_FALSE(field("wirelessLight")->isEnabled());
    EXPECT_EQ(field("wirelessSleep")->text(), "70000");
    EXPECT_EQ(stepper("wirelessSleep")->value(), 59999);

    // The out-of-range stored sleep time does not block the light-off time: it travels clamped.
    click(check("wirelessLight"));
    settle();
    EXPECT_EQ(featureReports(), std::vector<Bytes>{wirelessReport(120, 65535)});
}

// Without a database the settings show, and send, what a new profile has: a box switched off sends the other time of
// its report as that default, never as 0.
TEST_F(SettingsTab, WithoutADatabaseTheDefaultsAreShownAndSentAndNothingIsStored) {
    // The db folder is a regular file: the database cannot be opened.
    std::filesystem::create_directories(applicationSupportFolder());
    std::ofstream(databaseFolder()) << "not a folder";
    openSettings();
    EXPECT_FALSE(ctx().hasDatabase());
    EXPECT_FALSE(ctx().store([](DeviceSQLite&) { return true; }));
    for (int tag : {1, 2, 4, 8})
        EXPECT_EQ(find<QRadioButton>(("reportRate" + std::to_string(tag)).c_str())->isChecked(), tag == 2);
    EXPECT_EQ(field("usbSleep")->text(), "300");
    EXPECT_EQ(field("wirelessLight")->text(), "120");
    EXPECT_EQ(field("wirelessSleep")->text(), "180");

    click(check("wirelessLight"));
    click(find<QRadioButton>("reportRate8"));
    retype("usbSleep", "5");
    settle();
    EXPECT_EQ(featureReports(), (std::vector<Bytes>{wirelessReport(0, 180), rateReport(8), usbSleepReport(5)}));
}

// After a start on a full disk the settings show what is stored: a box switched off sends the other time of its report
// as stored, never as 0; once space is back and the editor opened again, the same click stores it as it was, never
// blank.
TEST_F(SettingsTab, OnAFullDiskTheOtherTimeIsSentAndLaterStoredAsItWas) {
    FullDiskHome disk;
    SKIP_WITHOUT_FULL_DISK(disk);
    openSettings();
    retype("wirelessSleep", "200");
    settle();
    ASSERT_EQ(settingsRows().at("idleWirelessSleep"), "200");
    const auto reopen = [&](const std::function<void()>& meanwhile) {
        closeEditor();
        keyboard->unplug();
        meanwhile();
        QuietStdout quiet;
        openSettings();
    };
    reopen([&] { disk.fill(); });
    EXPECT_EQ(field("wirelessSleep")->text(), "200");
    click(check("wirelessLight"));
    settle();
    EXPECT_EQ(featureReports(), std::vector<Bytes>{wirelessReport(0, 200)});

    reopen([&] { disk.makeRoom(); });
    click(check("wirelessLight"));
    settle();
    EXPECT_EQ(featureReports(), std::vector<Bytes>{wirelessReport(0, 200)});
    EXPECT_EQ(settingsRows().at("idleWirelessLight"), "0");
    EXPECT_EQ(settingsRows().at("idleWirelessSleep"), "200");
    closeEditor();
}

// The steppers stop at the highest time a field takes from typing: a step up there sends and stores nothing.
TEST_F(SettingsTab, SteppersStopAtTheHighestTypedTime) {
    openSettings();
    retype("usbSleep", "59999");
    settle();
    ASSERT_EQ(stepper("usbSleep")->value(), 59999);
    keyboard->clearTransfers();
    const uint64_t before = commits();
    stepUp("usbSleep");
    settle();
    EXPECT_EQ(stepper("usbSleep")->value(), 59999);
    EXPECT_EQ(field("usbSleep")->text(), "59999");
    EXPECT_TRUE(keyboard->transfers().empty());
    EXPECT_EQ(commits(), before);
    EXPECT_EQ(settingsRows().at("idleUSBWireSleep"), "59999");
}

}  // namespace
