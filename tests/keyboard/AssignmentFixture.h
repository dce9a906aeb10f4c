#pragma once

#include <QMessageBox>
#include <QPushButton>
#include <QToolButton>
#include <QTreeView>
#include <optional>

#include "CustomControl/KeyView.h"
#include "CustomControl/KeyboardView.h"
#include "EditorFixture.h"
#include "Keylogger/KeyState.h"
#include "Keylogger/Keylogger.h"
#include "SQLite/KeyMacro.h"
#include "Views/Keyboard/DataSource/TreeNodeItemModel.h"
#include "Views/Keyboard/KeyLayout/CurrentDevice.h"
#include "Views/Keyboard/KeyLayout/KeyModels.h"
#include "Views/Keyboard/Quorvath/KeyCombinationCapture.h"
#include "Views/Keyboard/Quorvath/KeyPanel.h"
#include "Views/Keyboard/Quorvath/KnobPanel.h"
#include "platform/input/QtKeyEventSource.h"
#include "platform/input/SimulatedKeySource.h"
#include "support/SimulatedKeyCapture.h"

namespace keyloom::test {

// A stored assignment as the tests compare it.
struct StoredRow {
    int64_t keyValue, macroType, macroValue;
    std::string macroDesc;
    int64_t reserve1;
    bool operator==(const StoredRow&) const = default;
};
inline std::ostream& operator<<(std::ostream& out, const StoredRow& r) {
    return out << "{" << r.keyValue << ", " << r.macroType << ", " << r.macroValue << ", \"" << r.macroDesc << "\", "
               << r.reserve1 << "}";
}

// The editor open on a simulated keyboard, with the key capture running over a simulated keyboard and our windows'
// key events, and the opened model's key lists current (as the home screen leaves them).
class AssignmentFixture : public EditorFixture {
  public:
    void SetUp() override {
        EditorFixture::SetUp();
        resetKeyState();
        test::SimulatedKeyCapture capture = test::startSimulatedKeyCapture(true);
        keySource = capture.source;
        keylogger = std::move(capture.keylogger);
        keyDevice = capture.keyboard;
    }
    void TearDown() override {
        // What the last action queued reaches the keyboard before the test ends and tears the keyboard down.
        if (controller) settle();
        EditorFixture::TearDown();
        keylogger.reset();
        resetCurrentDevice();
        resetKeyState();
    }

    // Opens the editor (the key tab shown) and forgets the exchanges of the opening.
    void openEditor(std::shared_ptr<SimulatedKeyboard> kb = SimulatedKeyboard::quorvath87()) {
        open(std::move(kb));
        ASSERT_NE(controller, nullptr);
        makeCurrentDevice(ctx().keyModel());
        ASSERT_TRUE(QTest::qWaitForWindowActive(window));
        clearSent();
    }
    KeyPanel* keys() const { return controller->KeyCustomView; }
    KnobPanel* knob() const { return controller->CairnelKnobView; }

    // A click on the key of that name on the key-assignment picture.
    void clickKey(const std::string& name) {
        KeyboardView* picture = keys()->customKeyboardView;
        const auto& list = picture->keyDataArrayHover();
        const auto it = std::find_if(list.begin(), list.end(), [&](const KeyData& k) { return k.keyname == name; });
        ASSERT_NE(it, list.end()) << name;
        QTest::mouseClick(picture, Qt::LeftButton, Qt::NoModifier, picture->keyView(it->index)->geometry().center());
    }
    KeyView* keyView(const std::string& name) const {
        const KeyMapRow* row = ctx().nameMap().find(name);
        return row ? keys()->customKeyboardView->keyView(row->layout_index) : nullptr;
    }
    KeyboardEditorContext& ctx() const { return *controller->context(); }

    // A click on the tree's node at the path (a top row's name, then a leaf's); a category is expanded first.
    void clickNode(AssignmentPanel* panel, const std::string& top, const std::string& leaf = "") {
        QTreeView* tree = panel->tree;
        auto* model = qobject_cast<TreeNodeItemModel*>(tree->model());
        QModelIndex index;
        for (int r = 0; r < model->rowCount(); ++r)
            if (model->node(model->index(r, 0))->name == top) index = model->index(r, 0);
        ASSERT_TRUE(index.isValid()) << top;
        if (!leaf.empty()) {
            tree->expand(index);
            QModelIndex child;
            for (int r = 0; r < model->rowCount(index); ++r)
                if (model->node(model->index(r, 0, index))->name == leaf) child = model->index(r, 0, index);
            ASSERT_TRUE(child.isValid()) << leaf;
            index = child;
        }
        tree->scrollTo(index);
        QTest::mouseClick(tree->viewport(), Qt::LeftButton, Qt::NoModifier, tree->visualRect(index).center());
    }
    static std::string selectedName(const AssignmentPanel* panel) {
        const TreeNodeModel* node = selectedNode(panel->tree);
        return node && node->name ? *node->name : "";
    }
    void click(const char* button) { QTest::mouseClick(find<QPushButton>(button), Qt::LeftButton); }
    void clickKnob(const char* button) { QTest::mouseClick(find<QToolButton>(button), Qt::LeftButton); }

    // One key of the simulated keyboard.
    void key(uint32_t usage, int64_t value) { keySource->sendValue(keyDevice, {0x07, usage, value}); }

    // The alert shown, if any; closing it.
    QMessageBox* alert() const { return window->findChild<QMessageBox*>("alertSheet"); }
    std::string takeAlert() {
        QMessageBox* box = alert();
        if (!box) return "";
        const std::string text = box->informativeText().toStdString();
        EXPECT_EQ(box->text(), "Key Assignment");
        box->close();
        EXPECT_TRUE(processEventsUntil([&] { return alert() == nullptr; }));
        return text;
    }

    std::vector<StoredRow> rows(const char* table) const {
        SQLite::Database db(dbPath(), SQLite::OPEN_READONLY);
        SQLite::Statement q(db, std::string("SELECT keyvalue, macroType, macroValue, macroDesc, reserve1 FROM ") +
                                    table + " WHERE profId = 1 ORDER BY keyvalue");
        std::vector<StoredRow> out;
        while (q.executeStep())
            out.push_back({q.getColumn(0).getInt64(), q.getColumn(1).getInt64(), q.getColumn(2).getInt64(),
                           q.getColumn(3).getString(), q.getColumn(4).getInt64()});
        return out;
    }
    std::vector<StoredRow> keyRows() const { return rows("t_keyprofile"); }
    std::vector<StoredRow> knobRows() const { return rows("t_knobprofile"); }
    void storeRow(const char* table, const StoredRow& r) const {
        SQLite::Database db(dbPath(), SQLite::OPEN_READWRITE);
        const bool knobTable = std::string(table) == "t_knobprofile";
        SQLite::Statement q(db, std::string("INSERT INTO ") + table +
                                    " (profId, keyvalue, macroType, macroValue, macroDesc, reserve1, reserve2, "
                                    "reveDesc1, reveDesc2" +
                                    (knobTable ? ", layer" : "") + ") VALUES (1, ?, ?, ?, ?, ?, 0, '', ''" +
                                    (knobTable ? ", 0" : "") + ")");
        q.bind(1, r.keyValue);
        q.bind(2, r.macroType);
        q.bind(3, r.macroValue);
        q.bind(4, r.macroDesc);
        q.bind(5, r.reserve1);
        q.exec();
    }

    // Forgets what the keyboard received so far, once everything queued has reached it.
    void clearSent() {
        settle();
        keyboard->clearTransfers();
    }
    // Opens the editor again on the same keyboard and profile database.
    void reopen() {
        std::shared_ptr<SimulatedKeyboard> kb = keyboard;
        closeEditor();
        kb->unplug();
        openEditor(kb);
    }
    // Starts again from no profile database.
    void reopenFresh(std::shared_ptr<SimulatedKeyboard> kb = SimulatedKeyboard::quorvath87()) {
        closeEditor();
        if (keyboard) keyboard->unplug();
        std::filesystem::remove_all(databaseFolder());
        openEditor(std::move(kb));
    }

    // The key records written since the last clearSent(), each as its output reports.
    std::vector<Bytes> outputReports() {
        settle();
        return keyboard->sentReports(HidReportType::Output);
    }

    // The labels of a tab: name, function, second label.
    static std::vector<std::string> labels(const AssignmentPanel* p) {
        return {p->nameText->text().toStdString(), p->functionText->text().toStdString(),
                p->macroText->text().toStdString()};
    }

    SimulatedKeySource* keySource = nullptr;
    uint64_t keyDevice = 0;
    std::unique_ptr<Keylogger> keylogger;
};

// The first two reports of a key record at flash slot `slot`, in the 7-then-6 layout, for the record's first 13 bytes
// after FF 00 a1 a2.
inline std::vector<Bytes> recordHead(int slot, std::vector<uint8_t> body) {
    body.resize(9, 0);
    const auto a1 = uint8_t(slot / 16), a2 = uint8_t((slot % 16) * 16);
    return {{5, 0xFF, 0x00, a1, a2, body[0], body[1], body[2]},
            {5, 0x00, body[3], body[4], body[5], body[6], body[7], body[8]}};
}

}  // namespace keyloom::test
