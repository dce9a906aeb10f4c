#include "Views/Keyboard/Quorvath/KnobPanel.h"

#include <QLabel>
#include <QToolButton>

#include "SQLite/DeviceSQLite.h"
#include "Views/Keyboard/DataSource/TreeNodeItemModel.h"
#include "Views/Keyboard/Quorvath/core/KeyboardEditorContext.h"
#include "Views/Keyboard/Shared/core/KeyAssignmentRules.h"
#include "resources/KeyloomImages.h"

namespace keyloom {

namespace {

constexpr const char* kImageProperty = "keyloomImageName";
constexpr int kLabelsTop = 320;

struct ButtonText {
    const char* objectName;
    const char* title;  // the action's name in the key maps
};
constexpr std::array<ButtonText, 4> kButtons{{
    {"knobSingleButton", "Single Click"},
    {"knobDoubleButton", "Double Click"},
    {"knobForwardButton", "Forward"},
    {"knobBackwardButton", "Backward"},
}};

}  // namespace

KnobPanel::KnobPanel(std::shared_ptr<KeyCombinationCapture> capture, QWidget* parent)
    : AssignmentPanel(std::move(capture), parent) {
    setObjectName(QStringLiteral("CairnelKnobView"));
    buildControls({"Knob action", "knobTree", "knobNameText", "knobFunctionText", "knobMacroText", "knobText",
                   "knobSave", "knobCancel"},
                  kLabelsTop);

    auto* title = new QLabel(QStringLiteral("Cairnel-Knob"), this);
    title->setObjectName(QStringLiteral("knobTitle"));
    QFont font = title->font();
    font.setPointSizeF(font.pointSizeF() * 1.4);
    font.setBold(true);
    title->setFont(font);
    const QRect area = pictureFrame();
    title->setGeometry(area.left(), area.top(), area.width(), 40);

    const std::span<const KnobAction> actions = knobActions();
    constexpr int kButtonWidth = 140;
    const int gap = (area.width() - int(actions.size()) * kButtonWidth) / int(actions.size() + 1);
    for (size_t i = 0; i < actions.size(); ++i) {
        auto* b = new QToolButton(this);
        b->setObjectName(QString::fromLatin1(kButtons[i].objectName));
        b->setText(QString::fromLatin1(kButtons[i].title));
        b->setToolButtonStyle(Qt::ToolButtonTextUnderIcon);
        b->setAutoRaise(true);
        b->setCursor(Qt::PointingHandCursor);
        b->setGeometry(area.left() + gap + int(i) * (kButtonWidth + gap), area.top() + 70, kButtonWidth, 130);
        setImage(b, kKnobButtonNormal);
        const int tag = actions[i].tag;
        b->setProperty("tag", tag);
        connect(b, &QToolButton::clicked, this, [this, tag] { knobButtonMessage(tag); });
        knobButtons[i] = b;
    }
}

QString KnobPanel::imageOf(const QToolButton* button) {
    return button ? button->property(kImageProperty).toString() : QString();
}

void KnobPanel::setImage(QToolButton* button, const char* image) {
    const QString name = QString::fromLatin1(image);
    button->setProperty(kImageProperty, name);
    const QPixmap pm = keyloomImage(name);
    button->setIcon(pm);
    button->setIconSize(pm.deviceIndependentSize().toSize());
}

QToolButton* KnobPanel::buttonOf(int64_t code) const {
    const auto action = knobActionForCode(code);
    return action ? knobButtons[size_t(action->selectKnobItem - 1)] : nullptr;
}

void KnobPanel::selectProfile(int64_t profile) {
    if (!context()) return;
    std::vector<KeyMacro> rows;
    context()->deviceDB().queryKnobMacroFromProfile(profile, rows);
    for (const KeyMacro& row : rows)
        if (QToolButton* b = buttonOf(row.keyValue)) setImage(b, kKnobButtonCheck);
}

void KnobPanel::knobButtonMessage(int controlTag) {
    const auto action = knobActionForTag(controlTag);
    if (!action) return;
    selectKnobItem = action->selectKnobItem;
    currentKnobValue = action->code;
    for (size_t i = 0; i < knobButtons.size(); ++i) {
        const bool chosen = int(i) + 1 == selectKnobItem;
        setImage(knobButtons[i], knobButtonImageAfterChoice(imageOf(knobButtons[i]).toStdString(), chosen));
    }
    const QString name = codeName(currentKnobValue);
    nameText->setText(name);
    functionText->setText(QStringLiteral("Keyboard"));
    macroText->setText(name);
    collapseAllRows(tree);

    std::vector<KeyMacro> rows;
    if (!context() || !context()->deviceDB().queryKnobProfile(context()->currentProfile(), currentKnobValue, rows) ||
        rows.empty()) {
        selectVisibleRow(tree, 0);
        return;
    }
    const KeyMacro& row = rows.front();
    showLabels(row.macroType, nameText->text(), row.macroDesc);
    updateMacro(row);
}

const char* KnobPanel::noChoiceAlert() const {
    return kAlertChooseKnob;
}

int64_t KnobPanel::storeRow(DeviceSQLite& db, const KeyMacro& row) const {
    return db.addKnobProfile(row);
}

void KnobPanel::markAssigned(int64_t macroType) {
    if (QToolButton* b = buttonOf(currentKnobValue)) setImage(b, knobButtonImageAfterStore(macroType));
}

}  // namespace keyloom
