#pragma once

#include <QPointer>
#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "Keylogger/LocalKeyMonitor.h"
#include "SQLite/MarrowinKey.h"
#include "Views/Keyboard/DataSource/TreeNodeModel.h"
#include "Views/Keyboard/Marrowin/MarrowinPanel.h"

class QComboBox;
class QLabel;
class QLineEdit;
class QMessageBox;
class QPushButton;
class QTreeView;

namespace keyloom {

class KeyboardView;
class TreeNodeItemModel;

// The key tab of the second-generation editor: the key-assignment picture, the option tree of assignable functions,
// what the clicked key carries, and the keyboard-layout combo boxes of this tab. A click on a cap shows the key's
// stored assignment and selects it in the tree; the keys that carry one are marked yellow. Save gives the clicked key
// the chosen function, or the key combination held on the keyboard ("Keyboard function"), Cancel puts it back to its
// own; each stores the key's row and then sends the profile's whole key table on the keyboard's worker.
//
// No control of the tab takes keyboard focus: keys held for the capture must not move the tree or press a button.
class MarrowinKeyCustomView : public MarrowinPanel {
    Q_OBJECT

  public:
    explicit MarrowinKeyCustomView(MarrowinEditorContext& context, QWidget* parent = nullptr);

    void picturesBuilt(bool first) override;
    void profileLoaded(int64_t profile) override;

    // Marks the caps of the profile's stored assignments. A stored code the current map lacks is skipped.
    void queryKeyMacroData(int64_t profile);
    // A cap named keyname was clicked: shows its key and its stored assignment. A name that is no key of the
    // editor's map chooses nothing.
    void customkeyAction(const std::string& keyname);
    // Selects the stored assignment in the tree (on this tab only): its group, or the leaf of its number.
    void updateMacro(const MarrowinKey& keydata);

    // Save and Cancel (on this tab only). Save needs a clicked key (else an alert) and a chosen row (else nothing).
    // Cancel stores the key's own function, folds the tree and chooses "Default"; without a key it only does the
    // latter.
    void customKeySaveButton();
    void customKeyCancelButton();
    // Applies the chosen node to the current key: stores and uploads, or shows the node's alert. keyValue is not
    // used: the key is always currentKeyValue.
    void keyAssignment(int64_t keyValue, const TreeNodeModel& nodeData);
    // Stores the record for the current key (its profile and key filled in here) and shows it: the labels and the
    // cap's mark. False, with nothing shown, when not stored or not on this tab.
    bool addCustomKey(MarrowinKey& keydata);
    // The tree's selection changed: "Keyboard function" shows the binding field and starts the capture; another row
    // hides it and stops the capture; no row changes nothing.
    void selectionDidChange(QTreeView* outlineView);
    // Starts the capture (one at a time; it goes with the editor): after each key pressed while the editor is the
    // active window, fillBindInput().
    void startLocalEventMoniter();
    // Takes the held combination from the key state into the binding field and the captured codes; held keys the
    // keyboard does not have are left out.
    void fillBindInput();
    // Reads the profile's whole key table and hands its upload to the keyboard's worker, where an upload still
    // waiting is dropped for it. Nothing is sent when the table cannot be read (no database, a failed query).
    void setKeyMacroData(int64_t profile);

    // Key code of the key last clicked (0: none).
    int64_t currentKeyValue = 0;
    // The captured combination: codes, and the codes in decimal joined with ",". A click on a key clears both.
    std::vector<int64_t> currentModifyKeys;
    std::string currentModifyKeysStr;
    // The capture while it runs.
    std::unique_ptr<LocalKeyMonitor> eventHandler;

    // Outlets.
    QPointer<KeyboardView> customKeyboardView;
    QPointer<QTreeView> keycustomTree;
    QPointer<QLabel> keyNameText;
    QPointer<QLabel> keyFunctionText;
    QPointer<QLabel> keyMacroText;
    QPointer<QLineEdit> keycustomText;
    QPointer<QComboBox> keyLayoutSelect;
    QPointer<QComboBox> ostrel62KBLayoutSelect;
    QPointer<QPushButton> customKeySaveBtn;
    QPointer<QPushButton> customKeyCancelBtn;
    // The alert shown last, while it is open.
    QPointer<QMessageBox> alertSheet;

    // Root of the option tree (its children are the seven top rows).
    TreeNodeModel keycustomModel;

  private:
    // No key chosen: no code, no labels, nothing captured (Save then asks for a key).
    void clearChosenKey();
    void initOptionConfig();
    void showAlert(const std::string& message);

    TreeNodeItemModel* treeModel_ = nullptr;
};

}  // namespace keyloom
