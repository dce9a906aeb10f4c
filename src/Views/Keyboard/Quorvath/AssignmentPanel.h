#pragma once

#include <QString>
#include <cstdint>
#include <memory>
#include <string>

#include "SQLite/KeyMacro.h"
#include "Views/Keyboard/DataSource/TreeNodeModel.h"
#include "Views/Keyboard/Quorvath/KeyboardPanel.h"

class QLabel;
class QLineEdit;
class QPushButton;
class QTreeView;

namespace keyloom {

class DeviceSQLite;
class KeyCombinationCapture;
class TreeNodeItemModel;
struct KeyMapRow;

// What the key tab and the knob tab share: the option tree, the chosen code's three labels, the bind field that
// shows a captured combination, Save and Cancel. A tab chooses a code (a key of the picture, or a knob action), the
// user picks a node and presses Save; the choice is stored as the code's one row, shown, then written to the keyboard
// as the key's record. Cancel puts the code back to its default.
//
// Storing and sending follow KeyboardPanel: one transaction per Save or Cancel, then the record is queued for the
// device's worker (also when the store failed). Nothing is stored or sent before the editor has opened its keyboard.
class AssignmentPanel : public KeyboardPanel {
    Q_OBJECT

  public:
    // objectPrefix names the controls: "<tree>", "<name>NameText", "<name>FunctionText", ... (see the subclasses).
    // capture is shared with the editor's other assignment tab (nullptr: a capture of the panel's own).
    AssignmentPanel(std::shared_ptr<KeyCombinationCapture> capture, QWidget* parent);
    ~AssignmentPanel() override;

    // The user's actions (called by the controls; public for scripted users).
    void customKeySaveButton();
    void customKeyCancelButton();
    // Applies a node to the chosen code: stores and shows it, then writes the record with keyValue.
    void keyAssignment(int64_t keyValue, const TreeNodeModel& nodeData);
    // Completes the row (profile, chosen code) and stores it; sets the labels and the mark, since the keyboard gets
    // the record either way. False when nothing was stored.
    bool addCustomKey(KeyMacro& keydata);
    // Shows a stored row in the tree (and a stored combination in the bind field).
    void updateMacro(const KeyMacro& keydata);
    // The tree's selection changed: "Keyboard function" shows the bind field and captures, any other node hides it
    // and stops this tab's capture.
    void selectionDidChange();
    void startLocalEventMoniter();
    // Shows the held combination in the bind field and keeps it as the captured one (only while this tab is shown).
    void fillBindInput();

    void windowWillClose() override;

    // Controls.
    QTreeView* tree = nullptr;
    QLabel* nameText = nullptr;
    QLabel* functionText = nullptr;
    QLabel* macroText = nullptr;
    QLineEdit* bindText = nullptr;
    QPushButton* saveButton = nullptr;
    QPushButton* cancelButton = nullptr;
    // Root of the tab's option tree; its children are the seven top rows.
    TreeNodeModel model;

    KeyCombinationCapture& capture() const { return *capture_; }

  protected:
    // The controls, named after the tab ("keycustomTree", "keyNameText", ..., "keycustomText", or the knob's).
    struct Names {
        const char* nameCaption;  // what the chosen code is: "Key", "Knob action"
        const char* tree;
        const char* nameText;
        const char* functionText;
        const char* macroText;
        const char* bindText;
        const char* save;
        const char* cancel;
    };
    void buildControls(const Names& names, int labelsTop);

    // The code the tab works on; below 1 while none is chosen.
    virtual int64_t chosenCode() const = 0;
    // The alert of Save (and Cancel) while no code is chosen.
    virtual const char* noChoiceAlert() const = 0;
    // Stores the row of the chosen code; its row id, 0 when not stored.
    virtual int64_t storeRow(DeviceSQLite& db, const KeyMacro& row) const = 0;
    // Shows on the tab's picture or buttons that the chosen code now has an assignment of this type.
    virtual void markAssigned(int64_t macroType) = 0;

    // Sets the function and second labels for a stored type (ownName: the second label of a "Default").
    void showLabels(int64_t macroType, const QString& ownName, const std::string& macroDesc);
    // The name a code is shown by: its full name in the editor's map, else its number.
    QString codeName(int64_t code) const;
    const KeyMapRow* codeRow(int64_t code) const;
    void alert(const char* informativeText);

  private:
    std::shared_ptr<KeyCombinationCapture> capture_;
    TreeNodeItemModel* treeModel_ = nullptr;
};

}  // namespace keyloom
