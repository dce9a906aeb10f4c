#include "Views/Keyboard/MarrowinRadiRGBView.h"

#include <QComboBox>

#include "CustomControl/KeyDataList.h"
#include "CustomControl/KeyboardView.h"
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
    const MarrowinPicture picture = context_.picture();
    if (first || !radiKeyboardView) {
        radiKeyboardView = new KeyboardView(
            panelRect(picture.frame.x, picture.frame.y, picture.frame.width, picture.frame.height), this);
        radiKeyboardView->setObjectName(QStringLiteral("radiKeyboardView"));
    }
    radiKeyboardView->setDeviceType(context_.deviceType);
    radiKeyboardView->initUI(1, keyDataFromCaps(context_.caps()), context_.layoutIndex);
    radiKeyboardView->show();
}

}  // namespace keyloom
