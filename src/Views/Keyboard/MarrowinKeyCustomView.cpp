#include "Views/Keyboard/MarrowinKeyCustomView.h"

#include <QComboBox>
#include <QLabel>
#include <QLineEdit>

#include "Views/Keyboard/MarrowinEditorContext.h"
#include "Views/Keyboard/core/MarrowinLayoutRules.h"

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

}  // namespace

MarrowinKeyCustomView::MarrowinKeyCustomView(MarrowinEditorContext& context, QWidget* parent)
    : MarrowinPanel(context, parent) {
    setObjectName(QStringLiteral("KeyCustomView"));
    keyLayoutSelect = makeLayoutCombo("keyLayoutSelect", kKeyLayoutSelectTag, MarrowinLayoutCombos::MarrowinV2);
    ostrel62KBLayoutSelect =
        makeLayoutCombo("ostrel62KBLayoutSelect", kOstrel62KBLayoutSelectTag, MarrowinLayoutCombos::OstrelTE62);

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
}

void MarrowinKeyCustomView::picturesBuilt(bool first) {
    (void)first;
}

void MarrowinKeyCustomView::profileLoaded(int64_t profile) {
    (void)profile;
}

}  // namespace keyloom
