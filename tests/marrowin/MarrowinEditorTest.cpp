#include <gtest/gtest.h>

#include <QApplication>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTest>
#include <QTreeView>
#include <array>
#include <filesystem>
#include <memory>
#include <set>

#include "CustomControl/KeyView.h"
#include "CustomControl/KeyboardView.h"
#include "CustomControl/SelectKeyView.h"
#include "Customized/SegueRegistry.h"
#include "SQLite/MarrowinDeviceSQLite.h"
#include "VelkorDevice/MarrowinV2.h"
#include "Views/Home/AppState.h"
#include "Views/Home/HomeViewController.h"
#include "Views/Home/HomeWindowController.h"
#include "Views/Keyboard/DataSource/TreeNodeItemModel.h"
#include "Views/Keyboard/KeyLayout/CurrentDevice.h"
#include "Views/Keyboard/KeyLayout/KeyModels.h"
#include "Views/Keyboard/Marrowin/MarrowinKeyCustomView.h"
#include "Views/Keyboard/Marrowin/MarrowinRadiRGBView.h"
#include "Views/Keyboard/Marrowin/MarrowinViewController.h"
#include "Views/Keyboard/Marrowin/MarrowinWindowViewController.h"
#include "Views/Keyboard/Marrowin/core/MarrowinEditorContext.h"
#include "platform/DataPaths.h"
#include "platform/bluetooth/SimulatedCentral.h"
#include "platform/hid/SimulatedHidScope.h"
#include "support/MarrowinKeyRows.h"
#include "support/PictureClicks.h"
#include "support/TestSupport.h"

using namespace keyloom;

namespace {

class MarrowinEditor : public ::testing::Test {
  protected:
    void SetUp() override {
        resetCurrentDevice();
        KEYBOARD_VIEW.clear();
        registerMarrowinEditorSegue();
    }

    void TearDown() override {
        closeEditor();
        SegueRegistry::shared().unregisterSegue(QStringLiteral("showmarrowinkb"));
    }

    // Opens the editor as the home screen does, for a plugged keyboard.
    MarrowinViewController* open(const std::shared_ptr<SimulatedKeyboard>& kb, const QString& title = "Keyboard") {
        keyboard = SimulatedHid::instance().plug(kb);
        EXPECT_TRUE(SegueRegistry::shared().perform(QStringLiteral("showmarrowinkb"), nullptr,
                                                    KeyboardSegueSender{keyboard->device(), title}));
        auto* window = qobject_cast<MarrowinWindowViewController*>(KEYBOARD_VIEW.data());
        if (!window) return nullptr;
        EXPECT_TRUE(QTest::qWaitForWindowExposed(window));
        // Opening sends the profile's lighting once; what a test does afterwards is checked from a clean record.
        MarrowinViewController* editor = window->contentViewController();
        editor->context().waitForExchanges();
        openingReports = keyboard->sentReports(HidReportType::Feature);
        keyboard->clearTransfers();
        return editor;
    }

    // After the keyboard has received what the editor sent (closing with exchanges pending is tested on its own).
    void closeEditor() {
        if (auto* editor = qobject_cast<MarrowinWindowViewController*>(KEYBOARD_VIEW.data()))
            editor->contentViewController()->context().waitForExchanges();
        if (KEYBOARD_VIEW) {
            QPointer<QWidget> window = KEYBOARD_VIEW;
            window->close();
            test::processEventsUntil([&] { return window.isNull(); });
        }
    }

    std::string stored(const std::string& file, const std::string& key = "keyboardLayout") {
        return MarrowinDeviceSQLite(file).getConfigData(1, key);
    }

    test::TempDataHome home;
    SimulatedHidScope simulation;
    std::shared_ptr<SimulatedKeyboard> keyboard;
    std::vector<std::vector<uint8_t>> openingReports;
};

std::shared_ptr<SimulatedKeyboard> withoutProductName() {
    auto kb = SimulatedKeyboard::secondGeneration(0x024F, "");
    kb->setProperty("Product", std::monostate{});
    return kb;
}

TEST_F(MarrowinEditor, ModelChoiceForEverySimulatedModel) {
    const struct {
        std::function<std::shared_ptr<SimulatedKeyboard>()> make;
        int64_t type;
        std::string file;
        MarrowinLayoutCombos combos;
        size_t caps;
    } cases[] = {
        {&SimulatedKeyboard::marrowinv2_71, 1, "marrowinv2pro_device.sqlite3", MarrowinLayoutCombos::MarrowinV2, 71},
        {&SimulatedKeyboard::marrowinv2_72, 1, "marrowinv2pro_device.sqlite3", MarrowinLayoutCombos::MarrowinV2, 71},
        {&SimulatedKeyboard::marrowinv2max, 1, "marrowinv2max_device.sqlite3", MarrowinLayoutCombos::MarrowinV2, 71},
        {&SimulatedKeyboard::marrowinv2te, 1, "marrowinv2te_device.sqlite3", MarrowinLayoutCombos::MarrowinV2, 71},
        {&SimulatedKeyboard::vindle68, 102, "vindle_device.sqlite3", MarrowinLayoutCombos::None, 68},
        {&SimulatedKeyboard::tolmek84, 101, "tolmekv2te_device.sqlite3", MarrowinLayoutCombos::None, 84},
        {&SimulatedKeyboard::ostrel61, 100, "ostrelpro_device.sqlite3", MarrowinLayoutCombos::None, 61},
        {&SimulatedKeyboard::ostrelmax, 103, "ostrelmax_device.sqlite3", MarrowinLayoutCombos::None, 61},
        {&SimulatedKeyboard::ostrelte61, 105, "ostrelte61_device.sqlite3", MarrowinLayoutCombos::None, 61},
        {&SimulatedKeyboard::ostrelte62, 106, "ostrelte62_device.sqlite3", MarrowinLayoutCombos::OstrelTE62, 62},
        {[] { return SimulatedKeyboard::secondGeneration(593, "Ostrel TE"); }, 1, "marrowinv2_device.sqlite3",
         MarrowinLayoutCombos::MarrowinV2, 71},
        {&withoutProductName, 1, "marrowinv2_device.sqlite3", MarrowinLayoutCombos::MarrowinV2, 71},
    };
    for (const auto& c : cases) {
        auto kb = c.make();
        const std::string label = kb->product() + " " + std::to_string(kb->productId());
        MarrowinViewController* editor = open(kb, QString::fromStdString(label));
        ASSERT_TRUE(editor) << label;
        EXPECT_EQ(editor->deviceType(), c.type) << label;
        EXPECT_EQ(editor->deviceDBfile(), c.file) << label;
        EXPECT_TRUE(std::filesystem::exists(databaseFolder() + "/" + c.file)) << label;
        EXPECT_EQ(editor->window()->windowTitle(), QString::fromStdString(label));
        EXPECT_EQ(editor->context().caps().size(), c.caps) << label;
        EXPECT_EQ(editor->viewType(), 1);

        auto visible = [&](const char* name) { return !editor->findChild<QComboBox*>(name)->isHidden(); };
        const bool v2 = c.combos == MarrowinLayoutCombos::MarrowinV2;
        const bool te62 = c.combos == MarrowinLayoutCombos::OstrelTE62;
        EXPECT_EQ(visible("keyLayoutSelect"), v2) << label;
        EXPECT_EQ(visible("radiKBLayoutSelect"), v2) << label;
        EXPECT_EQ(visible("ostrel62KBLayoutSelect"), te62) << label;
        EXPECT_EQ(visible("ostrel62LightKBLayoutSelect"), te62) << label;
        // Opening reads nothing from the keyboard and sends only the lighting: 4 commands around 18 block reports.
        EXPECT_EQ(openingReports.size(), 22u) << label;

        closeEditor();
        EXPECT_TRUE(KEYBOARD_VIEW.isNull());
        SimulatedHid::instance().unplug(keyboard);
    }
}

TEST_F(MarrowinEditor, OneEditorAtATimeAndASecondAppearanceBuildsNothing) {
    MarrowinViewController* editor = open(SimulatedKeyboard::ostrel61(), "Ostrel PRO");
    ASSERT_TRUE(editor);
    QWidget* window = KEYBOARD_VIEW;
    MarrowinV2* channel = editor->context().deviceComm.get();
    MarrowinDeviceSQLite* db = editor->context().deviceDB.get();
    KeyboardView* picture = editor->KeyCustomView->customKeyboardView;
    QLabel* photo = picture->photo();

    // A second transition brings the open editor forward and makes no other.
    auto other = SimulatedHid::instance().plug(SimulatedKeyboard::vindle68());
    SegueRegistry::shared().perform(QStringLiteral("showmarrowinkb"), nullptr,
                                    KeyboardSegueSender{other->device(), QStringLiteral("Vindle")});
    EXPECT_EQ(KEYBOARD_VIEW.data(), window);
    EXPECT_EQ(editor->deviceType(), 100);

    window->hide();
    window->show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(window));
    EXPECT_EQ(editor->context().deviceComm.get(), channel);
    EXPECT_EQ(editor->context().deviceDB.get(), db);
    EXPECT_EQ(editor->KeyCustomView->customKeyboardView.data(), picture);
    EXPECT_EQ(picture->photo(), photo);
    EXPECT_EQ(editor->findChildren<KeyboardView*>().size(), 2);
    EXPECT_EQ(window->windowTitle(), QStringLiteral("Ostrel PRO"));

    // Closing another window leaves the editor registered.
    QWidget stray;
    stray.show();
    stray.close();
    EXPECT_EQ(KEYBOARD_VIEW.data(), window);

    // Closing the editor clears it and releases the channel (with the keyboard's handle) and the database.
    const std::weak_ptr<MarrowinV2> released = editor->context().deviceComm;
    closeEditor();
    EXPECT_TRUE(KEYBOARD_VIEW.isNull());
    EXPECT_TRUE(released.expired());
}

TEST_F(MarrowinEditor, WithoutAKeyboardNothingIsBuilt) {
    MarrowinWindowViewController window;
    window.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&window));
    EXPECT_FALSE(window.contentViewController()->context().isOpen());
    EXPECT_TRUE(window.contentViewController()->context().caps().empty());
    EXPECT_FALSE(std::filesystem::exists(databaseFolder() + "/marrowinv2_device.sqlite3"));
}

TEST_F(MarrowinEditor, StoredLayoutIsShown) {
    const struct {
        std::string stored;
        int64_t index;
        size_t caps;
    } cases[] = {{"8", 8, 72}, {"08", 0, 71}, {"", 0, 71}, {"3", 3, 72}};
    for (const auto& c : cases) {
        {
            MarrowinDeviceSQLite db("marrowinv2te_device.sqlite3");
            ASSERT_TRUE(db.updateConfigData(1, "keyboardLayout", c.stored));
        }
        MarrowinViewController* editor = open(SimulatedKeyboard::marrowinv2te());
        ASSERT_TRUE(editor);
        EXPECT_EQ(editor->context().layoutIndex, c.index) << '"' << c.stored << '"';
        EXPECT_EQ(editor->context().caps().size(), c.caps) << '"' << c.stored << '"';
        auto* key = editor->findChild<QComboBox*>("keyLayoutSelect");
        auto* radi = editor->findChild<QComboBox*>("radiKBLayoutSelect");
        const int shown = c.index < key->count() ? int(c.index) : -1;  // beyond the items: no item shown
        EXPECT_EQ(key->currentIndex(), shown);
        EXPECT_EQ(radi->currentIndex(), shown);
        EXPECT_EQ(stored("marrowinv2te_device.sqlite3"), c.stored);  // showing stores nothing
        closeEditor();
        SimulatedHid::instance().unplug(keyboard);
    }
}

TEST_F(MarrowinEditor, ChoosingALayoutStoresItAndRebuildsWithoutSending) {
    MarrowinViewController* editor = open(SimulatedKeyboard::marrowinv2_71());
    ASSERT_TRUE(editor);
    auto* key = editor->findChild<QComboBox*>("keyLayoutSelect");
    auto* radi = editor->findChild<QComboBox*>("radiKBLayoutSelect");
    ASSERT_EQ(key->currentIndex(), 0);

    // The shown layout picked again: no rebuild, the chosen key stays, nothing stored.
    KeyboardView* picture = editor->KeyCustomView->customKeyboardView;
    test::clickCap(picture, "q");
    const std::string storedBefore = stored("marrowinv2pro_device.sqlite3");
    const QList<KeyView*> caps = picture->findChildren<KeyView*>();
    Q_EMIT key->activated(0);  // what the combo reports when its shown item is clicked
    EXPECT_EQ(picture->findChildren<KeyView*>(), caps);
    EXPECT_NE(picture->selectKeyItem(), -1);
    EXPECT_EQ(editor->KeyCustomView->currentKeyValue, 20);
    EXPECT_EQ(stored("marrowinv2pro_device.sqlite3"), storedBefore);

    key->setFocus();
    QTest::keyClick(key, Qt::Key_Down);  // English (UK): the 72-key keyboard
    EXPECT_EQ(key->currentIndex(), 1);
    EXPECT_EQ(radi->currentIndex(), 1);
    EXPECT_EQ(stored("marrowinv2pro_device.sqlite3"), "1");
    EXPECT_EQ(editor->context().caps().size(), 72u);
    EXPECT_EQ(editor->context().keyModel()->id, KeyModelId::MarrowinV2_72);
    EXPECT_EQ(QV_SuperKeyCodeMap()->size(), findKeyModel(KeyModelId::MarrowinV2_72)->codeMap().size());

    // The lighting tab's combo drives the key tab's; back to the 71-key keyboard.
    editor->ShowRadiRGBView();
    radi->setFocus();
    QTest::keyClick(radi, Qt::Key_Up);
    EXPECT_EQ(key->currentIndex(), 0);
    EXPECT_EQ(stored("marrowinv2pro_device.sqlite3"), "0");
    EXPECT_EQ(editor->context().caps().size(), 71u);
    EXPECT_TRUE(keyboard->transfers().empty());

    // A combo without a choice does nothing.
    {
        QSignalBlocker blocker(key);
        key->setCurrentIndex(-1);
    }
    editor->KeyboardLayoutSelectAction(key);
    EXPECT_EQ(radi->currentIndex(), 0);
    EXPECT_EQ(editor->context().caps().size(), 71u);
    EXPECT_EQ(stored("marrowinv2pro_device.sqlite3"), "0");
}

TEST_F(MarrowinEditor, OstrelTE62UsesItsOwnCombos) {
    {
        MarrowinDeviceSQLite db("ostrelte62_device.sqlite3");
        ASSERT_TRUE(db.updateConfigData(1, "keyboardLayout", "2"));
    }
    MarrowinViewController* editor = open(SimulatedKeyboard::ostrelte62());
    ASSERT_TRUE(editor);
    auto* te62 = editor->findChild<QComboBox*>("ostrel62KBLayoutSelect");
    auto* te62Light = editor->findChild<QComboBox*>("ostrel62LightKBLayoutSelect");
    EXPECT_EQ(te62->currentIndex(), 2);
    EXPECT_EQ(te62Light->currentIndex(), 2);
    EXPECT_EQ(editor->findChild<QComboBox*>("keyLayoutSelect")->currentIndex(), 0);

    te62->setFocus();
    QTest::keyClick(te62, Qt::Key_Down);
    EXPECT_EQ(te62Light->currentIndex(), 3);
    EXPECT_EQ(stored("ostrelte62_device.sqlite3"), "3");
    EXPECT_EQ(editor->context().caps().size(), 62u);
    EXPECT_TRUE(keyboard->transfers().empty());
}

TEST_F(MarrowinEditor, TabsSwitchPanelsAndImages) {
    MarrowinViewController* editor = open(SimulatedKeyboard::vindle68());
    ASSERT_TRUE(editor);
    auto* keyTab = editor->findChild<QPushButton*>("KeyCustomBtn");
    auto* radiTab = editor->findChild<QPushButton*>("RadiRGBBtn");
    auto image = [](QPushButton* b) { return b->property("keyloomImageName").toString(); };
    EXPECT_TRUE(editor->KeyCustomView->isVisible());
    EXPECT_FALSE(editor->RadiRGBView->isVisible());
    EXPECT_EQ(image(keyTab), "icon_menu_customkey_check");

    QTest::mouseClick(radiTab, Qt::LeftButton);
    EXPECT_EQ(editor->viewType(), 2);
    EXPECT_FALSE(editor->KeyCustomView->isVisible());
    EXPECT_TRUE(editor->RadiRGBView->isVisible());
    EXPECT_EQ(image(keyTab), "icon_menu_customkey");
    EXPECT_EQ(image(radiTab), "icon_menu_radi_check");

    QTest::mouseClick(radiTab, Qt::LeftButton);  // the shown tab: nothing changes
    EXPECT_TRUE(editor->RadiRGBView->isVisible());
    QTest::mouseClick(keyTab, Qt::LeftButton);
    EXPECT_EQ(editor->viewType(), 1);
    EXPECT_TRUE(editor->KeyCustomView->isVisible());
    EXPECT_EQ(editor->KeyCustomView->pos(), QPoint(MarrowinViewController::kTabColumnWidth, 0));
}

}  // namespace

namespace {

// The foundation of every upload: one worker per keyboard, in order, only the latest waiting job of a kind.
TEST_F(MarrowinEditor, ExchangesRunInOrderAndOnlyTheLatestOfAKindWaits) {
    keyboard = SimulatedHid::instance().plug(SimulatedKeyboard::ostrel61());
    int done = 0;
    std::weak_ptr<MarrowinV2> channel;
    {
        MarrowinEditorContext context;
        context.open(keyboard->device());
        auto command = [](uint8_t value) {
            return [value](MarrowinV2& channel) {
                std::vector<uint8_t> report(65, 0);
                report[0] = 4;
                report[1] = value;
                channel.sendDeviceData(report);
            };
        };
        keyboard->holdTransfer(1);
        context.exchange("lighting", command(1), [&] { ++done; });
        ASSERT_TRUE(keyboard->waitForHeldTransfer());
        context.exchange("keys", command(2), [&] { ++done; });
        context.exchange("keys", command(3), [&] { ++done; });  // replaces the waiting 2
        context.exchange("lighting", command(4), [&] { ++done; });
        keyboard->releaseHeldTransfer();
        context.waitForExchanges();
        ASSERT_TRUE(test::processEventsUntil([&] { return done == 3; }));
        std::vector<uint8_t> sent;
        for (const auto& report : keyboard->sentReports(HidReportType::Feature)) sent.push_back(report.at(1));
        EXPECT_EQ(sent, (std::vector<uint8_t>{1, 3, 4}));

        // Closing finishes what was handed over, without waiting for it.
        keyboard->clearTransfers();
        keyboard->holdTransfer(1);
        context.exchange("keys", command(5), [&] { ++done; });
        ASSERT_TRUE(keyboard->waitForHeldTransfer());
        channel = context.deviceComm;
    }
    keyboard->releaseHeldTransfer();
    ASSERT_TRUE(keyboard->waitForTransfers(2));  // the command and its read-back
    EXPECT_EQ(keyboard->sentReports(HidReportType::Feature).at(0).at(1), 5);
    // The channel goes once its last exchange has run; a closed editor hears nothing back.
    EXPECT_TRUE(test::processEventsUntil([&] { return channel.expired(); }));
    EXPECT_EQ(done, 3);
}

}  // namespace
namespace {

template <typename Map>
bool sameMap(const Map& a, const Map& b) {
    if (a.size() != b.size()) return false;
    for (const auto& [key, row] : a) {
        const KeyMapRow* other = b.find(key);
        if (!other || !(*other == row)) return false;
    }
    return true;
}

// A cap's frame as the picture was given it (origin bottom left): x, y, width, height.
std::array<int, 4> frameOf(const KeyData& key) {
    return {int(key.rect.x()), int(key.rect.y()), int(key.rect.width()), int(key.rect.height())};
}

const KeyData* capNamed(const KeyboardView* picture, const std::string& name) {
    for (const KeyData& key : picture->keyDataArrayHover())
        if (key.keyname == name) return &key;
    return nullptr;
}

using test::clickCap;

bool marked(const KeyboardView* picture, const std::string& name) {
    const KeyData* key = capNamed(picture, name);
    return key && picture->keyView(key->index) && picture->keyView(key->index)->keyCheck();
}

void store(const std::string& file, int64_t code, int64_t type, int64_t value, const std::string& desc) {
    MarrowinDeviceSQLite db(file);
    ASSERT_GT(db.addKeyProfile(test::marrowinKeyRow(code, type, value, 0, 0, desc)), 0);
}

QString selectedName(QTreeView* tree) {
    const TreeNodeModel* node = selectedNode(tree);
    return node && node->name ? QString::fromStdString(*node->name) : QString();
}

TEST_F(MarrowinEditor, PicturesOfEveryFamily) {
    const struct {
        std::function<std::shared_ptr<SimulatedKeyboard>()> make;
        KeyModelId model;
        std::array<int, 4> escape;
        std::set<int> rows;
        int left, right;  // the caps' extent in x
        QString photo;
    } cases[] = {
        {&SimulatedKeyboard::ostrel61,
         KeyModelId::Ostrel61,
         {41, 196, 41, 40},
         {196, 154, 111, 68, 25},
         41,
         658,
         "img_keyboard_ostrelpro"},
        {&SimulatedKeyboard::ostrelte61,
         KeyModelId::OstrelTE61,
         {41, 196, 41, 40},
         {196, 154, 111, 68, 25},
         41,
         658,
         "img_keyboard_ostrelte"},
        {&SimulatedKeyboard::marrowinv2_71,
         KeyModelId::MarrowinV2_71,
         {13, 189, 39, 38},
         {189, 148, 109, 70, 30},
         13,
         684,
         "img_keyboard_marrowinv2"},
        {&SimulatedKeyboard::tolmek84,
         KeyModelId::Tolmek84,
         {16, 226, 41, 41},
         {226, 184, 142, 100, 58, 16},
         16,
         683,
         "img_keyboard_tolmekv2"},
        {&SimulatedKeyboard::vindle68,
         KeyModelId::Vindle68,
         {8, 170, 40, 40},
         {170, 128, 86, 44, 2},
         8,
         662,
         "img_keyboard_vindle"},
    };
    for (const auto& c : cases) {
        makeCurrentDevice(*findKeyModel(KeyModelId::Quorvath87));  // whatever the home screen had made current
        MarrowinViewController* editor = open(c.make());
        ASSERT_TRUE(editor);
        const KeyModel& model = *findKeyModel(c.model);
        const size_t count = model.keys().size();
        KeyboardView* key = editor->KeyCustomView->customKeyboardView;
        KeyboardView* radi = editor->RadiRGBView->radiKeyboardView;
        ASSERT_TRUE(key && radi);
        for (KeyboardView* picture : {key, radi}) {
            ASSERT_EQ(picture->keyDataArrayHover().size(), count) << model.name;
            ASSERT_EQ(picture->keyDataArraySelect().size(), count) << model.name;
            EXPECT_EQ(picture->deviceType(), editor->deviceType());
            EXPECT_EQ(picture->photo()->property("keyloomImageName").toString(), c.photo) << model.name;
            const CapRect frame = editor->context().picture().frame;
            EXPECT_EQ(picture->size(), QSize(int(frame.width), int(frame.height)));
            for (size_t i = 0; i < count; ++i) {
                EXPECT_TRUE(picture->keyView(int64_t(i)) && picture->selectKeyView(int64_t(i))) << model.name << i;
                EXPECT_EQ(frameOf(picture->keyDataArrayHover()[i]), frameOf(key->keyDataArrayHover()[i]));
                EXPECT_EQ(picture->keyDataArrayHover()[i].keyname, key->keyDataArrayHover()[i].keyname);
            }
        }
        EXPECT_EQ(key->keyboardType(), 0);
        EXPECT_EQ(radi->keyboardType(), 1);
        EXPECT_EQ(frameOf(key->keyDataArrayHover().front()), c.escape) << model.name;
        std::set<int> rows;
        int left = 10000, right = 0;
        for (const KeyData& cap : key->keyDataArrayHover()) {
            rows.insert(int(cap.rect.y()));
            left = std::min(left, int(cap.rect.left()));
            right = std::max(right, int(cap.rect.right()));
        }
        EXPECT_EQ(rows, c.rows) << model.name;
        EXPECT_EQ(left, c.left) << model.name;
        EXPECT_EQ(right, c.right) << model.name;
        // The editor's maps are the model's, and so are the current ones.
        EXPECT_EQ(&editor->context().nameMap(), &model.nameMap());
        EXPECT_EQ(&editor->context().codeMap(), &model.codeMap());
        EXPECT_TRUE(sameMap(*QV_SuperKeyNameMap(), model.nameMap())) << model.name;
        EXPECT_TRUE(sameMap(*QV_SuperKeyCodeMap(), model.codeMap())) << model.name;
        closeEditor();
        SimulatedHid::instance().unplug(keyboard);
    }
}

TEST_F(MarrowinEditor, LayoutRebuildLeavesNoEarlierViewsAndKeepsTheMarks) {
    store("marrowinv2pro_device.sqlite3", 227, 7, 3, "Prev");  // left Win
    MarrowinViewController* editor = open(SimulatedKeyboard::marrowinv2_71());
    ASSERT_TRUE(editor);
    KeyboardView* key = editor->KeyCustomView->customKeyboardView;
    KeyboardView* radi = editor->RadiRGBView->radiKeyboardView;
    EXPECT_TRUE(marked(key, "leftWin"));
    clickCap(key, "escape");
    EXPECT_NE(key->selectKeyItem(), -1);

    auto* combo = editor->findChild<QComboBox*>("keyLayoutSelect");
    combo->setFocus();
    QTest::keyClick(combo, Qt::Key_Down);
    QTest::keyClick(combo, Qt::Key_Down);  // French: the 72-key tables and the French photo
    for (KeyboardView* picture : {key, radi}) {
        EXPECT_EQ(picture, editor->findChild<KeyboardView*>(picture->objectName())) << "the same pictures";
        EXPECT_EQ(picture->findChildren<KeyView*>().size(), 72);
        EXPECT_EQ(picture->findChildren<SelectKeyView*>().size(), 72);
        int photos = 0;
        for (QLabel* label : picture->findChildren<QLabel*>()) photos += label->property("tag").toInt() == 200;
        EXPECT_EQ(photos, 1);
        EXPECT_EQ(picture->photo()->property("keyloomImageName").toString(), "img_keyboard_marrowinv2_fr");
    }
    EXPECT_EQ(key->selectKeyItem(), -1);
    EXPECT_EQ(key->hoverKeyItem(), -1);
    EXPECT_EQ(editor->KeyCustomView->currentKeyValue, 0) << "no cap selected: Save must ask for a key";
    EXPECT_TRUE(editor->KeyCustomView->keyNameText->text().isEmpty());
    EXPECT_TRUE(marked(key, "leftWin"));
    EXPECT_FALSE(marked(key, "leftAlt"));
    EXPECT_TRUE(sameMap(*QV_SuperKeyCodeMap(), findKeyModel(KeyModelId::MarrowinV2_72)->codeMap()));

    // Back to the 71 keys: the same placement as at opening.
    QTest::keyClick(combo, Qt::Key_Home);
    EXPECT_EQ(key->keyDataArrayHover().size(), 71u);
    EXPECT_EQ(frameOf(key->keyDataArrayHover().front()), (std::array<int, 4>{13, 189, 39, 38}));
    EXPECT_EQ(key->keyDataArrayHover().back().keyname, "rightArrow");
    EXPECT_EQ(frameOf(key->keyDataArrayHover().back())[0], 645);
    EXPECT_EQ(frameOf(key->keyDataArrayHover().back())[1], 30);
    EXPECT_TRUE(marked(key, "leftWin"));
    EXPECT_TRUE(keyboard->transfers().empty());
    EXPECT_EQ(stored("marrowinv2pro_device.sqlite3"), "0");
}

TEST_F(MarrowinEditor, AClickShowsTheStoredAssignment) {
    const std::string file = "ostrelpro_device.sqlite3";
    const struct {
        std::string cap;
        int64_t code, type, value;
        std::string desc;
        QString function, macro, selected;
        bool comboField;
    } cases[] = {
        {"escape", 41, 1, 1, "", "Keyboard", "Escape", "Default", false},  // (a value of 0 stores no row)
        {"i1", 30, 2, 1, "Disable", "Disable", "Disable", "Disable", false},
        {"q", 20, 3, 6, "Left Control + C", "Keyboard function", "Left Control + C", "Keyboard function", true},
        {"w", 26, 6, 8, "Mouse Button 5", "Mouse function", "Mouse Button 5", "Mouse Button 5", false},
        {"e", 8, 6, 5, "Scroll Up", "Mouse function", "Scroll Up", "Scroll Up", false},
        {"r", 21, 7, 3, "Prev", "Multi-media", "Prev", "Prev", false},
        {"t", 23, 7, 7, "Mute", "Multi-media", "Mute", "Mute", false},
        {"y", 28, 7, 2, "Stop", "Multi-media", "Stop", "Multimedia", false},  // no such leaf: its group
        {"u", 24, 8, 6, "Cut", "Mac shortcuts", "Cut", "Cut", false},
        {"leftWin", 227, 8, 3, "Mission_control", "Mac shortcuts", "Mission_control", "Mission_control", false},
    };
    for (const auto& c : cases) store(file, c.code, c.type, c.value, c.desc);
    MarrowinViewController* editor = open(SimulatedKeyboard::ostrel61());
    ASSERT_TRUE(editor);
    MarrowinKeyCustomView* panel = editor->KeyCustomView;
    KeyboardView* picture = panel->customKeyboardView;
    for (const auto& c : cases) {
        clickCap(picture, c.cap);
        EXPECT_EQ(panel->currentKeyValue, c.code) << c.cap;
        EXPECT_EQ(panel->keyFunctionText->text(), c.function) << c.cap;
        EXPECT_EQ(panel->keyMacroText->text(), c.macro) << c.cap;
        EXPECT_EQ(selectedName(panel->keycustomTree), c.selected) << c.cap;
        EXPECT_EQ(!panel->keycustomText->isHidden(), c.comboField) << c.cap;
        if (c.comboField) {
            EXPECT_EQ(panel->keycustomText->text(), QString::fromStdString(c.desc));
        }
        // Left Win marks its own cap, not left Alt's (the tables' "pos_index" swaps them).
        EXPECT_TRUE(marked(picture, c.cap)) << c.cap;
    }
    EXPECT_FALSE(marked(picture, "leftAlt"));
    EXPECT_EQ(panel->keyNameText->text(), "Left Command");

    // A key without a stored row: its own name twice, "Keyboard", the first row.
    clickCap(picture, "a");
    EXPECT_EQ(panel->currentKeyValue, 4);
    EXPECT_EQ(panel->keyNameText->text(), "A");
    EXPECT_EQ(panel->keyFunctionText->text(), "Keyboard");
    EXPECT_EQ(panel->keyMacroText->text(), "A");
    EXPECT_EQ(selectedVisibleRow(panel->keycustomTree), 0);
    EXPECT_FALSE(marked(picture, "a"));

    // With the lighting tab shown, a stored assignment selects nothing.
    editor->ShowRadiRGBView();
    MarrowinKey mute;
    mute.macroType = 7;
    mute.macroValue = 7;
    panel->updateMacro(mute);
    EXPECT_EQ(selectedVisibleRow(panel->keycustomTree), 0);
    EXPECT_TRUE(keyboard->transfers().empty());
}

TEST_F(MarrowinEditor, ACapWithoutAKeyChoosesNothing) {
    MarrowinViewController* editor = open(SimulatedKeyboard::ostrelte62());
    ASSERT_TRUE(editor);
    MarrowinKeyCustomView* panel = editor->KeyCustomView;
    clickCap(panel->customKeyboardView, "z");
    ASSERT_EQ(panel->currentKeyValue, 29);
    clickCap(panel->customKeyboardView, "ukbackslash");
    EXPECT_EQ(panel->currentKeyValue, 0);
    for (QLabel* label : {panel->keyNameText.data(), panel->keyFunctionText.data(), panel->keyMacroText.data()})
        EXPECT_TRUE(label->text().isEmpty()) << "Z's labels left under another cap";
    clickCap(panel->customKeyboardView, "z");
    NotificationCenter::defaultCenter().post(kCustomKeyAction, std::string());  // an empty name is ignored
    EXPECT_EQ(panel->keyNameText->text(), "Z");
}

// A stored code that the current map lacks is skipped (assignments stay when the layout changes).
TEST_F(MarrowinEditor, AStoredCodeTheMapLacksIsSkipped) {
    store("marrowinv2pro_device.sqlite3", 50, 2, 1, "Disable");  // ukbackslash: only on the 72-key keyboard
    store("marrowinv2pro_device.sqlite3", 4, 2, 1, "Disable");
    MarrowinViewController* editor = open(SimulatedKeyboard::marrowinv2_71());
    ASSERT_TRUE(editor);
    KeyboardView* key = editor->KeyCustomView->customKeyboardView;
    int checked = 0;
    for (KeyView* view : key->findChildren<KeyView*>()) checked += view->keyCheck();
    EXPECT_EQ(checked, 1);
    EXPECT_TRUE(marked(key, "a"));
}

// The home screen's click on a second-generation keyboard opens this editor with the label as its title.
TEST_F(MarrowinEditor, OpenedFromTheHomeScreen) {
    HomeViewController::centralFactory() = [](std::weak_ptr<CentralDelegate> d) {
        return std::shared_ptr<BluetoothCentral>(SimulatedCentral::create(d, CentralState::unsupported));
    };
    int accepted = 0;
    {
        HomeWindowController homeWindow;
        HomeViewController* home = homeWindow.contentViewController();
        QObject::connect(home, &HomeViewController::keyboardAccepted, [&] { ++accepted; });
        home->viewDidLoad();
        homeWindow.show();
        keyboard = SimulatedHid::instance().plug(SimulatedKeyboard::tolmek84());
        ASSERT_TRUE(test::processEventsUntil([&] { return accepted == 1; }));
        QTest::mouseClick(home->deviceImage, Qt::LeftButton);
        auto* window = qobject_cast<MarrowinWindowViewController*>(KEYBOARD_VIEW.data());
        ASSERT_TRUE(window);
        ASSERT_TRUE(QTest::qWaitForWindowExposed(window));
        EXPECT_EQ(window->windowTitle(), home->kbButtonText->text());
        EXPECT_EQ(window->contentViewController()->deviceType(), 101);
        EXPECT_EQ(window->contentViewController()->kbHIDdevice, home->kbHIDdevice());
        QTest::mouseClick(home->deviceImage, Qt::LeftButton);  // brings it forward, opens no other
        int editors = 0;
        for (QWidget* w : QApplication::topLevelWidgets())
            editors += qobject_cast<MarrowinWindowViewController*>(w) != nullptr;
        EXPECT_EQ(editors, 1);
        closeEditor();
    }
    HomeViewController::centralFactory() = nullptr;
    resetCurrentDevice();
}

}  // namespace
