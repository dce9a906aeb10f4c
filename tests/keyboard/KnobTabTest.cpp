#include "AssignmentFixture.h"

using namespace keyloom;
using namespace keyloom::test;

namespace {

class KnobTab : public AssignmentFixture {
  public:
    void openKnob(std::shared_ptr<SimulatedKeyboard> kb = SimulatedKeyboard::quorvath87()) {
        reopenFresh(std::move(kb));
        QTest::mouseClick(find<QPushButton>("CairnolKnobBtn"), Qt::LeftButton);
    }
    std::vector<std::string> images() const {
        std::vector<std::string> out;
        for (const QToolButton* b : knob()->knobButtons) out.push_back(KnobPanel::imageOf(b).toStdString());
        return out;
    }
};

const char* const kButtons[] = {"knobSingleButton", "knobDoubleButton", "knobForwardButton", "knobBackwardButton"};
const std::string N = "img_knobbutton_normal", D = "img_knobbutton_down", C = "img_knobbutton_check";

// Each button chooses its action: its code, the images, the labels, "Default" selected in the collapsed tree.
TEST_F(KnobTab, EachButtonChoosesItsAction) {
    struct Case {
        const char* button;
        const char* stored;  // a button whose action has a stored row (checked when the profile loads), or none
        int item;
        int64_t code;
        const char* name;
        std::vector<std::string> images;
    };
    const Case cases[] = {
        {"knobDoubleButton", nullptr, 2, 251, "Double Click", {N, D, N, N}},
        {"knobSingleButton", nullptr, 1, 250, "Single Click", {D, N, N, N}},
        {"knobBackwardButton", nullptr, 4, 253, "Backward", {N, N, N, D}},
        {"knobForwardButton", "knobSingleButton", 3, 252, "Forward", {C, N, D, N}},
        {"knobForwardButton", "knobForwardButton", 3, 252, "Forward", {N, N, C, N}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(std::string(c.button) + (c.stored ? std::string(" with ") + c.stored : ""));
        openKnob();
        if (c.stored) {
            const int index =
                int(std::find(std::begin(kButtons), std::end(kButtons), std::string(c.stored)) - std::begin(kButtons));
            storeRow("t_knobprofile", {250 + index, 1, 0, "", 0});  // a "Default" row: still checked
            reopen();
            QTest::mouseClick(find<QPushButton>("CairnolKnobBtn"), Qt::LeftButton);
        }
        clickNode(knob(), "Multimedia", "Stop");  // to be replaced
        clickKnob(c.button);
        EXPECT_EQ(knob()->selectKnobItem, c.item);
        EXPECT_EQ(knob()->currentKnobValue, c.code);
        EXPECT_EQ(labels(knob()), (std::vector<std::string>{c.name, "Keyboard", c.name}));
        EXPECT_EQ(numberOfVisibleRows(knob()->tree), 7);
        EXPECT_EQ(images(), c.images);
        EXPECT_EQ(selectedName(knob()), "Default");
        EXPECT_TRUE(outputReports().empty());
    }
}

// What a stored row shows on the labels and in the tree.
TEST_F(KnobTab, StoredRowsAreShown) {
    struct Case {
        StoredRow row;
        std::vector<std::string> labels;
        const char* selected;
    };
    const Case cases[] = {
        {{253, 2, 1, "Disable", 0}, {"Backward", "Disable", "Disable"}, "Disable"},
        {{253, 1, 0, "", 0}, {"Backward", "Keyboard", "Backward"}, "Default"},
        {{253, 4, 1, "", 0}, {"Backward", "Macro", ""}, ""},
        {{253, 9, 1, "odd", 0}, {"Backward", "Keyboard", "Backward"}, ""},  // a type outside the table
        {{253, 6, 169, "Mouse Button 4", 7}, {"Backward", "Mouse function", "Mouse Button 4"}, "Mouse Button 4"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.row.macroType);
        openKnob();
        storeRow("t_knobprofile", c.row);
        clickKnob("knobBackwardButton");
        EXPECT_EQ(labels(knob()), c.labels);
        EXPECT_EQ(selectedName(knob()), c.selected);
    }
}

// Save on the single-click action of every model: the row, the image, and the record at the knob's own slot.
TEST_F(KnobTab, SaveOnEveryModel) {
    const struct {
        std::shared_ptr<SimulatedKeyboard> kb;
        int slot;
    } cases[] = {
        {SimulatedKeyboard::quorvath87(), 87}, {SimulatedKeyboard::quorvath87te(), 87},
        {SimulatedKeyboard::quorvath88(), 88}, {SimulatedKeyboard::quorvath88te(), 88},
        {SimulatedKeyboard::quorvath91(), 91}, {SimulatedKeyboard::quorvath91te(), 91},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.kb->model());
        openKnob(c.kb);
        clickKnob("knobSingleButton");
        clickNode(knob(), "Mouse function", "Right Click");
        click("knobSave");
        EXPECT_EQ(knobRows(), (std::vector<StoredRow>{{250, 6, 166, "Right Click", 3}}));
        EXPECT_EQ(labels(knob()), (std::vector<std::string>{"Single Click", "Mouse function", "Right Click"}));
        EXPECT_EQ(images(), (std::vector<std::string>{C, N, N, N}));
        auto reports = outputReports();
        ASSERT_EQ(reports.size(), 42u);
        EXPECT_EQ(reports[0], recordHead(c.slot, {0x01, 0xA6, 0x01, 0xA6, 0x80})[0]);

        clearSent();
        clickNode(knob(), "Default");
        click("knobSave");
        EXPECT_TRUE(knobRows().empty());
        EXPECT_EQ(labels(knob()), (std::vector<std::string>{"Single Click", "Keyboard", "Single Click"}));
        EXPECT_EQ(images(), (std::vector<std::string>{D, N, N, N}));
        reports = outputReports();
        ASSERT_EQ(reports.size(), 42u);
        EXPECT_EQ(reports[0], recordHead(c.slot, {})[0]);
        EXPECT_TRUE(keyRows().empty()) << "knob rows are not key rows";
    }
}

// Cancel is Default; before any button, Save and Cancel only alert; a tag outside the four does nothing.
TEST_F(KnobTab, CancelAndNothingChosen) {
    openKnob();
    for (const char* button : {"knobSave", "knobCancel"}) {
        SCOPED_TRACE(button);
        click(button);
        EXPECT_EQ(takeAlert(), "Please click one of the four buttons to program the Cairnel-Knob");
    }
    for (int tag : {519, 524, 0}) knob()->knobButtonMessage(tag);
    EXPECT_EQ(knob()->currentKnobValue, 0);
    EXPECT_EQ(images(), (std::vector<std::string>{N, N, N, N}));
    EXPECT_TRUE(outputReports().empty());

    clickKnob("knobDoubleButton");
    clickNode(knob(), "Disable");
    click("knobSave");
    ASSERT_EQ(knobRows().size(), 1u);
    clearSent();
    click("knobCancel");
    EXPECT_TRUE(knobRows().empty());
    EXPECT_EQ(images(), (std::vector<std::string>{N, D, N, N}));
    EXPECT_EQ(selectedName(knob()), "Default");
    const auto reports = outputReports();
    ASSERT_EQ(reports.size(), 42u);
    EXPECT_EQ(reports[0], recordHead(88, {})[0]);
    EXPECT_EQ(takeAlert(), "");
}

}  // namespace
