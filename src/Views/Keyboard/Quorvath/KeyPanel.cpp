#include "Views/Keyboard/Quorvath/KeyPanel.h"

#include <QLabel>

#include "CustomControl/KeyboardView.h"
#include "SQLite/DeviceSQLite.h"
#include "Views/Keyboard/DataSource/TreeNodeItemModel.h"
#include "Views/Keyboard/Quorvath/core/KeyboardEditorContext.h"
#include "Views/Keyboard/Shared/core/KeyAssignmentRules.h"

namespace keyloom {

namespace {

// Below the picture: the labels, the bind field, Save and Cancel.
constexpr int kLabelsTop = 320;

}  // namespace

KeyPanel::KeyPanel(std::shared_ptr<KeyCombinationCapture> capture, QWidget* parent)
    : AssignmentPanel(std::move(capture), parent) {
    setObjectName(QStringLiteral("KeyCustomView"));
    buildControls({"Key", "keycustomTree", "keyNameText", "keyFunctionText", "keyMacroText", "keycustomText",
                   "customKeySave", "customKeyCancel"},
                  kLabelsTop);
    keyClicks_ = NotificationCenter::defaultCenter().addObserver(kCustomKeyAction, [this](const Notification& note) {
        if (const auto* name = std::any_cast<std::string>(&note.object)) customkeyAction(*name);
    });
}

void KeyPanel::initKeyboardUI(const std::vector<KeyData>& keys) {
    customKeyboardView = addPicture(0, keys, QStringLiteral("customKeyboardView"));
}

void KeyPanel::selectProfile(int64_t profile) {
    queryKeyMacroData(profile);
}

void KeyPanel::queryKeyMacroData(int64_t profile) {
    if (!context()) return;
    std::vector<KeyMacro> rows;
    context()->deviceDB().queryKeyMacroFromProfile(profile, rows);
    for (const KeyMacro& row : rows) markKey(row.keyValue, true);
}

void KeyPanel::customkeyAction(const std::string& keyname) {
    if (keyname.empty() || !context()) return;
    const KeyMapRow* key = context()->nameMap().find(keyname);
    if (!key || !key->key_code) return;  // not a key of this keyboard: nothing chosen
    currentKeyValue = *key->key_code;
    const QString fullName = QString::fromStdString(key->full_name);
    nameText->setText(fullName);
    functionText->setText(QStringLiteral("Keyboard"));
    macroText->setText(fullName);
    collapseAllRows(tree);

    std::vector<KeyMacro> rows;
    if (context()->deviceDB().queryKeyProfile(context()->currentProfile(), currentKeyValue, rows) && !rows.empty()) {
        const KeyMacro& row = rows.front();
        showLabels(row.macroType, nameText->text(), row.macroDesc);
        updateMacro(row);
    } else {
        selectVisibleRow(tree, 0);
    }
}

const char* KeyPanel::noChoiceAlert() const {
    return kAlertChooseKey;
}

int64_t KeyPanel::storeRow(DeviceSQLite& db, const KeyMacro& row) const {
    return db.addKeyProfile(row);
}

void KeyPanel::markAssigned(int64_t macroType) {
    markKey(currentKeyValue, macroType != kAssignDefault);
}

void KeyPanel::markKey(int64_t code, bool marked) {
    // A code the editor's map has no key for has no place on the picture.
    const KeyMapRow* row = codeRow(code);
    if (row && customKeyboardView) customKeyboardView->setKeyCheck(row->layout_index, marked);
}

}  // namespace keyloom
