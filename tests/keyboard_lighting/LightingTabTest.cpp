#include <QCheckBox>
#include <QColorDialog>
#include <QLabel>
#include <QListWidget>
#include <QPushButton>
#include <QSlider>
#include <functional>

#include "CustomControl/KeyView.h"
#include "CustomControl/KeyboardView.h"
#include "CustomControl/SelectKeyView.h"
#include "Views/Keyboard/Quorvath/LightingPanel.h"
#include "Views/Keyboard/Shared/LevelIndicator.h"
#include "Views/Keyboard/Shared/SharedColorPanel.h"
#include "keyboard/EditorFixture.h"

using namespace keyloom;
using namespace keyloom::test;

namespace {

const Bytes kLightingRead = {5, 0xFA, 0, 0, 0, 0, 0, 0};
const Bytes kDefaultRecord = {5, 0xFE, 0, 2, 1, 0, 0, 0};

Bytes record(uint8_t mode, uint8_t b3, uint8_t b4 = 0, uint8_t b5 = 0, uint8_t b6 = 0, uint8_t b7 = 0) {
    return {5, 0xFE, mode, b3, b4, b5, b6, b7};
}

// Stored bytes 3..7 of a mode.
struct Stored {
    int b3, b4, b5, b6, b7;
    bool operator==(const Stored&) const = default;
};
std::ostream& operator<<(std::ostream& os, const Stored& s) {
    return os << std::hex << s.b3 << ' ' << s.b4 << ' ' << s.b5 << ' ' << s.b6 << ' ' << s.b7;
}

class LightingTab : public EditorFixture {
  public:
    LightingPanel* openLighting(std::shared_ptr<SimulatedKeyboard> kb = SimulatedKeyboard::quorvath87()) {
        open(std::move(kb));
        QTest::mouseClick(find<QPushButton>("RadiRGBBtn"), Qt::LeftButton);
        settle();
        keyboard->clearTransfers();
        return controller->RadiRGBView;
    }
    LightingPanel* lighting() { return controller->RadiRGBView; }
    KeyboardView* picture() { return lighting()->radiKeyboardView; }

    void clickRow(int row) {
        auto* list = find<QListWidget>("lightmode");
        QTest::mouseClick(list->viewport(), Qt::LeftButton, {}, list->visualItemRect(list->item(row)).center());
        settle();
    }
    void click(const char* name) {
        QTest::mouseClick(find<QAbstractButton>(name), Qt::LeftButton);
        settle();
    }
    void clickBox(int tag) { click(("customKeys" + std::to_string(tag)).c_str()); }
    // A drag of the slider's knob to the value.
    void dragBrightness(int value) {
        auto* s = find<QSlider>("lightbrightnessSlider");
        s->setSliderDown(true);
        s->setSliderPosition(value);
        s->setSliderDown(false);
        settle();
    }
    void clickSpeed(int level) {
        auto* l = find<LevelIndicator>("lightspeedLevel");
        const int x = int((level - 0.5) * l->width() / l->maximum());
        QTest::mouseClick(l, Qt::LeftButton, {}, QPoint(x, l->height() / 2));
        settle();
    }
    // The well opens the shared colour panel; the user picks a colour in it.
    void pickColour(const QColor& c, bool wait = true) {
        QTest::mouseClick(find<QPushButton>("lightRandomColorWell"), Qt::LeftButton);
        ASSERT_NE(sharedColorPanel(), nullptr);
        sharedColorPanel()->setCurrentColor(c);
        if (wait) settle();
    }
    void clickCap(const std::string& keyname) {
        for (const KeyData& key : picture()->keyDataArrayHover()) {
            if (key.keyname != keyname) continue;
            QTest::mouseClick(picture(), Qt::LeftButton, {}, key.view->geometry().center());
            return;
        }
        ADD_FAILURE() << keyname << " is not on the picture";
    }
    int64_t positionOf(const std::string& keyname) {
        for (const KeyData& key : picture()->keyDataArrayHover())
            if (key.keyname == keyname) return key.index;
        return -1;
    }

    Stored stored(int mode) const {
        SQLite::Database db(dbPath(), SQLite::OPEN_READONLY);
        SQLite::Statement q(db, R"(SELECT byte3, byte4, byte5, byte6, byte7 FROM t_radidata
                                   WHERE profId = 1 AND mode = ?)");
        q.bind(1, mode);
        if (!q.executeStep()) return {-1, -1, -1, -1, -1};
        return {q.getColumn(0).getInt(), q.getColumn(1).getInt(), q.getColumn(2).getInt(), q.getColumn(3).getInt(),
                q.getColumn(4).getInt()};
    }
    void setStored(int mode, Stored s) const {
        SQLite::Database db(dbPath(), SQLite::OPEN_READWRITE);
        SQLite::Statement u(db, R"(UPDATE t_radidata SET byte3 = ?, byte4 = ?, byte5 = ?, byte6 = ?, byte7 = ?
                                   WHERE profId = 1 AND mode = ?)");
        for (int i = 0; i < 5; ++i) u.bind(i + 1, (&s.b3)[i]);
        u.bind(6, mode);
        u.exec();
    }
    void exec(const std::string& sql) const {
        SQLite::Database db(dbPath(), SQLite::OPEN_READWRITE);
        db.exec(sql);
    }
    std::vector<int64_t> selectedModes() const {
        SQLite::Database db(dbPath(), SQLite::OPEN_READONLY);
        SQLite::Statement q(db, "SELECT mode FROM t_radidata WHERE profId = 1 AND status = 1");
        std::vector<int64_t> modes;
        while (q.executeStep()) modes.push_back(q.getColumn(0).getInt64());
        return modes;
    }
    std::map<int64_t, int64_t> colourRows() const {
        SQLite::Database db(dbPath(), SQLite::OPEN_READONLY);
        SQLite::Statement q(db, "SELECT keyvalue, rgbvalue FROM t_keyrgbdata WHERE profId = 1");
        std::map<int64_t, int64_t> rows;
        while (q.executeStep()) rows[q.getColumn(0).getInt64()] = q.getColumn(1).getInt64();
        return rows;
    }

    std::vector<Bytes> outputReports() const { return keyboard->sentReports(HidReportType::Output); }
    // The 408-byte block carried by the last `reports` output reports (67: 7 bytes then 6 each; 58: 7 each).
    Bytes lastBlock(size_t reports = 67) const {
        const auto out = outputReports();
        Bytes block;
        if (out.size() < reports) return block;
        for (size_t k = out.size() - reports; k < out.size(); ++k) {
            const bool first = k == out.size() - reports;
            const size_t from = reports == 67 && !first ? 2 : 1;
            block.insert(block.end(), out[k].begin() + std::ptrdiff_t(from), out[k].end());
        }
        block.resize(408, 0);
        return block;
    }
    static Bytes slot(const Bytes& block, size_t s) { return {block.begin() + 4 + 3 * s, block.begin() + 7 + 3 * s}; }
    static size_t lit(const Bytes& block) {
        size_t n = 0;
        for (size_t i = 4; i < block.size(); ++i) n += block[i] != 0;
        return n;
    }
    QColor capColour(int64_t position) { return picture()->keyView(position)->backgroundColor(); }
};

// A fresh profile on a keyboard whose lighting is not set: the version read, the lighting read, the default record,
// mode 1's record, nothing else; mode 1 shown. A keyboard that answers with its lighting gets no default record.
TEST_F(LightingTab, FirstAppearanceShowsTheStoredMode) {
    open(SimulatedKeyboard::quorvath87());
    EXPECT_EQ(featureReports(),
              (std::vector<Bytes>{kVersionRead, kLightingRead, kDefaultRecord, record(1, 0x8F, 0xFF, 0xE1, 0x00)}));
    EXPECT_EQ(keyboard->transfers().size(), 4u + 5u) << "four reports and five reads";
    EXPECT_EQ(selectedModes(), std::vector<int64_t>{1});
    LightingPanel* l = lighting();
    EXPECT_EQ(l->currentLightMode(), 1);
    EXPECT_EQ(find<QListWidget>("lightmode")->selectionModel()->selectedRows().value(0).row(), 0);
    EXPECT_EQ(l->lightbrightnessSlider->value(), 15);
    EXPECT_FALSE(l->lightspeedLevel->isEnabled());
    EXPECT_EQ(l->lightspeedLevel->value(), 0);
    EXPECT_TRUE(l->lightRandomCheck->isChecked());
    EXPECT_EQ(l->wellColor(), QColor(0xFF, 0xE1, 0x00));
    EXPECT_FALSE(l->lightRandomColorWell->isHidden());
    EXPECT_FALSE(l->lightRandomColor->isHidden());
    EXPECT_TRUE(l->directionView->isHidden());
    EXPECT_TRUE(l->selectionView->isHidden());
    closeEditor();
    keyboard->unplug();

    auto set = SimulatedKeyboard::quorvath91();
    set->setLightingState({5, 0x2F, 0xFF, 0, 0, 0});
    open(set);
    EXPECT_EQ(featureReports(), (std::vector<Bytes>{kVersionRead, kLightingRead, record(1, 0x8F, 0xFF, 0xE1, 0x00)}));
}

// Row clicks: the stored selection, what is sent, what is shown; the mode already shown sends nothing.
TEST_F(LightingTab, RowClicksSelectStoreAndShowTheMode) {
    struct Case {
        int row;
        int64_t mode;
        std::vector<Bytes> reports;
        uint64_t commits;
        bool colourShown, directionShown, selectionShown, speedEnabled;
    };
    const Case cases[] = {
        {4, 5, {kLightingRead, record(5, 0x2F, 0xFF, 0xE1)}, 1, true, false, false, true},
        {4, 5, {}, 0, true, false, false, true},
        {9, 12, {kLightingRead, record(12, 0x0F)}, 1, true, false, true, false},
        // The keyboard now answers with a zero byte 4: the default record goes first.
        {2, 3, {kLightingRead, kDefaultRecord, record(3, 0x2F, 0x01)}, 1, false, true, false, true},
        {1, 2, {kLightingRead, record(2, 0x2F)}, 1, false, false, false, true},
        {0, 1, {kLightingRead, kDefaultRecord, record(1, 0x8F, 0xFF, 0xE1)}, 1, true, false, false, false},
    };
    openLighting();
    for (const Case& c : cases) {
        SCOPED_TRACE(c.row);
        keyboard->clearTransfers();
        const uint64_t before = commits();
        clickRow(c.row);
        EXPECT_EQ(featureReports(), c.reports);
        EXPECT_EQ(commits() - before, c.commits);
        EXPECT_EQ(selectedModes(), std::vector<int64_t>{c.mode});
        EXPECT_EQ(lighting()->currentLightMode(), c.mode);
        EXPECT_EQ(lighting()->lightRandomColorWell->isVisible(), c.colourShown);
        EXPECT_EQ(lighting()->lightRandomCheck->isVisible(), c.colourShown && c.mode != 12);
        EXPECT_EQ(lighting()->directionView->isVisible(), c.directionShown);
        EXPECT_EQ(lighting()->selectionView->isVisible(), c.selectionShown);
        EXPECT_EQ(lighting()->lightspeedLevel->isEnabled(), c.speedEnabled);
        EXPECT_EQ(picture()->customMode(), c.mode == 12);
    }
    EXPECT_TRUE(outputReports().empty()) << "showing the custom mode sends no block";
}

// The custom mode is shown with byte 3's low five bits and paints the stored key colours; group rows paint nothing.
TEST_F(LightingTab, ShowingTheCustomModePaintsTheStoredKeyColours) {
    openLighting(SimulatedKeyboard::quorvath91());
    setStored(12, {0xEF, 0, 0, 0, 0});
    exec(
        "INSERT INTO t_keyrgbdata (radiId, profId, keyvalue, rgbvalue) VALUES (12, 1, 4, 16711680), "
        "(12, 1, 26, 255), (12, 1, 602, 65280), (12, 1, 650, 65280)");
    clickRow(9);
    EXPECT_EQ(featureReports(), (std::vector<Bytes>{kLightingRead, record(12, 0x0F)}));
    EXPECT_EQ(stored(12), (Stored{0xEF, 0, 0, 0, 0}));
    EXPECT_EQ(lighting()->wellColor(), QColor(Qt::yellow));
    for (const KeyData& key : picture()->keyDataArrayHover()) {
        const QColor expected = key.keyname == "a"   ? QColor(255, 0, 0)
                                : key.keyname == "w" ? QColor(0, 0, 255)
                                                     : QColor(Qt::black);
        EXPECT_EQ(capColour(key.index), expected) << key.keyname;
    }
}

// Each handler through its control: stored bytes and control value -> stored bytes, reports, commits. A control the
// mode disables changes nothing; handler calls a mode has no byte for are in
// QuorvathLighting.HandlersChangeTheirBitsOnly.
TEST_F(LightingTab, HandlersStoreTheRecordThenSendIt) {
    using Act = std::function<void(LightingTab&)>;
    const auto brightness = [](int v) -> Act { return [v](LightingTab& t) { t.dragBrightness(v); }; };
    const auto speed = [](int v) -> Act { return [v](LightingTab& t) { t.clickSpeed(v); }; };
    const auto button = [](const char* name) -> Act { return [name](LightingTab& t) { t.click(name); }; };
    const auto panelColour = [](QColor c) -> Act { return [c](LightingTab& t) { t.pickColour(c); }; };
    // A colour as a colour well may deliver it: fractions, or components outside 0..1.
    const auto wellColour = [](QColor c) -> Act { return [c](LightingTab& t) { t.lighting()->colorWellChange(c); }; };
    struct Case {
        const char* name;
        int row;
        Stored before;
        Act act;
        Stored after;
        std::vector<Bytes> reports;
    };
    // clang-format off
    const Case cases[] = {
        {"brightness 5 on AF", 4, {0xAF, 0xFF, 0xE1, 0, 0}, brightness(5), {0xA5, 0xFF, 0xE1, 0, 0},
         {record(5, 0xA5, 0xFF, 0xE1)}},
        {"speed 3 on 9F", 4, {0x9F, 1, 2, 3, 4}, speed(3), {0xAF, 1, 2, 3, 4}, {record(5, 0xAF, 1, 2, 3, 4)}},
        {"speed 8 on 0F", 7, {0x0F, 0, 0, 0, 0}, speed(8), {0x7F, 0, 0, 0, 0}, {record(8, 0x7F)}},
        {"colour mode on", 5, {0x2F, 0, 0, 0, 0}, button("lightRandomCheck"), {0xAF, 0, 0, 0, 0}, {record(6, 0xAF)}},
        {"colour mode off", 0, {0x8F, 0xFF, 0xE1, 0, 0}, button("lightRandomCheck"), {0x0F, 0xFF, 0xE1, 0, 0},
         {record(1, 0x0F, 0xFF, 0xE1)}},
        {"direction 612", 2, {0x2F, 1, 0, 0, 0}, button("lightDirection612"), {0x2F, 2, 0, 0, 0},
         {record(3, 0x2F, 2)}},
        {"direction 610", 2, {0x2F, 1, 0, 0, 0}, button("lightDirection610"), {0x2F, 0, 0, 0, 0},
         {record(3, 0x2F, 0)}},
        {"colour from the panel", 4, {0x2F, 0, 0, 0, 7}, panelColour(QColor(255, 127, 0)), {0x2F, 0xFF, 0x7F, 0, 7},
         {record(5, 0x2F, 0xFF, 0x7F, 0, 7)}},
        {"colour (1.0, 0.5, 0.0)", 6, {0x2F, 0, 0, 0, 0}, wellColour(QColor::fromRgbF(1.0f, 0.5f, 0.0f)),
         {0x2F, 0xFF, 0x7F, 0, 0}, {record(7, 0x2F, 0xFF, 0x7F)}},
        {"colour beyond 0..1", 8, {0x2F, 0, 0, 0, 0},
         wellColour(QColor::fromRgbF(1.2f, -0.1f, 0.5f)), {0x2F, 0xFF, 0, 0x7F, 0},
         {record(9, 0x2F, 0xFF, 0, 0x7F)}},
        {"brightness in the custom mode", 9, {0xEF, 0, 0, 0, 0}, brightness(3), {0xE3, 0, 0, 0, 0},
         {record(12, 0xE3)}},
        {"speed in mode 1 (disabled)", 0, {0x8F, 0xFF, 0xE1, 0, 0}, speed(3), {0x8F, 0xFF, 0xE1, 0, 0}, {}},
        {"colour in mode 2", 1, {0x2F, 0, 0, 0, 0}, wellColour(Qt::red), {0x2F, 0, 0, 0, 0}, {}},
    };
    // clang-format on
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        openLighting();
        const int mode = int(quorvathLightModeRows()[size_t(c.row)].mode);
        // Stored before the mode is shown, so that its controls show it.
        setStored(mode, c.before);
        if (c.row == 0) clickRow(1);
        clickRow(c.row);
        keyboard->clearTransfers();
        const uint64_t before = commits();
        c.act(*this);
        settle();
        EXPECT_EQ(stored(mode), c.after);
        EXPECT_EQ(featureReports(), c.reports);
        EXPECT_EQ(commits() - before, c.reports.empty() ? 0u : 1u);
        EXPECT_TRUE(outputReports().empty());
        closeSharedColorPanel();
        const std::string file = dbPath();
        closeEditor();
        keyboard->unplug();
        std::filesystem::remove(file);
    }
}

TEST_F(LightingTab, ColourInARecordModePaintsThePicture) {
    openLighting();
    pickColour(QColor(10, 20, 30));
    for (const KeyData& key : picture()->keyDataArrayHover()) EXPECT_EQ(capColour(key.index), QColor(10, 20, 30));
    EXPECT_EQ(lighting()->wellColor(), QColor(10, 20, 30));
}

// Per-key colours on the 87 and the 91: box 652 stores group 602 and lights its slots; a framed cap takes the colour;
// the block's first report; Reset darkens everything.
TEST_F(LightingTab, PerKeyColoursStoreEveryCapAndSendTheBlock) {
    struct Case {
        std::shared_ptr<SimulatedKeyboard> kb;
        uint8_t lastSlot;
        size_t keys;
    };
    const Case cases[] = {{SimulatedKeyboard::quorvath87(), 0x7F, 87}, {SimulatedKeyboard::quorvath91(), 0x83, 91}};
    for (const Case& c : cases) {
        SCOPED_TRACE(c.keys);
        openLighting(c.kb);
        clickRow(9);
        keyboard->clearTransfers();
        clickBox(652);
        EXPECT_TRUE(keyboard->transfers().empty()) << "a group box alone sends nothing";
        uint64_t before = commits();
        pickColour(Qt::green);
        EXPECT_EQ(commits() - before, 1u);
        EXPECT_EQ(colourRows(), (std::map<int64_t, int64_t>{{602, 0x00FF00}})) << "black caps keep no row";
        ASSERT_EQ(outputReports().size(), 67u);
        Bytes block = lastBlock();
        EXPECT_EQ(block[3], c.lastSlot);
        for (size_t s = c.keys + 15; s < c.keys + 20; ++s) EXPECT_EQ(slot(block, s), (Bytes{0, 0xFF, 0})) << s;
        EXPECT_EQ(lit(block), 5u) << "group 602's five slots, not group 601's";

        clickCap("escape");
        EXPECT_TRUE(picture()->selectKeyView(0)->isShow());
        keyboard->clearTransfers();
        before = commits();
        pickColour(Qt::red);
        EXPECT_EQ(commits() - before, 1u);
        EXPECT_EQ(colourRows(), (std::map<int64_t, int64_t>{{41, 0xFF0000}, {602, 0xFF0000}}));
        const auto out = outputReports();
        ASSERT_EQ(out.size(), 67u);
        EXPECT_EQ(out[0], (Bytes{5, 0xF3, 0, 0, c.lastSlot, 0xFF, 0, 0}));
        block = lastBlock();
        EXPECT_EQ(slot(block, 0), (Bytes{0xFF, 0, 0}));
        EXPECT_EQ(lit(block), 6u);
        EXPECT_EQ(capColour(0), QColor(Qt::red));
        EXPECT_EQ(capColour(1), QColor(Qt::black));

        keyboard->clearTransfers();
        click("resetAllKeys");
        EXPECT_EQ(colourRows(), (std::map<int64_t, int64_t>{}));
        EXPECT_EQ(outputReports().size(), 67u);
        EXPECT_EQ(lit(lastBlock()), 0u);
        EXPECT_FALSE(picture()->selectKeyView(0)->isShow());
        EXPECT_EQ(capColour(0), QColor(Qt::black));
        EXPECT_TRUE(find<QCheckBox>("customKeys652")->isChecked()) << "the boxes keep their states";
        EXPECT_TRUE(featureReports().empty());
        closeSharedColorPanel();
        closeEditor();
        keyboard->unplug();
    }
}

TEST_F(LightingTab, FirmwareOf180905TakesTheBlockInFiftyEightReports) {
    auto kb = SimulatedKeyboard::quorvath87();
    kb->setFirmwareVersion("V1.8.180905");
    openLighting(kb);
    clickRow(9);
    clickCap("escape");
    keyboard->clearTransfers();
    pickColour(QColor(1, 2, 3));
    const auto out = outputReports();
    ASSERT_EQ(out.size(), 58u);
    EXPECT_EQ(out[0], (Bytes{5, 0xF3, 0, 0, 0x7F, 1, 2, 3}));
    EXPECT_EQ(lit(lastBlock(58)), 3u);
}

TEST_F(LightingTab, GroupBoxesFrameTheirKeys) {
    openLighting(SimulatedKeyboard::quorvath88());
    clickRow(9);
    keyboard->clearTransfers();
    const uint64_t before = commits();
    const auto framed = [this] {
        std::vector<int64_t> positions;
        for (const KeyData& key : picture()->keyDataArraySelect())
            if (picture()->selectKeyView(key.index)->isShow()) positions.push_back(key.index);
        return positions;
    };
    const auto boxesOn = [this] {
        int on = 0;
        for (int tag = 651; tag <= 658; ++tag)
            on += find<QCheckBox>(("customKeys" + std::to_string(tag)).c_str())->isChecked();
        return on;
    };
    clickBox(650);
    EXPECT_EQ(framed().size(), 88u);
    EXPECT_EQ(boxesOn(), 8);
    clickBox(650);
    EXPECT_TRUE(framed().empty());
    EXPECT_EQ(boxesOn(), 0);
    clickBox(651);
    EXPECT_TRUE(framed().empty()) << "an LED group box frames no key";
    clickBox(655);
    EXPECT_EQ(framed(), (std::vector<int64_t>{positionOf("w"), positionOf("a"), positionOf("s"), positionOf("d")}));
    clickBox(655);
    clickBox(658);
    EXPECT_EQ(framed(), (std::vector<int64_t>{1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11, 12}));
    EXPECT_TRUE(keyboard->transfers().empty());
    EXPECT_EQ(commits(), before);
}

// Twenty colours picked while the keyboard is still taking a block: each is stored, the last reaches the keyboard,
// and the blocks they replaced are never sent.
TEST_F(LightingTab, BurstOfColoursSendsTheLast) {
    openLighting();
    clickRow(9);
    clickCap("escape");
    keyboard->clearTransfers();
    keyboard->holdTransfer(1);
    const uint64_t before = commits();
    pickColour(QColor(1, 2, 3), false);
    ASSERT_TRUE(keyboard->waitForHeldTransfer());
    for (int i = 1; i < 20; ++i) pickColour(QColor(10 * i, 2, 3), false);
    EXPECT_EQ(commits() - before, 20u);
    keyboard->releaseHeldTransfer();
    settle();
    EXPECT_EQ(outputReports().size(), 2u * 67u) << "the held block and the latest";
    EXPECT_EQ(slot(lastBlock(), 0), (Bytes{190, 2, 3}));
    EXPECT_EQ(colourRows().at(41), (190 << 16) | (2 << 8) | 3);
}

// A stored selection the list has no row for: no row selected, nothing shown, sent or rewritten.
TEST_F(LightingTab, AStoredModeWithoutARowIsNotShown) {
    const char* setups[] = {
        "UPDATE t_radidata SET status = (mode = 10)",
        "UPDATE t_radidata SET status = 0",
    };
    for (const char* setup : setups) {
        SCOPED_TRACE(setup);
        open(SimulatedKeyboard::quorvath87());
        exec(setup);
        const auto selected = selectedModes();
        closeEditor();
        keyboard->unplug();
        open(SimulatedKeyboard::quorvath87());
        EXPECT_EQ(featureReports(), std::vector<Bytes>{kVersionRead});
        EXPECT_EQ(selectedModes(), selected);
        EXPECT_TRUE(find<QListWidget>("lightmode")->selectedItems().isEmpty());
        EXPECT_EQ(lighting()->currentLightMode(), 0);
        EXPECT_FALSE(picture()->customMode());
        closeEditor();
        keyboard->unplug();
    }
}

// Without a profile database nothing of the lighting reaches the keyboard, whatever the user does, and no choice
// looks made: the editor says there is no profile database.
TEST_F(LightingTab, WithoutADatabaseNothingIsSent) {
    std::filesystem::create_directories(applicationSupportFolder());
    std::ofstream(databaseFolder()) << "x";
    open(SimulatedKeyboard::quorvath87());
    QTest::mouseClick(find<QPushButton>("RadiRGBBtn"), Qt::LeftButton);
    EXPECT_TRUE(find<QListWidget>("lightmode")->selectedItems().isEmpty());
    const QColor cap = capColour(0);
    clickRow(4);
    EXPECT_TRUE(find<QListWidget>("lightmode")->selectedItems().isEmpty()) << "neither stored nor sent";
    auto* notice = find<QLabel>("storeNotice");
    EXPECT_TRUE(notice->isVisibleTo(controller));
    EXPECT_EQ(notice->text(), "Your change was not stored: there is no profile database.");
    dragBrightness(2);
    clickSpeed(4);
    pickColour(Qt::red);
    EXPECT_EQ(capColour(0), cap);
    clickRow(9);
    clickBox(650);
    pickColour(Qt::blue);
    click("resetAllKeys");
    settle();
    EXPECT_EQ(featureReports(), std::vector<Bytes>{kVersionRead});
    EXPECT_TRUE(outputReports().empty());
}

// Colours stored but then unreadable make no block: one built from no rows would turn every key dark.
TEST_F(LightingTab, NoBlockWhenTheStoredColoursCannotBeRead) {
    openLighting();
    clickRow(9);
    clickCap("escape");
    keyboard->clearTransfers();
    // The colour table becomes one that takes the store's writes but cannot be read in the order of its rows.
    exec(R"(ALTER TABLE t_keyrgbdata RENAME TO kept_colours;
            CREATE VIEW t_keyrgbdata AS SELECT radiId, profId, keyvalue, rgbvalue FROM kept_colours;
            CREATE TRIGGER colour_in INSTEAD OF INSERT ON t_keyrgbdata BEGIN
              INSERT INTO kept_colours (radiId, profId, keyvalue, rgbvalue)
              VALUES (NEW.radiId, NEW.profId, NEW.keyvalue, NEW.rgbvalue); END;
            CREATE TRIGGER colour_out INSTEAD OF DELETE ON t_keyrgbdata BEGIN
              DELETE FROM kept_colours WHERE keyvalue = OLD.keyvalue; END;)");
    const uint64_t before = commits();
    pickColour(Qt::red);
    EXPECT_EQ(commits() - before, 1u);
    SQLite::Database db(dbPath(), SQLite::OPEN_READONLY);
    EXPECT_EQ(db.execAndGet("SELECT group_concat(keyvalue || ':' || rgbvalue) FROM kept_colours").getString(),
              "41:16711680")
        << "stored";
    EXPECT_TRUE(keyboard->transfers().empty());
}

// Reset belongs to the custom mode: called in another mode it deletes no colour and sends nothing.
TEST_F(LightingTab, ResetActsOnlyInTheCustomMode) {
    openLighting();
    clickRow(9);
    clickCap("escape");
    pickColour(Qt::red);
    closeSharedColorPanel();
    clickRow(4);
    keyboard->clearTransfers();
    const auto colours = colourRows();
    ASSERT_EQ(colours.size(), 1u);
    const uint64_t before = commits();
    lighting()->resetAllKeys();  // its button is hidden outside the custom mode
    settle();
    EXPECT_EQ(colourRows(), colours);
    EXPECT_EQ(commits(), before);
    EXPECT_TRUE(keyboard->transfers().empty());
}

// The list reacts to a chosen row, not to the current one: focus coming into a list without a chosen row (the stored
// mode has none) moves the current row but stores and sends nothing.
TEST_F(LightingTab, FocusInTheModeListChoosesNothing) {
    open(SimulatedKeyboard::quorvath87());
    exec("UPDATE t_radidata SET status = (mode = 10)");
    closeEditor();
    keyboard->unplug();
    openLighting();
    window->activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(window));
    auto* list = find<QListWidget>("lightmode");
    ASSERT_TRUE(list->selectedItems().isEmpty());
    const uint64_t before = commits();
    list->setFocus(Qt::TabFocusReason);
    settle();
    ASSERT_EQ(list->currentRow(), 0) << "focus made the first row the current one";
    EXPECT_TRUE(list->selectedItems().isEmpty());
    EXPECT_EQ(selectedModes(), std::vector<int64_t>{10});
    EXPECT_EQ(commits(), before);
    EXPECT_TRUE(keyboard->transfers().empty());
}

}  // namespace
