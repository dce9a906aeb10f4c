#include "Views/Keyboard/MarrowinKeyCustomView.h"

#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QTreeView>

#include "CustomControl/KeyDataList.h"
#include "CustomControl/KeyboardView.h"
#include "SQLite/MarrowinDeviceSQLite.h"
#include "Views/Keyboard/DataSource/MarrowinOptionTree.h"
#include "Views/Keyboard/DataSource/TreeNodeItemModel.h"
#include "Views/Keyboard/MarrowinEditorContext.h"
#include "Views/Keyboard/core/MarrowinKeyCaps.h"
#include "Views/Keyboard/core/MarrowinKeyLookup.h"
#include "Views/Keyboard/core/MarrowinLayoutRules.h"
#include "Views/Keyboard/core/MarrowinOptionTable.h"

namespace keyloom {

namespace {

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
    keycustomText->hide();

    initOptionConfig();
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
    // A rebuild lays fresh caps: the marks of the stored assignments come back, nothing is stored or sent.
    if (!first) queryKeyMacroData(context_.currentProfile);
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
    currentKeyValue = 0;
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

}  // namespace keyloom
