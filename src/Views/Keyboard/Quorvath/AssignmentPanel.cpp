#include "Views/Keyboard/Quorvath/AssignmentPanel.h"

#include <QItemSelectionModel>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTreeView>

#include "Customized/AlertSheet.h"
#include "Keylogger/KeyState.h"
#include "Views/Keyboard/DataSource/TreeNodeItemModel.h"
#include "Views/Keyboard/DataSource/TreeViewData.h"
#include "Views/Keyboard/Quorvath/KeyCombinationCapture.h"
#include "Views/Keyboard/Quorvath/core/KeyboardEditorContext.h"
#include "Views/Keyboard/Shared/core/KeyAssignmentRules.h"
#include "Views/Keyboard/Shared/core/KeyCombination.h"

namespace keyloom {

namespace {

constexpr int kTreeLeft = 16;
constexpr int kTreeWidth = 260;
constexpr int kCaptionLeft = 295;
constexpr int kValueLeft = 405;
constexpr int kLineHeight = 36;

QLabel* caption(QWidget* parent, const QString& text, int y) {
    auto* label = new QLabel(text, parent);
    label->setGeometry(kCaptionLeft, y, kValueLeft - kCaptionLeft, 26);
    label->setForegroundRole(QPalette::PlaceholderText);
    return label;
}

QLabel* value(QWidget* parent, const char* objectName, int y) {
    auto* label = new QLabel(parent);
    label->setObjectName(QString::fromLatin1(objectName));
    label->setGeometry(kValueLeft, y, 500, 26);
    QFont font = label->font();
    font.setBold(true);
    label->setFont(font);
    return label;
}

OptionChoice choiceOf(const TreeNodeModel& node) {
    return OptionChoice{node.level, node.type, node.parentType, node.name.value_or(std::string())};
}

}  // namespace

AssignmentPanel::AssignmentPanel(std::shared_ptr<KeyCombinationCapture> capture, QWidget* parent)
    : KeyboardPanel(parent), capture_(capture ? std::move(capture) : std::make_shared<KeyCombinationCapture>()) {}

AssignmentPanel::~AssignmentPanel() {
    capture_->stop(this);
}

void AssignmentPanel::buildControls(const Names& names, int labelsTop) {
    tree = new QTreeView(this);
    tree->setObjectName(QString::fromLatin1(names.tree));
    tree->setGeometry(kTreeLeft, 20, kTreeWidth, kHeight - 40);
    appendOptionTree(model, firstGenerationOptionTree());
    treeModel_ = new TreeNodeItemModel(&model, tree);
    configureOptionTreeView(tree, treeModel_);
    // Programmatic selections count too: a stored choice shown, Cancel, a click on a key without a row.
    connect(tree->selectionModel(), &QItemSelectionModel::selectionChanged, this, [this] { selectionDidChange(); });

    caption(this, QString::fromLatin1(names.nameCaption), labelsTop);
    caption(this, QStringLiteral("Function"), labelsTop + kLineHeight);
    caption(this, QStringLiteral("Assigned"), labelsTop + 2 * kLineHeight);
    nameText = value(this, names.nameText, labelsTop);
    functionText = value(this, names.functionText, labelsTop + kLineHeight);
    macroText = value(this, names.macroText, labelsTop + 2 * kLineHeight);

    bindText = new QLineEdit(this);
    bindText->setObjectName(QString::fromLatin1(names.bindText));
    bindText->setReadOnly(true);
    bindText->setPlaceholderText(QStringLiteral("Hold the keys on your keyboard"));
    bindText->setGeometry(kValueLeft, labelsTop + 3 * kLineHeight, 360, 28);
    bindText->hide();

    saveButton = new QPushButton(QStringLiteral("Save"), this);
    saveButton->setObjectName(QString::fromLatin1(names.save));
    cancelButton = new QPushButton(QStringLiteral("Cancel"), this);
    cancelButton->setObjectName(QString::fromLatin1(names.cancel));
    const int buttonsTop = labelsTop + 4 * kLineHeight + 12;
    saveButton->setGeometry(kValueLeft, buttonsTop, 100, 30);
    cancelButton->setGeometry(kValueLeft + 112, buttonsTop, 100, 30);
    connect(saveButton, &QPushButton::clicked, this, [this] { customKeySaveButton(); });
    connect(cancelButton, &QPushButton::clicked, this, [this] { customKeyCancelButton(); });
}

void AssignmentPanel::windowWillClose() {
    capture_->stopAll();
}

const KeyMapRow* AssignmentPanel::codeRow(int64_t code) const {
    return context() ? context()->codeMap().find(code) : nullptr;
}

QString AssignmentPanel::codeName(int64_t code) const {
    static const KeyCodeMap none;
    return QString::fromStdString(combinationText({code}, context() ? context()->codeMap() : none));
}

void AssignmentPanel::alert(const char* informativeText) {
    showAlertSheet(window(), QString::fromLatin1(kKeyAssignmentAlert), QString::fromUtf8(informativeText));
}

void AssignmentPanel::showLabels(int64_t macroType, const QString& ownName, const std::string& macroDesc) {
    const auto labels = assignmentLabels(macroType, ownName.toStdString(), macroDesc);
    if (!labels) return;
    functionText->setText(QString::fromStdString(labels->function));
    macroText->setText(QString::fromStdString(labels->macro));
}

void AssignmentPanel::customKeySaveButton() {
    const int64_t code = chosenCode();
    if (code < 1) return alert(noChoiceAlert());
    // No row selected: nothing to apply.
    if (const TreeNodeModel* node = selectedNode(tree)) keyAssignment(code, *node);
}

void AssignmentPanel::customKeyCancelButton() {
    const int64_t code = chosenCode();
    // Code 0 is no key: it has no row and no place on the keyboard.
    if (code < 1) return alert(noChoiceAlert());
    KeyMacro row = defaultAssignment();
    addCustomKey(row);
    if (KeyboardEditorContext* ctx = context())
        ctx->send([code](Quorvath& q) { q.setKeyDefaultValue(code, KeyboardEditorContext::kKeyboardProfile); });
    collapseAllRows(tree);
    selectVisibleRow(tree, 0);
}

void AssignmentPanel::keyAssignment(int64_t keyValue, const TreeNodeModel& nodeData) {
    const KeyCombinationCapture& c = *capture_;
    static const KeyCodeMap none;
    const std::string capturedText = combinationText(c.currentModifyKeys, context() ? context()->codeMap() : none);
    AssignmentOutcome outcome = planAssignment(choiceOf(nodeData), c.currentModifyKeys, capturedText);
    if (!outcome.alert.empty()) return alert(outcome.alert.c_str());
    if (!outcome.plan) return;
    AssignmentPlan& plan = *outcome.plan;
    // The field shows what is stored: the names of the codes written.
    if (plan.row.macroType == kAssignKeyboardFunction) bindText->setText(QString::fromStdString(capturedText));
    addCustomKey(plan.row);
    if (KeyboardEditorContext* ctx = context()) {
        constexpr int64_t profile = KeyboardEditorContext::kKeyboardProfile;
        switch (plan.record) {
            case KeyRecordKind::Default:
                ctx->send([keyValue](Quorvath& q) { q.setKeyDefaultValue(keyValue, profile); });
                break;
            case KeyRecordKind::Disable:
                ctx->send([keyValue](Quorvath& q) { q.setKeyDisable(keyValue, profile); });
                break;
            case KeyRecordKind::Combination:
                ctx->send([keyValue, codes = std::move(plan.codes)](Quorvath& q) {
                    q.setKeyNewValue(keyValue, codes, profile, true);
                });
                break;
        }
    }
    if (plan.record != KeyRecordKind::Combination) collapseAllRows(tree);
}

bool AssignmentPanel::addCustomKey(KeyMacro& keydata) {
    KeyboardEditorContext* ctx = context();
    if (!ctx) return false;
    keydata.profId = ctx->currentProfile();
    keydata.keyValue = chosenCode();
    // The key's record goes to the keyboard whether or not its row was stored, so the labels and the mark show it
    // either way; the notice says when it was not stored.
    const bool stored =
        ctx->store([&](DeviceSQLite& db) { return storeRow(db, keydata) >= 1; }, IfNotStored::SentAnyway);
    if (!assignmentLabels(keydata.macroType, {}, {})) return stored;
    showLabels(keydata.macroType, nameText->text(), keydata.macroDesc);
    markAssigned(keydata.macroType);
    return stored;
}

void AssignmentPanel::updateMacro(const KeyMacro& keydata) {
    bindText->hide();
    const auto where = storedSelection(keydata.macroType, keydata.reserve1);
    if (!where) return;
    if (where->expandRow >= 0) expandVisibleRow(tree, where->expandRow);
    selectVisibleRow(tree, where->row);
    if (where->showsBindField) {
        bindText->setText(QString::fromStdString(keydata.macroDesc));
        bindText->show();
        // The stored text describes this code's own combination: a Save without a new capture must not write the
        // one captured for another key under it.
        capture_->clearCombination();
    }
}

void AssignmentPanel::selectionDidChange() {
    const TreeNodeModel* node = selectedNode(tree);
    if (!node) return;
    if (node->level == 0 && node->type == kAssignKeyboardFunction) {
        bindText->show();
        startLocalEventMoniter();
    } else {
        bindText->hide();
        capture_->stop(this);
    }
}

void AssignmentPanel::startLocalEventMoniter() {
    capture_->start(this, [this] { fillBindInput(); });
    // The keys the user now holds are meant for the capture, not for the tree (whose type-ahead would pick a node).
    if (isVisible()) bindText->setFocus(Qt::OtherFocusReason);
}

void AssignmentPanel::fillBindInput() {
    // Only the tab that captures, and only while it is shown: typing on another tab changes no combination.
    if (!isVisible()) return;
    std::vector<int64_t> codes = heldKeyCombination();
    static const KeyCodeMap none;
    bindText->setText(QString::fromStdString(combinationText(codes, context() ? context()->codeMap() : none)));
    capture_->setCombination(std::move(codes));
}

}  // namespace keyloom
