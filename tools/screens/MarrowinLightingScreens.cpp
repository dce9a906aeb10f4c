#include <QCheckBox>
#include <QListWidget>

#include "CustomControl/KeyboardView.h"
#include "CustomControl/SelectKeyView.h"
#include "ScreenGallery.h"
#include "Views/Keyboard/Marrowin/MarrowinRadiRGBView.h"
#include "Views/Keyboard/Marrowin/MarrowinViewController.h"
#include "Views/Keyboard/Marrowin/MarrowinWindowViewController.h"
#include "Views/Keyboard/Marrowin/core/MarrowinEditorContext.h"

namespace keyloom {

// The second-generation editor's lighting tab in three modes: the opening mode (one colour), a mode with
// direction buttons, and the per-key mode with some keys painted and a group framed.
void renderMarrowinLighting(ScreenContext& ctx) {
    auto* window = openMarrowinEditor(ctx);
    if (!window) return;
    MarrowinViewController* editor = window->contentViewController();
    editor->ShowRadiRGBView();
    MarrowinRadiRGBView* lighting = editor->RadiRGBView;
    editor->context().waitForExchanges();
    ctx.save(window, "marrowin-lighting-static");

    lighting->lightModeTable->setCurrentRow(10);  // "Rolling": two direction buttons
    editor->context().waitForExchanges();
    ctx.save(window, "marrowin-lighting-rolling");

    lighting->lightModeTable->setCurrentRow(19);  // "UserDefine": per-key colours
    // As the user does it: frame a group with its check box, choose a colour; then the next group.
    const auto box = [lighting](int tag) {
        return lighting->findChild<QCheckBox*>(QStringLiteral("customKeys%1").arg(tag));
    };
    for (const auto& [tag, colour] : {std::pair{653, QColor(255, 60, 40)}, std::pair{651, QColor(40, 120, 255)}}) {
        box(650)->click();
        box(650)->click();  // all frames off
        box(tag)->click();
        lighting->colorWellChange(colour);
    }
    editor->context().waitForExchanges();
    ctx.save(window, "marrowin-lighting-perkey");
    ctx.closeEditor();
}

}  // namespace keyloom
