#include "Views/Keyboard/Marrowin/MarrowinPanel.h"

#include <QComboBox>

#include "Views/Keyboard/Marrowin/core/MarrowinLayoutRules.h"

namespace keyloom {

MarrowinPanel::MarrowinPanel(MarrowinEditorContext& context, QWidget* parent) : QWidget(parent), context_(context) {
    setFixedSize(kWidth, kHeight);
}

QRect MarrowinPanel::panelRect(int64_t x, int64_t y, int64_t width, int64_t height) {
    return QRect(int(x), int(kHeight - y - height), int(width), int(height));
}

QComboBox* MarrowinPanel::makeLayoutCombo(const char* objectName, int tag, MarrowinLayoutCombos items) {
    auto* combo = new QComboBox(this);
    combo->setObjectName(QString::fromLatin1(objectName));
    combo->setProperty("tag", tag);
    combo->setEditable(false);
    combo->setFocusPolicy(Qt::NoFocus);  // keys held for a capture must not change the layout
    for (std::string_view item : layoutItems(items))
        combo->addItem(QString::fromUtf8(item.data(), qsizetype(item.size())));
    combo->setGeometry(kWidth - 7 - 200, 10, 200, 26);
    return combo;
}

}  // namespace keyloom
