#include <gtest/gtest.h>

#include <QApplication>
#include <QCheckBox>
#include <QColorDialog>
#include <QComboBox>
#include <QLabel>
#include <QListWidget>
#include <QMessageBox>
#include <QPushButton>
#include <QSlider>
#include <QTest>
#include <QTreeView>

#include "CustomControl/KeyView.h"
#include "CustomControl/KeyboardView.h"
#include "CustomControl/SelectKeyView.h"
#include "Customized/SegueRegistry.h"
#include "LightingTestSupport.h"
#include "SQLite/MarrowinDeviceSQLite.h"
#include "VelkorDevice/MarrowinV2.h"
#include "Views/Home/AppState.h"
#include "Views/Home/HomeViewController.h"
#include "Views/Home/HomeWindowController.h"
#include "Views/Keyboard/KeyLayout/CurrentDevice.h"
#include "Views/Keyboard/Marrowin/MarrowinKeyCustomView.h"
#include "Views/Keyboard/Marrowin/MarrowinRadiRGBView.h"
#include "Views/Keyboard/Marrowin/MarrowinViewController.h"
#include "Views/Keyboard/Marrowin/MarrowinWindowViewController.h"
#include "Views/Keyboard/Marrowin/core/MarrowinEditorContext.h"
#include "Views/Keyboard/Marrowin/core/MarrowinLightModes.h"
#include "Views/Keyboard/Marrowin/core/MarrowinLightingBlock.h"
#include "Views/Keyboard/Marrowin/core/MarrowinLightingStore.h"
#include "Views/Keyboard/Shared/SharedColorPanel.h"
#include "platform/bluetooth/SimulatedCentral.h"
#include "platform/hid/SimulatedHidScope.h"
#include "support/PictureClicks.h"
#include "support/TestSupport.h"

namespace keyloom {
namespace {

using test::bytesAt;
using test::hex;
using Bytes = std::vector<uint8_t>;
using Dir = SimulatedKeyboard::Direction;
using Transfer = SimulatedKeyboard::Transfer;

Bytes command(const char* head) {
    Bytes bytes = hex(head);
    bytes.resize(64, 0);
    return bytes;
}

// The second-generation editor opened on a simulated keyboard, lighting tab shown.
class LightingTab : public ::testing::Test {
  protected:
    void SetUp() override {
        resetCurrentDevice();
        registerMarrowinEditorSegue();
    }
    void TearDown() override {
        close();
        SegueRegistry::shared().unregisterSegue(QStringLiteral("showmarrowinkb"));
        resetCurrentDevice();
    }

    // Waits for the opening's upload and keeps its transfers in `opening`. Later exchanges skip the keyboard's
    // pauses unless realPauses.
    MarrowinRadiRGBView* open(std::shared_ptr<SimulatedKeyboard> kb, bool realPauses = false) {
        keyboard = SimulatedHid::instance().plug(std::move(kb));
        EXPECT_TRUE(SegueRegistry::shared().perform(QStringLiteral("showmarrowinkb"), nullptr,
                                                    KeyboardSegueSender{keyboard->device(), "Keyboard"}));
        window = qobject_cast<MarrowinWindowViewController*>(KEYBOARD_VIEW.data());
        if (!window) return nullptr;
        editor = window->contentViewController();
        EXPECT_TRUE(QTest::qWaitForWindowExposed(window));
        settle();
        opening = keyboard->transfers();
        keyboard->clearTransfers();
        if (!realPauses)
            ctx().deviceComm = std::make_shared<MarrowinV2>(keyboard->device(), [](std::chrono::milliseconds) {});
        QTest::mouseClick(editor->RadiRGBBtn, Qt::LeftButton);
        lighting = editor->RadiRGBView;
        return lighting;
    }
    void close() {
        closeSharedColorPanel();
        if (!window) return;
        window->close();
        EXPECT_TRUE(test::processEventsUntil([&] { return window.isNull(); }));
        keyboard->unplug();
    }
    // Every exchange handed over has run.
    void settle() {
        ctx().waitForExchanges();
        QCoreApplication::processEvents();
    }
    MarrowinEditorContext& ctx() { return editor->context(); }

    template <typename W>
    W* find(const QString& name) {
        W* w = lighting->findChild<W*>(name);
        EXPECT_NE(w, nullptr) << name.toStdString();
        return w;
    }
    void clickMode(int64_t mode) {
        QListWidget* list = lighting->lightModeTable;
        const QRect row = list->visualItemRect(list->item(int(mode - 1)));
        QTest::mouseClick(list->viewport(), Qt::LeftButton, {}, row.center());
        settle();
    }
    // A click on the middle of a cap of the lighting picture.
    void clickCap(const std::string& name) { test::clickCap(lighting->radiKeyboardView, name); }
    // The user picks a colour in the shared colour panel opened from the well.
    void pickColour(const QColor& colour) {
        if (!sharedColorPanelVisible()) QTest::mouseClick(lighting->lightRandomColorWell, Qt::LeftButton);
        sharedColorPanel()->setCurrentColor(colour);
    }
    QColor capColour(const std::string& name) {
        for (const KeyData& key : lighting->radiKeyboardView->keyDataArrayHover())
            if (key.keyname == name) return lighting->radiKeyboardView->keyView(key.index)->backgroundColor();
        return {};
    }

    size_t uploads() const {
        size_t n = 0;
        for (const Bytes& report : keyboard->sentReports(HidReportType::Feature)) n += report == command("04 18");
        return n;
    }
    // Bytes 0..1151 of the last block that reached the keyboard.
    Bytes lastBlock() const {
        const auto reports = keyboard->sentReports(HidReportType::Feature);
        Bytes block;
        if (reports.size() < 22) return block;
        for (size_t k = reports.size() - 20; k < reports.size() - 2; ++k)
            block.insert(block.end(), reports[k].begin(), reports[k].end());
        return block;
    }
    std::vector<uint8_t> record(int64_t mode) {
        auto r = readLightRecord(*ctx().deviceDB, 1, mode);
        return r ? r->buffer : std::vector<uint8_t>{};
    }
    uint32_t commits() const { return test::changeCounter(editor->deviceDBfile()); }
    std::vector<RGBData> storedColours() {
        std::vector<RGBData> rows;
        ctx().deviceDB->queryKeyRGB(1, rows);
        return rows;
    }

    test::TempDataHome home;
    SimulatedHidScope simulation;
    std::shared_ptr<SimulatedKeyboard> keyboard;
    QPointer<MarrowinWindowViewController> window;
    MarrowinViewController* editor = nullptr;
    MarrowinRadiRGBView* lighting = nullptr;
    std::vector<Transfer> opening;
};

// Opening on a fresh Ostrel sends the default profile's lighting: each command read back, the 18 block reports;
// a busy read-back resends that command once.
TEST_F(LightingTab, OpeningOnAFreshOstrelSendsTheDefaultLighting) {
    for (int busy : {1, 0}) {
        SCOPED_TRACE(busy);
        auto kb = SimulatedKeyboard::ostrel61();
        kb->setBusyReadBacks(busy);
        test::QuietStdout quiet;
        ASSERT_TRUE(open(kb, true));
        quiet.finish();
        ASSERT_EQ(opening.size(), 26u + 2 * busy);
        std::vector<Bytes> sets;
        for (size_t i = 0; i < opening.size(); ++i) {
            const Transfer& t = opening[i];
            EXPECT_EQ(std::tie(t.type, t.reportId), std::make_tuple(HidReportType::Feature, int64_t{4}));
            if (t.direction == Dir::Set) sets.push_back(t.bytes);
        }
        EXPECT_EQ(opening[1].bytes.at(3), busy ? 0xFF : 0x00) << "the read-back";
        ASSERT_EQ(sets.size(), 22u + busy);
        if (busy) {
            EXPECT_EQ(sets[0], sets[1]);
        }
        EXPECT_EQ(sets[busy + 0], command("04 18"));
        EXPECT_EQ(sets[busy + 1], command("04 13 00 00 00 00 00 00 12"));
        EXPECT_EQ(sets[busy + 20], command("04 02"));
        EXPECT_EQ(sets[busy + 21], command("04 F0"));
        Bytes block;
        for (size_t k = 0; k < 18; ++k) block.insert(block.end(), sets[busy + 2 + k].begin(), sets[busy + 2 + k].end());
        const Bytes slot0 = hex("01 FF E1 00 00 00 00 00 01 0F 0A 00 00 00 AA 55");
        EXPECT_EQ(bytesAt(block, 0, 16), slot0);
        EXPECT_EQ(bytesAt(block, 16 * 9, 16), hex("0A FF E1 00 00 00 00 00 01 0F 0A 03 00 00 AA 55"));
        EXPECT_EQ(bytesAt(block, 16 * 19, 16), hex("80 00 00 00 00 00 00 00 00 0F 00 00 00 00 AA 55"));
        EXPECT_EQ(bytesAt(block, 320, 192), Bytes(192, 0)) << "no slots past mode 20";
        for (size_t p = 0; p < 144; ++p) ASSERT_EQ(bytesAt(block, 512 + 4 * p, 4), hex("80 00 00 00")) << p;
        EXPECT_EQ(bytesAt(block, 1088, 16), slot0);
        EXPECT_EQ(lighting->lightModeTable->currentRow(), 0);
        close();
    }
}

// Each mode shows its controls; choosing it makes it the active mode with one commit and one upload; choosing
// the shown mode again stores and sends nothing.
TEST_F(LightingTab, ModeChoiceShowsItsControlsAndMovesTheActiveMode) {
    ASSERT_TRUE(open(SimulatedKeyboard::ostrel61()));
    auto* speed = find<QSlider>("lightspeedLevel");
    auto* check = find<QCheckBox>("lightRandomCheck");
    auto* well = find<QPushButton>("lightRandomColorWell");
    auto* directions = find<QWidget>("directionView");
    auto* groups = find<QWidget>("selectionView");
    const auto shown = [](QWidget* w) { return w->isVisibleTo(w->parentWidget()); };
    for (int64_t mode : {2, 6, 10, 11, 20, 8, 1, 16, 18, 20, 3}) {
        SCOPED_TRACE(mode);
        const uint32_t commitsBefore = commits();
        const size_t uploadsBefore = uploads();
        clickMode(mode);
        EXPECT_EQ(ctx().deviceDB->getRadiModeSelectIndex(1), mode);
        EXPECT_EQ(commits(), commitsBefore + 1);
        EXPECT_EQ(uploads(), uploadsBefore + 1);
        EXPECT_EQ(lastBlock().at(1088), mode == 20 ? 0x80 : mode);

        const auto c = *lightModeControls(mode);
        EXPECT_EQ(speed->isEnabled(), c.speedEnabled);
        EXPECT_EQ(speed->value(), c.speedEnabled ? 11 : speed->minimum());
        EXPECT_EQ(shown(directions), c.directionShown);
        EXPECT_EQ(shown(find<QPushButton>("lightDirection610")), c.directionOneZero);
        EXPECT_EQ(shown(find<QPushButton>("lightDirection613")), c.directionTwoThree);
        EXPECT_EQ(shown(check), c.randomCheckShown);
        EXPECT_EQ(shown(well), c.colourWellShown);
        EXPECT_EQ(shown(groups), mode == 20);
        if (c.randomCheckShown) {
            EXPECT_TRUE(check->isChecked());
        }

        // The same mode again: nothing stored or sent.
        clickMode(mode);
        EXPECT_EQ(commits(), commitsBefore + 1);
        EXPECT_EQ(uploads(), uploadsBefore + 1);
    }
    // Spot checks of the table: mode 10 has only the buttons of values 2 and 3; mode 6 leaves the picture alone.
    clickMode(10);
    EXPECT_FALSE(shown(find<QPushButton>("lightDirection611")));
    EXPECT_TRUE(shown(find<QPushButton>("lightDirection612")));
    EXPECT_EQ(find<QLabel>("directionCaption")->geometry().center().y(),
              find<QPushButton>("lightDirection612")->geometry().center().y())
        << "the caption sits on the buttons' row";
    clickMode(6);
    EXPECT_EQ(capColour("q"), QColor(255, 225, 0));
}

// A control rewrites one byte of the shown mode's record and nothing else, with one commit and one upload each; the
// speed slider shows the byte + 1 and a touch that ends where it began keeps the byte.
TEST_F(LightingTab, ControlsRewriteOnlyTheirModesRecord) {
    ASSERT_TRUE(open(SimulatedKeyboard::tolmek84()));
    clickMode(11);
    std::vector<std::vector<uint8_t>> before;
    for (int64_t m = 1; m <= 20; ++m) before.push_back(record(m));
    auto* speed = find<QSlider>("lightspeedLevel");
    auto* brightness = find<QSlider>("lightbrightnessSlider");
    ASSERT_EQ(speed->value(), 11);

    struct Step {
        std::function<void()> act;
        size_t byte;
        uint8_t value;
    };
    const std::vector<Step> steps = {
        {[&] { QTest::keyClick(speed, Qt::Key_Right); }, light_record::kSpeed, 11},
        {[&] { QTest::keyClick(speed, Qt::Key_Left); }, light_record::kSpeed, 10},
        {[&] { lighting->backlightSpeedChange(speed->value()); }, light_record::kSpeed, 10},  // touched, unchanged
        {[&] { QTest::keyClick(brightness, Qt::Key_Left); }, light_record::kBrightness, 14},
        {[&] { QTest::mouseClick(find<QPushButton>("lightDirection610"), Qt::LeftButton); }, light_record::kDirection,
         1},
        {[&] { QTest::mouseClick(find<QCheckBox>("lightRandomCheck"), Qt::LeftButton); }, light_record::kColourType, 0},
        {[&] { pickColour(QColor(12, 34, 56)); }, light_record::kRed, 12},
    };
    for (size_t i = 0; i < steps.size(); ++i) {
        SCOPED_TRACE(i);
        const uint32_t commitsBefore = commits();
        const size_t uploadsBefore = uploads();
        steps[i].act();
        settle();
        before[10][steps[i].byte] = steps[i].value;
        // One transaction each, the touched-but-unchanged one included.
        EXPECT_EQ(commits(), commitsBefore + 1);
        EXPECT_EQ(uploads(), uploadsBefore + 1);
        EXPECT_EQ(lastBlock().at(16 * 10 + 10), before[10][light_record::kSpeed]);
    }
    before[10][light_record::kGreen] = 34;
    before[10][light_record::kBlue] = 56;
    for (int64_t m = 1; m <= 20; ++m) EXPECT_EQ(record(m), before[size_t(m - 1)]) << m;
    EXPECT_EQ(bytesAt(lastBlock(), 16 * 10, 16), hex("0B 0C 22 38 00 00 00 00 00 0E 0A 01 00 00 AA 55"));
    EXPECT_EQ(capColour("q"), QColor(12, 34, 56));
}

// Mode 20: groups and clicks frame caps, a colour paints only the framed caps and stores every cap in one commit,
// one upload; Reset blackens and stores every cap; Reset outside mode 20 does nothing.
TEST_F(LightingTab, PerKeyColoursOnTheTolmek) {
    ASSERT_TRUE(open(SimulatedKeyboard::tolmek84()));
    auto* reset = find<QPushButton>("resetAllKeys");
    lighting->resetAllKeys();  // mode 1: would delete every per-key colour
    settle();
    EXPECT_EQ(uploads(), 0u);

    clickMode(20);
    const auto group = [&](int tag) { return find<QCheckBox>(QStringLiteral("customKeys%1").arg(tag)); };
    clickCap("escape");  // a click frames its cap alone, a group adds its caps
    QTest::mouseClick(group(651), Qt::LeftButton);
    const QColor blue(40, 120, 255);
    uint32_t commitsBefore = commits();
    size_t uploadsBefore = uploads();
    pickColour(blue);
    settle();
    EXPECT_EQ(commits(), commitsBefore + 1);
    EXPECT_EQ(uploads(), uploadsBefore + 1);
    for (const char* name : {"w", "a", "s", "d", "escape"}) EXPECT_EQ(capColour(name), blue) << name;
    EXPECT_EQ(capColour("q"), QColor(Qt::black));
    std::vector<int64_t> codes;
    for (const RGBData& row : storedColours()) {
        codes.push_back(row.keyvalue);
        EXPECT_EQ(row.rgbvalue, 0x2878FF);
        EXPECT_EQ(row.radiId, readLightRecord(*ctx().deviceDB, 1, 20)->radiId);
    }
    std::sort(codes.begin(), codes.end());
    EXPECT_EQ(codes, (std::vector<int64_t>{4, 7, 22, 26, 41}));
    const Bytes block = lastBlock();
    EXPECT_EQ(bytesAt(block, 512 + 4 * 19, 4), hex("80 28 78 FF")) << "Escape's fixed entry on the Tolmek";
    EXPECT_EQ(bytesAt(block, 512 + 4 * 1, 4), hex("80 00 00 00"));

    // All keys: the other boxes follow; then Reset.
    QTest::mouseClick(group(650), Qt::LeftButton);
    for (int tag : {651, 652, 653, 654}) EXPECT_TRUE(group(tag)->isChecked()) << tag;
    EXPECT_EQ(group(653)->text(), "F1 to F10");
    commitsBefore = commits();
    uploadsBefore = uploads();
    QTest::mouseClick(reset, Qt::LeftButton);
    settle();
    EXPECT_EQ(commits(), commitsBefore + 1);
    EXPECT_EQ(uploads(), uploadsBefore + 1);
    EXPECT_TRUE(storedColours().empty());
    EXPECT_EQ(capColour("w"), QColor(Qt::black));
    EXPECT_FALSE(lighting->radiKeyboardView->selectKeyView(0)->isShow());
    EXPECT_EQ(bytesAt(lastBlock(), 512 + 4 * 19, 4), hex("80 00 00 00"));
}

// Stored colours are painted on their own caps when the editor opens again (left Alt and left Win are swapped in
// the tables' positions); a layout change repaints them without sending.
TEST_F(LightingTab, StoredColoursArePaintedByName) {
    ASSERT_TRUE(open(SimulatedKeyboard::marrowinv2_71()));
    clickMode(20);
    clickCap("leftAlt");
    pickColour(QColor(200, 0, 0));
    settle();
    close();

    ASSERT_TRUE(open(SimulatedKeyboard::marrowinv2_71()));
    EXPECT_EQ(lighting->currentLightMode(), 20);
    EXPECT_EQ(capColour("leftAlt"), QColor(200, 0, 0));
    EXPECT_EQ(capColour("leftWin"), QColor(Qt::black));

    auto* combo = lighting->radiKBLayoutSelect.data();
    combo->setFocus();
    QTest::keyClick(combo, Qt::Key_Down);  // the 72-key keyboard
    settle();
    EXPECT_EQ(lighting->radiKeyboardView->keyDataArrayHover().size(), 72u);
    EXPECT_EQ(capColour("leftAlt"), QColor(200, 0, 0));
    EXPECT_EQ(capColour("q"), QColor(Qt::black));
    EXPECT_TRUE(keyboard->transfers().empty());
}

// No active mode stored: mode 1 is made active and shown. A list without a selection does nothing.
TEST_F(LightingTab, ProfileWithoutAnActiveModeShowsModeOne) {
    {
        testing::internal::CaptureStdout();
        MarrowinDeviceSQLite db("ostrelpro_device.sqlite3");
        testing::internal::GetCapturedStdout();
        ASSERT_TRUE(db.writeRadiProfile(1) && activateLightMode(db, 1, 0));
        ASSERT_EQ(db.getRadiModeSelectIndex(1), 0);
    }
    ASSERT_TRUE(open(SimulatedKeyboard::ostrel61()));
    EXPECT_EQ(ctx().deviceDB->getRadiModeSelectIndex(1), 1);
    EXPECT_EQ(lighting->lightModeTable->currentRow(), 0);
    EXPECT_EQ(lighting->currentLightMode(), 1);
    EXPECT_EQ(opening.size(), 26u);

    const uint32_t commitsBefore = commits();
    lighting->lightModeTable->setCurrentRow(-1);
    settle();
    EXPECT_EQ(lighting->currentLightMode(), 1);
    EXPECT_EQ(commits(), commitsBefore);
    EXPECT_TRUE(keyboard->transfers().empty());
}

// Without a working profile store nothing is sent, not even the commands, whatever the user does: no database
// folder, or a profile file damaged while the editor is open (one found damaged at opening is started afresh).
TEST_F(LightingTab, WithoutAWorkingStoreNothingIsSent) {
    for (test::Broken how : {test::Broken::NoConnection, test::Broken::NotADatabase}) {
        SCOPED_TRACE(static_cast<int>(how));
        test::TempDataHome own;
        if (how == test::Broken::NoConnection) test::breakStore(how, "ostrelpro_device.sqlite3");
        test::QuietStdout quiet;
        ASSERT_TRUE(open(SimulatedKeyboard::ostrel61()));
        EXPECT_EQ(opening.empty(), how == test::Broken::NoConnection);
        if (how == test::Broken::NotADatabase) test::breakStore(how, "ostrelpro_device.sqlite3");
        clickMode(5);
        QTest::keyClick(find<QSlider>("lightbrightnessSlider"), Qt::Key_Left);
        clickMode(20);
        lighting->customKeysSelect(650, true);
        pickColour(Qt::red);
        settle();
        quiet.finish();
        EXPECT_TRUE(keyboard->transfers().empty());
        close();
    }
}

// A refused report does not stop the upload: the commands after it still go out.
TEST_F(LightingTab, FailedReportDoesNotStopTheUpload) {
    ASSERT_TRUE(open(SimulatedKeyboard::vindle68()));
    keyboard->failTransfer(5);  // the first block report
    QTest::keyClick(find<QSlider>("lightbrightnessSlider"), Qt::Key_Left);
    settle();
    const auto sent = keyboard->transfers();
    ASSERT_EQ(sent.size(), 9u) << "4 command transfers, the refused report, 4 command transfers";
    EXPECT_NE(sent[4].status, kHidSuccess);
    EXPECT_EQ(sent[5].bytes, command("04 02"));
    EXPECT_EQ(sent[7].bytes, command("04 F0"));
}

// Twenty colours picked while an upload is on the wire: each is stored, the last one reaches the keyboard, and the
// uploads they replaced are dropped.
TEST_F(LightingTab, BurstOfColoursSendsTheLast) {
    ASSERT_TRUE(open(SimulatedKeyboard::ostrel61()));
    keyboard->holdTransfer(1);
    pickColour(QColor(1, 2, 3));
    ASSERT_TRUE(keyboard->waitForHeldTransfer());
    const uint32_t commitsBefore = commits();
    for (int i = 1; i <= 19; ++i) pickColour(QColor(10 * i, 2, 3));
    EXPECT_EQ(commits(), commitsBefore + 19);
    keyboard->releaseHeldTransfer();
    settle();
    EXPECT_LT(uploads(), 20u);
    EXPECT_EQ(uploads(), 2u);
    EXPECT_EQ(bytesAt(lastBlock(), 0, 4), hex("01 BE 02 03"));
    EXPECT_EQ(record(1)[light_record::kRed], 190);
}

// The keyboard unplugged while an upload is on the wire (the lighting block, or the key table with a "Key
// Assignment" sheet open on the editor): the upload fails, the home screen's sheet appears and closes the editor.
TEST_F(LightingTab, UnplugDuringAnUploadClosesTheEditorWithItsAlert) {
    setenv("KEYLOOM_SERVER_URL", "", 1);
    HomeViewController::centralFactory() = [](std::weak_ptr<CentralDelegate> d) {
        return std::shared_ptr<BluetoothCentral>(SimulatedCentral::create(d, CentralState::unsupported));
    };
    const auto clickTopRow = [&](const QString& name) {
        QTreeView* tree = editor->KeyCustomView->keycustomTree;
        for (int r = 0; r < tree->model()->rowCount(); ++r) {
            const QModelIndex row = tree->model()->index(r, 0);
            if (row.data().toString() == name)
                QTest::mouseClick(tree->viewport(), Qt::LeftButton, {}, tree->visualRect(row).center());
        }
    };
    const struct {
        const char* what;
        std::function<void()> upload;
    } cases[] = {
        {"lighting", [&] { QTest::keyClick(find<QSlider>("lightbrightnessSlider"), Qt::Key_Left); }},
        {"key table",
         [&] {
             QTest::mouseClick(editor->KeyCustomBtn, Qt::LeftButton);
             test::clickCap(editor->KeyCustomView->customKeyboardView, "a");
             clickTopRow("Disable");
             QTest::mouseClick(editor->KeyCustomView->customKeySaveBtn, Qt::LeftButton);
             clickTopRow("Macro");
             QTest::mouseClick(editor->KeyCustomView->customKeySaveBtn, Qt::LeftButton);
             ASSERT_TRUE(editor->KeyCustomView->alertSheet && editor->KeyCustomView->alertSheet->isVisible());
         }},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        HomeWindowController homeWindow;
        HomeViewController* homeView = homeWindow.contentViewController();
        bool accepted = false;
        QObject::connect(homeView, &HomeViewController::keyboardAccepted, [&] { accepted = true; });
        homeView->viewDidLoad();
        homeWindow.show();
        keyboard = SimulatedHid::instance().plug(SimulatedKeyboard::ostrel61());
        ASSERT_TRUE(test::processEventsUntil([&] { return accepted; }));
        test::QuietStdout quiet;
        QTest::mouseClick(homeView->deviceImage, Qt::LeftButton);
        window = qobject_cast<MarrowinWindowViewController*>(KEYBOARD_VIEW.data());
        ASSERT_TRUE(window);
        editor = window->contentViewController();
        settle();
        editor->ShowRadiRGBView();
        lighting = editor->RadiRGBView;
        keyboard->clearTransfers();

        keyboard->holdTransfer(6);  // a block report of the next upload
        c.upload();
        ASSERT_TRUE(keyboard->waitForHeldTransfer());
        SimulatedHid::instance().unplug(keyboard);
        keyboard->releaseHeldTransfer();
        ASSERT_TRUE(test::processEventsUntil(
            [&] { return homeView->disconnectSheet && homeView->disconnectSheet->isVisible(); }));
        EXPECT_EQ(homeView->disconnectSheet->informativeText(),
                  "The keyboard is disconnected and the keyboard configuration window will close.");
        QTest::mouseClick(homeView->disconnectSheet->button(QMessageBox::Ok), Qt::LeftButton);
        EXPECT_TRUE(test::processEventsUntil([&] { return window.isNull(); }));
        quiet.finish();
        EXPECT_TRUE(KEYBOARD_VIEW.isNull());
        EXPECT_EQ(keyboard->transfers().size(), 6u);
    }
    HomeViewController::centralFactory() = nullptr;
    unsetenv("KEYLOOM_SERVER_URL");
}

}  // namespace
}  // namespace keyloom
