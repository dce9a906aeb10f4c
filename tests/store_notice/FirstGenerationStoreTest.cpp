#include <QCheckBox>
#include <QColorDialog>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QRadioButton>
#include <QSlider>
#include <QToolButton>
#include <QTreeView>
#include <filesystem>
#include <functional>

#include "CustomControl/KeyView.h"
#include "CustomControl/KeyboardView.h"
#include "StoreNoticeSupport.h"
#include "Views/Keyboard/DataSource/TreeNodeItemModel.h"
#include "Views/Keyboard/Quorvath/KeyPanel.h"
#include "Views/Keyboard/Quorvath/KnobPanel.h"
#include "Views/Keyboard/Quorvath/LightingPanel.h"
#include "Views/Keyboard/Shared/LevelIndicator.h"
#include "Views/Keyboard/Shared/SharedColorPanel.h"
#include "Views/Keyboard/Shared/Stepper.h"
#include "keyboard/EditorFixture.h"

using namespace keyloom;
using namespace keyloom::test;

namespace {

const Bytes kLightingRead = {5, 0xFA, 0, 0, 0, 0, 0, 0};

Bytes record(uint8_t mode, uint8_t b3, uint8_t b4 = 0, uint8_t b5 = 0, uint8_t b6 = 0) {
    return {5, 0xFE, mode, b3, b4, b5, b6, 0};
}

// The first-generation editor on a Quorvath 87, worked as a user works it.
class FirstGeneration : public EditorFixture {
  public:
    void openOn(const char* tabButton) {
        open(SimulatedKeyboard::quorvath87());
        QTest::mouseClick(find<QPushButton>(tabButton), Qt::LeftButton);
        settle();
    }
    void click(const char* name) {
        QTest::mouseClick(find<QAbstractButton>(name), Qt::LeftButton);
        settle();
    }
    void clickRow(int row) {
        auto* list = find<QListWidget>("lightmode");
        QTest::mouseClick(list->viewport(), Qt::LeftButton, {}, list->visualItemRect(list->item(row)).center());
        settle();
    }
    void dragBrightness(int value) {
        auto* s = find<QSlider>("lightbrightnessSlider");
        s->setSliderDown(true);
        s->setSliderPosition(value);
        s->setSliderDown(false);
        settle();
    }
    void clickSpeed(int level) {
        auto* l = find<LevelIndicator>("lightspeedLevel");
        QTest::mouseClick(l, Qt::LeftButton, {},
                          QPoint(int((level - 0.5) * l->width() / l->maximum()), l->height() / 2));
        settle();
    }
    void pickColour(const QColor& c) {
        QTest::mouseClick(find<QPushButton>("lightRandomColorWell"), Qt::LeftButton);
        ASSERT_NE(sharedColorPanel(), nullptr);
        sharedColorPanel()->setCurrentColor(c);
        settle();
    }
    // A click on a cap of the lighting picture (0) or of the key picture (1).
    void clickCap(KeyboardView* picture, const std::string& name) {
        for (const KeyData& key : picture->keyDataArrayHover())
            if (key.keyname == name) QTest::mouseClick(picture, Qt::LeftButton, {}, key.view->geometry().center());
        settle();
    }
    QColor capColour(const std::string& name) {
        KeyboardView* picture = controller->RadiRGBView->radiKeyboardView;
        for (const KeyData& key : picture->keyDataArrayHover())
            if (key.keyname == name) return picture->keyView(key.index)->backgroundColor();
        return {};
    }
    void clickNode(AssignmentPanel* panel, const std::string& top) {
        auto* model = qobject_cast<TreeNodeItemModel*>(panel->tree->model());
        for (int r = 0; r < model->rowCount(); ++r) {
            const QModelIndex index = model->index(r, 0);
            if (model->node(index)->name == top)
                QTest::mouseClick(panel->tree->viewport(), Qt::LeftButton, {}, panel->tree->visualRect(index).center());
        }
    }
    static std::string selectedName(const AssignmentPanel* panel) {
        const TreeNodeModel* node = selectedNode(panel->tree);
        return node && node->name ? *node->name : "";
    }
    std::vector<std::string> labels(const AssignmentPanel* panel) {
        return {panel->nameText->text().toStdString(), panel->functionText->text().toStdString(),
                panel->macroText->text().toStdString()};
    }
    bool marked(const std::string& key) {
        const KeyMapRow* row = ctx().nameMap().find(key);
        return controller->KeyCustomView->customKeyboardView->keyView(row->layout_index)->keyCheck();
    }
    // The settings tab's row controls.
    QLineEdit* field(const char* row) { return find<QLineEdit>((std::string(row) + "Time").c_str()); }
    void retype(const char* row, const QString& text) {
        QTest::keyClick(field(row), Qt::Key_A, Qt::ControlModifier);
        QTest::keyClicks(field(row), text);
        settle();
    }
    std::vector<Bytes> outputReports() const { return keyboard->sentReports(HidReportType::Output); }
};

// Every user action of the first-generation editor while another program holds the profile's write lock: nothing of
// it is kept, the keyboard receives what it receives without the lock (the settings, the mode shown and the key
// records are sent either way; the lighting only when stored), the control shows what the keyboard has or else what
// the store has, and the notice says the change was not stored, and why. Then the lock goes: the next action is
// stored and sent, and the notice is gone.
TEST_F(FirstGeneration, ActionsWhileAnotherProgramHoldsTheProfile) {
    using Act = std::function<void(FirstGeneration&)>;
    struct Case {
        const char* name;
        const char* tab;
        Act setup;  // before the lock, not counted
        Act act;    // while the lock is held
        std::vector<Bytes> features;
        size_t outputs;  // output reports: a key record is 42 of them
        bool sentAnyway;
        Act shows;  // what the controls show afterwards
        Act next;   // after the lock has gone; nullptr: act again
    };
    const Act noSetup = [](FirstGeneration&) {};
    const Act escapeRed = [](FirstGeneration& t) {
        t.clickRow(9);
        t.clickCap(t.controller->RadiRGBView->radiKeyboardView, "escape");
        t.pickColour(Qt::red);
    };
    const Act keyADisable = [](FirstGeneration& t) {
        t.clickCap(t.controller->KeyCustomView->customKeyboardView, "a");
        t.clickNode(t.controller->KeyCustomView, "Disable");
    };
    // clang-format off
    const Case cases[] = {
        {"report rate 4", "SettingsBtn", noSetup, [](FirstGeneration& t) { t.click("reportRate4"); },
         {rateReport(4)}, 0, true,
         [](FirstGeneration& t) { EXPECT_TRUE(t.find<QRadioButton>("reportRate4")->isChecked()); }, nullptr},
        {"USB sleep stepped up", "SettingsBtn", noSetup, [](FirstGeneration& t) { t.click("usbSleepStepperUp"); },
         {usbSleepReport(301)}, 0, true,
         [](FirstGeneration& t) {
             EXPECT_EQ(t.field("usbSleep")->text(), "301");
             EXPECT_EQ(t.find<Stepper>("usbSleepStepper")->value(), 301);
         }, nullptr},
        {"wireless light-off typed", "SettingsBtn", noSetup,
         [](FirstGeneration& t) { t.retype("wirelessLight", "95"); },
         {wirelessReport(9, 180), wirelessReport(95, 180)}, 0, true,
         [](FirstGeneration& t) { EXPECT_EQ(t.field("wirelessLight")->text(), "95"); }, nullptr},
        {"wireless sleep switched off", "SettingsBtn", noSetup, [](FirstGeneration& t) { t.click("wirelessSleepCheck"); },
         {wirelessReport(120, 0)}, 0, true,
         [](FirstGeneration& t) {
             EXPECT_FALSE(t.find<QCheckBox>("wirelessSleepCheck")->isChecked());
             EXPECT_EQ(t.field("wirelessSleep")->text(), "0");
         }, nullptr},
        {"mode Breathing chosen", "RadiRGBBtn", noSetup, [](FirstGeneration& t) { t.clickRow(4); },
         {kLightingRead, record(5, 0x2F, 0xFF, 0xE1)}, 0, true,
         [](FirstGeneration& t) {
             EXPECT_EQ(t.find<QListWidget>("lightmode")->currentRow(), 4);
             EXPECT_EQ(t.controller->RadiRGBView->currentLightMode(), 5);
         },
         [](FirstGeneration& t) { t.clickRow(5); }},
        {"brightness", "RadiRGBBtn", [](FirstGeneration& t) { t.clickRow(4); },
         [](FirstGeneration& t) { t.dragBrightness(3); }, {}, 0, false,
         [](FirstGeneration& t) { EXPECT_EQ(t.find<QSlider>("lightbrightnessSlider")->value(), 15); }, nullptr},
        {"speed", "RadiRGBBtn", [](FirstGeneration& t) { t.clickRow(4); }, [](FirstGeneration& t) { t.clickSpeed(5); },
         {}, 0, false, [](FirstGeneration& t) { EXPECT_EQ(t.find<LevelIndicator>("lightspeedLevel")->value(), 3); },
         nullptr},
        {"colour mode", "RadiRGBBtn", [](FirstGeneration& t) { t.clickRow(4); },
         [](FirstGeneration& t) { t.click("lightRandomCheck"); }, {}, 0, false,
         [](FirstGeneration& t) { EXPECT_FALSE(t.find<QCheckBox>("lightRandomCheck")->isChecked()); }, nullptr},
        {"direction", "RadiRGBBtn", [](FirstGeneration& t) { t.clickRow(2); },
         [](FirstGeneration& t) { t.click("lightDirection612"); }, {}, 0, false,
         [](FirstGeneration& t) { EXPECT_EQ(t.controller->RadiRGBView->currentLightMode(), 3); }, nullptr},
        {"colour", "RadiRGBBtn", [](FirstGeneration& t) { t.clickRow(4); },
         [](FirstGeneration& t) { t.pickColour(QColor(10, 20, 30)); }, {}, 0, false,
         [](FirstGeneration& t) {
             EXPECT_EQ(t.controller->RadiRGBView->wellColor(), QColor(0xFF, 0xE1, 0x00));
             EXPECT_EQ(t.capColour("q"), QColor(0xFF, 0xE1, 0x00));
         },
         [](FirstGeneration& t) { t.pickColour(QColor(40, 50, 60)); }},
        {"per-key colour", "RadiRGBBtn",
         [](FirstGeneration& t) {
             t.clickRow(9);
             t.clickCap(t.controller->RadiRGBView->radiKeyboardView, "escape");
         },
         [](FirstGeneration& t) { t.pickColour(Qt::blue); }, {}, 0, false,
         [](FirstGeneration& t) {
             EXPECT_EQ(t.capColour("escape"), QColor(Qt::black));
             EXPECT_EQ(t.controller->RadiRGBView->wellColor(), QColor(Qt::yellow));
         },
         [](FirstGeneration& t) { t.pickColour(Qt::green); }},
        {"Reset", "RadiRGBBtn", escapeRed, [](FirstGeneration& t) { t.click("resetAllKeys"); }, {}, 0, false,
         [](FirstGeneration& t) { EXPECT_EQ(t.capColour("escape"), QColor(Qt::red)); }, nullptr},
        {"key Save", "KeyCustomBtn", keyADisable, [](FirstGeneration& t) { t.click("customKeySave"); }, {}, 42, true,
         [](FirstGeneration& t) {
             // What the keyboard has, though not stored.
             EXPECT_EQ(t.labels(t.controller->KeyCustomView), (std::vector<std::string>{"A", "Disable", "Disable"}));
             EXPECT_TRUE(t.marked("a"));
             EXPECT_EQ(selectedName(t.controller->KeyCustomView), "Disable");
         }, nullptr},
        {"key Cancel", "KeyCustomBtn",
         [keyADisable](FirstGeneration& t) {
             keyADisable(t);
             t.click("customKeySave");
         },
         [](FirstGeneration& t) { t.click("customKeyCancel"); }, {}, 42, true,
         [](FirstGeneration& t) {
             EXPECT_EQ(t.labels(t.controller->KeyCustomView), (std::vector<std::string>{"A", "Keyboard", "A"}));
             EXPECT_FALSE(t.marked("a"));
         }, nullptr},
        {"knob Save", "CairnolKnobBtn",
         [](FirstGeneration& t) {
             t.click("knobSingleButton");
             t.clickNode(t.controller->CairnelKnobView, "Disable");
         },
         [](FirstGeneration& t) { t.click("knobSave"); }, {}, 42, true,
         [](FirstGeneration& t) {
             EXPECT_EQ(KnobPanel::imageOf(t.find<QToolButton>("knobSingleButton")), "img_knobbutton_check");
             EXPECT_EQ(t.labels(t.controller->CairnelKnobView),
                       (std::vector<std::string>{"Single Click", "Disable", "Disable"}));
         }, nullptr},
    };
    // clang-format on
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        openOn(c.tab);
        c.setup(*this);
        settle();
        keyboard->clearTransfers();
        const std::vector<std::string> rows = databaseRows(dbPath());
        const uint64_t before = commits();
        {
            WriteLockHolder other(dbPath());
            c.act(*this);
            settle();
            EXPECT_EQ(databaseRows(dbPath()), rows) << "nothing half-kept";
            EXPECT_EQ(commits(), before);
            EXPECT_EQ(featureReports(), c.features);
            EXPECT_EQ(outputReports().size(), c.outputs);
            c.shows(*this);
            expectBusyNotice(controller, c.sentAnyway);
        }
        keyboard->clearTransfers();
        (c.next ? c.next : c.act)(*this);
        settle();
        EXPECT_GT(commits(), before) << "stored";
        EXPECT_FALSE(keyboard->transfers().empty()) << "sent";
        EXPECT_FALSE(noticeShown(controller));
        closeSharedColorPanel();
        const std::string file = dbPath();
        closeEditor();
        keyboard->unplug();
        std::filesystem::remove(file);
    }
}

}  // namespace
