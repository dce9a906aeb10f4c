#include "Views/Keyboard/MarrowinRadiRGBView.h"

#include <QComboBox>

#include "Views/Keyboard/MarrowinEditorContext.h"
#include "Views/Keyboard/core/MarrowinLayoutRules.h"

namespace keyloom {

MarrowinRadiRGBView::MarrowinRadiRGBView(MarrowinEditorContext& context, QWidget* parent)
    : MarrowinPanel(context, parent) {
    setObjectName(QStringLiteral("RadiRGBView"));
    radiKBLayoutSelect =
        makeLayoutCombo("radiKBLayoutSelect", kRadiKBLayoutSelectTag, MarrowinLayoutCombos::MarrowinV2);
    ostrel62LightKBLayoutSelect = makeLayoutCombo("ostrel62LightKBLayoutSelect", kOstrel62LightKBLayoutSelectTag,
                                                  MarrowinLayoutCombos::OstrelTE62);
}

void MarrowinRadiRGBView::picturesBuilt(bool first) {
    (void)first;
}

}  // namespace keyloom
