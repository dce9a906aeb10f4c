#pragma once

#include <QPointer>
#include <cstdint>
#include <string>

#include "SQLite/MarrowinKey.h"
#include "Views/Keyboard/DataSource/TreeNodeModel.h"
#include "Views/Keyboard/MarrowinPanel.h"

class QComboBox;
class QLabel;
class QLineEdit;
class QTreeView;

namespace keyloom {

class KeyboardView;
class TreeNodeItemModel;

// The key tab of the second-generation editor: the key-assignment picture, the option tree of assignable functions,
// what the clicked key carries, and the keyboard-layout combo boxes of this tab. A click on a cap shows the key's
// stored assignment and selects it in the tree; the keys that carry one are marked yellow.
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

    // Key code of the key last clicked (0: none).
    int64_t currentKeyValue = 0;

    // Outlets.
    QPointer<KeyboardView> customKeyboardView;
    QPointer<QTreeView> keycustomTree;
    QPointer<QLabel> keyNameText;
    QPointer<QLabel> keyFunctionText;
    QPointer<QLabel> keyMacroText;
    QPointer<QLineEdit> keycustomText;
    QPointer<QComboBox> keyLayoutSelect;
    QPointer<QComboBox> ostrel62KBLayoutSelect;

    // Root of the option tree (its children are the seven top rows).
    TreeNodeModel keycustomModel;

  private:
    void initOptionConfig();

    TreeNodeItemModel* treeModel_ = nullptr;
};

}  // namespace keyloom
