#include "Views/Keyboard/Marrowin/MarrowinKeyCustomView.h"

#include <QComboBox>
#include <QItemSelectionModel>
#include <QLabel>
#include <QLineEdit>
#include <QMessageBox>
#include <QPushButton>
#include <QTreeView>

#include "CustomControl/KeyDataList.h"
#include "CustomControl/KeyboardView.h"
#include "Keylogger/KeyState.h"
#include "SQLite/MarrowinDeviceSQLite.h"
#include "VelkorDevice/MarrowinV2.h"
#include "Views/Keyboard/DataSource/MarrowinOptionTree.h"
#include "Views/Keyboard/DataSource/TreeNodeItemModel.h"
#include "Views/Keyboard/Marrowin/core/MarrowinEditorContext.h"
#include "Views/Keyboard/Marrowin/core/MarrowinKeyAssignment.h"
#include "Views/Keyboard/Marrowin/core/MarrowinKeyCaps.h"
#include "Views/Keyboard/Marrowin/core/MarrowinKeyLookup.h"
#include "Views/Keyboard/Marrowin/core/MarrowinKeyTable.h"
#include "Views/Keyboard/Marrowin/core/MarrowinLayoutRules.h"
#include "Views/Keyboard/Marrowin/core/MarrowinOptionTable.h"
#include "Customized/AlertSheet.h"
#include "Views/Keyboard/Shared/core/KeyCombination.h"

namespace keyloom {

namespace {

// The exchange kind of the key-table upload: a newer table replaces one still waiting.
constexpr const char* kKeyTableExchange = "keys";

QPushButton* button(QWidget* parent, const char* objectName, const QString& text, int x) {
    auto* b = new QPushButton(text, parent);
    b->setObjectName(QString::fromLatin1(objectName));
    b->setGeometry(x, 480, 100, 32);
    b->setFocusPolicy(Qt::NoFocus);
    return b;
}

QLabel* caption(QWidget* parent, const QString& text, int y) {
    auto* label = new QLabel(text, parent);
    label->setGeometry(295, y, 110, 26);
    label->setStyleSheet(QStringLiteral("color: #6b6b6b;"));
    return label;
}

QLabel* value(QWidget* parent, const char* objectName, int y) {
    auto* label = new QLabel(parent);
    label->setObjectName(QString::fromLatin1(objectName));
    label->setGeometry(405, y, 400, 26);
    QFont font = label->font();
    font.setBold(true);
    label->setFont(font);
    return label;
}

QString text(const std::string& s) {
    return QString::fromStdString(s);
}

}  // namespace

MarrowinKeyCustomView::MarrowinKeyCustomView(MarrowinEditorContext& context, QWidget* parent)
    : MarrowinPanel(context, parent) {
    setObjectName(QStringLiteral("KeyCustomView"));
    keyLayoutSelect = makeLayoutCombo("keyLayoutSelect", kKeyLayoutSelectTag, MarrowinLayoutCombos::MarrowinV2);
    ostrel62KBLayoutSelect =
        makeLayoutCombo("ostrel62KBLayoutSelect", kOstrel62KBLayoutSelectTag, MarrowinLayoutCombos::OstrelTE62);

    keycustomTree = new QTreeView(this);
    keycustomTree->setObjectName(QStringLiteral("marrowinkeycustomTree"));
    keycustomTree->setGeometry(16, 20, 260, 520);
    keycustomTree->setFocusPolicy(Qt::NoFocus);

    caption(this, QStringLiteral("Key"), 320);
    caption(this, QStringLiteral("Function"), 356);
    caption(this, QStringLiteral("Assigned"), 392);
    keyNameText = value(this, "keyNameText", 320);
    keyFunctionText = value(this, "keyFunctionText", 356);
    keyMacroText = value(this, "keyMacroText", 392);
    keycustomText = new QLineEdit(this);
    keycustomText->setObjectName(QStringLiteral("keycustomText"));
    keycustomText->setReadOnly(true);
    keycustomText->setGeometry(405, 428, 300, 28);
    keycustomText->setFocusPolicy(Qt::NoFocus);
    keycustomText->setPlaceholderText(QStringLiteral("Hold the keys on your keyboard"));
    keycustomText->hide();

    customKeySaveBtn = button(this, "customKeySaveButton", QStringLiteral("Save"), 405);
    customKeyCancelBtn = button(this, "customKeyCancelButton", QStringLiteral("Cancel"), 515);
    connect(customKeySaveBtn, &QPushButton::clicked, this, [this] { customKeySaveButton(); });
    connect(customKeyCancelBtn, &QPushButton::clicked, this, [this] { customKeyCancelButton(); });

    initOptionConfig();
    connect(keycustomTree->selectionModel(), &QItemSelectionModel::selectionChanged, this,
            [this] { selectionDidChange(keycustomTree); });
}

void MarrowinKeyCustomView::initOptionConfig() {
    appendOptionTree(keycustomModel, marrowinOptionTree());
    treeModel_ = new TreeNodeItemModel(&keycustomModel, keycustomTree);
    configureOptionTreeView(keycustomTree, treeModel_);
}

void MarrowinKeyCustomView::picturesBuilt(bool first) {
    const MarrowinPicture picture = context_.picture();
    if (first || !customKeyboardView) {
        customKeyboardView = new KeyboardView(
            panelRect(picture.frame.x, picture.frame.y, picture.frame.width, picture.frame.height), this);
        customKeyboardView->setObjectName(QStringLiteral("customKeyboardView"));
    }
    // The photo of a 61-key picture depends on the device type, so it is set before the caps are laid.
    customKeyboardView->setDeviceType(context_.deviceType);
    customKeyboardView->initUI(0, keyDataFromCaps(context_.caps()), context_.layoutIndex);
    customKeyboardView->show();
    // A rebuild lays fresh caps with none selected, so no key stays chosen (its cap may be gone); the marks of the
    // stored assignments come back; nothing is stored or sent.
    if (first) return;
    clearChosenKey();
    queryKeyMacroData(context_.currentProfile);
}

void MarrowinKeyCustomView::clearChosenKey() {
    currentKeyValue = 0;
    currentModifyKeys.clear();
    currentModifyKeysStr.clear();
    keycustomText->clear();
    keyNameText->clear();
    keyFunctionText->clear();
    keyMacroText->clear();
}

void MarrowinKeyCustomView::profileLoaded(int64_t profile) {
    queryKeyMacroData(profile);
}

void MarrowinKeyCustomView::queryKeyMacroData(int64_t profile) {
    if (!context_.deviceDB || !customKeyboardView) return;
    std::vector<MarrowinKey> rows;
    context_.deviceDB->queryKeyMacroFromProfile(profile, rows);
    for (const MarrowinKey& row : rows) {
        if (auto cap = capOfCode(row.keyValue, context_.codeMap(), context_.capNames()))
            customKeyboardView->setKeyCheck(int64_t(*cap), true);
    }
}

void MarrowinKeyCustomView::customkeyAction(const std::string& keyname) {
    if (keyname.empty()) return;
    // What was captured belongs to the key chosen before: Save must not store it under this one.
    clearChosenKey();
    const auto code = keyCodeForCapName(keyname, context_.nameMap());
    if (!code) return;  // a cap without a key: nothing chosen, nothing queried
    currentKeyValue = *code;
    const std::string& fullName = context_.nameMap().find(keyname)->full_name;
    keyNameText->setText(text(fullName));
    keyFunctionText->setText(QStringLiteral("Keyboard"));
    keyMacroText->setText(text(fullName));
    collapseAllRows(keycustomTree);

    std::vector<MarrowinKey> rows;
    if (context_.deviceDB && context_.deviceDB->queryKeyProfile(context_.currentProfile, currentKeyValue, rows) &&
        !rows.empty()) {
        const MarrowinKey& row = rows.front();
        const MarrowinMacroLabels labels = macroLabels(row.macroType, fullName, row.macroDesc);
        keyFunctionText->setText(text(labels.function));
        keyMacroText->setText(text(labels.macro));
        updateMacro(row);
    } else {
        selectVisibleRow(keycustomTree, 0);
    }
}

void MarrowinKeyCustomView::updateMacro(const MarrowinKey& keydata) {
    if (isHidden()) return;  // another tab is shown
    keycustomText->hide();
    const auto position = optionForAssignment(keydata.macroType, keydata.macroValue);
    if (!position) return;
    const QModelIndex group = treeModel_->index(int(position->group), 0);
    QModelIndex chosen = group;
    if (position->leaf) {
        keycustomTree->expand(group);
        chosen = treeModel_->index(int(*position->leaf), 0, group);
    }
    selectVisibleRow(keycustomTree, visibleRowOf(keycustomTree, chosen));
    if (keydata.macroType == kMacroTypeKeyCombination) {
        keycustomText->setText(text(keydata.macroDesc));
        keycustomText->show();
    }
}

void MarrowinKeyCustomView::customKeySaveButton() {
    if (isHidden()) return;
    if (currentKeyValue < 1) {
        showAlert(kAlertChooseKey);
        return;
    }
    const TreeNodeModel* node = selectedNode(keycustomTree);
    if (!node) return;  // no function chosen
    keyAssignment(currentKeyValue, *node);
}

void MarrowinKeyCustomView::customKeyCancelButton() {
    if (isHidden()) return;
    const bool keyChosen = currentKeyValue >= 1;  // code 0 is no key: nothing to store or send
    if (keyChosen) {
        MarrowinKey record = marrowinDefaultAssignment();
        addCustomKey(record);
    }
    collapseAllRows(keycustomTree);
    selectVisibleRow(keycustomTree, 0);  // "Default": the reaction hides the field and stops the capture
    // The keyboard gets the key's own function back now, not with the next assignment of some key.
    if (keyChosen) setKeyMacroData(context_.currentProfile);
}

void MarrowinKeyCustomView::keyAssignment(int64_t, const TreeNodeModel& nodeData) {
    const OptionChoice node{nodeData.level, nodeData.type, nodeData.parentType, nodeData.name.value_or(std::string())};
    const MarrowinAssignmentOutcome action =
        marrowinAssignment(node, currentModifyKeys, keycustomText->text().toStdString());
    if (!action.alert.empty()) showAlert(action.alert);
    if (!action.record) return;
    MarrowinKey record = *action.record;
    addCustomKey(record);
    if (action.collapseTree) collapseAllRows(keycustomTree);
    // Sent whether or not the row was stored: the keyboard gets what the database holds.
    setKeyMacroData(context_.currentProfile);
}

bool MarrowinKeyCustomView::addCustomKey(MarrowinKey& keydata) {
    if (isHidden()) return false;
    keydata.profId = context_.currentProfile;
    keydata.keyValue = currentKeyValue;
    if (!context_.deviceDB || context_.deviceDB->addKeyProfile(keydata) < 1) return false;

    const auto mark = assignmentMark(keydata.macroType);
    if (!mark) return true;  // a code without labels of its own leaves them as they were
    if (*mark) {
        const MarrowinMacroLabels labels = macroLabels(keydata.macroType, std::string(), keydata.macroDesc);
        keyFunctionText->setText(text(labels.function));
        keyMacroText->setText(text(labels.macro));
    } else {
        keyFunctionText->setText(QStringLiteral("Keyboard"));
        keyMacroText->setText(keyNameText->text());
    }
    if (customKeyboardView) {
        if (auto cap = capOfCode(currentKeyValue, context_.codeMap(), context_.capNames()))
            customKeyboardView->setKeyCheck(int64_t(*cap), *mark);
    }
    return true;
}

void MarrowinKeyCustomView::selectionDidChange(QTreeView* outlineView) {
    if (!outlineView || outlineView != keycustomTree) return;
    const TreeNodeModel* node = selectedNode(outlineView);
    if (!node) return;  // a cleared selection leaves the capture as it is
    if (node->level == 0 && node->type == kMacroTypeKeyCombination) {
        keycustomText->show();
        startLocalEventMoniter();
    } else {
        keycustomText->hide();
        eventHandler.reset();
    }
}

void MarrowinKeyCustomView::startLocalEventMoniter() {
    eventHandler.reset();
    eventHandler = std::make_unique<LocalKeyMonitor>([this] {
        // Key releases leave the combination shown; keys typed into another of our windows are not the editor's.
        if (lastKeyOperate() == "down" && isActiveWindow()) fillBindInput();
    });
}

void MarrowinKeyCustomView::fillBindInput() {
    const KeyCodeMap& keys = context_.codeMap();
    currentModifyKeys = keyCombination(keysOnKeyboard(pressedFlags(), keys), keysOnKeyboard(pressedNormalKey(), keys));
    currentModifyKeysStr = combinationCodesText(currentModifyKeys);
    if (!isHidden()) keycustomText->setText(text(combinationText(currentModifyKeys, keys)));
}

void MarrowinKeyCustomView::setKeyMacroData(int64_t profile) {
    if (!context_.deviceDB) return;
    const auto table = readKeyTable(*context_.deviceDB, profile, context_.codeMap());
    if (!table) return;
    context_.exchange(kKeyTableExchange, [table = *table](MarrowinV2& channel) { sendKeyTable(channel, table); });
}

void MarrowinKeyCustomView::showAlert(const std::string& message) {
    alertSheet = showAlertSheet(window(), QString::fromUtf8(kKeyAssignmentAlert), QString::fromStdString(message));
}

}  // namespace keyloom
