#include <QCheckBox>
#include <QColorDialog>
#include <QListWidget>
#include <QPushButton>

#include "ScreenGallery.h"
#include "Views/Keyboard/Quorvath/KeyboardViewController.h"
#include "Views/Keyboard/Quorvath/KeyboardWindowViewController.h"
#include "Views/Keyboard/Quorvath/LightingPanel.h"
#include "Views/Keyboard/Quorvath/core/KeyboardEditorContext.h"
#include "Views/Keyboard/Shared/SharedColorPanel.h"

namespace keyloom {

// The first-generation lighting tab in two more modes: one with the direction buttons, and the custom mode with
// keys and LED groups coloured through the group boxes and the colour panel, as a user does it.
void renderKeyboardLighting(ScreenContext& ctx) {
    auto* window = openKeyboardEditor(ctx);
    if (!window) return;
    KeyboardViewController* editor = window->contentViewController();
    editor->ShowRadiRGBView();
    LightingPanel* lighting = editor->RadiRGBView;

    lighting->lightModeTable->setCurrentRow(2);  // "Rainbow": the direction buttons
    editor->context()->waitForIdle();
    ctx.save(window, "editor-lighting-rainbow");

    lighting->lightModeTable->setCurrentRow(9);  // "Custom": per-key colours
    const auto box = [lighting](int tag) {
        return lighting->findChild<QCheckBox*>(QStringLiteral("customKeys%1").arg(tag));
    };
    const struct {
        int tag;
        QColor colour;
    } groups[] = {{658, QColor(255, 70, 40)}, {655, QColor(40, 140, 255)}, {656, QColor(60, 220, 90)}};
    for (const auto& group : groups) {
        box(650)->click();
        box(650)->click();  // every frame and box off
        box(group.tag)->click();
        lighting->lightRandomColorWell->click();
        if (QColorDialog* panel = sharedColorPanel()) panel->setCurrentColor(group.colour);
    }
    box(655)->click();  // W A S D framed again, as a user leaves it
    box(651)->click();
    closeSharedColorPanel();
    editor->context()->waitForIdle();
    ctx.save(window, "editor-lighting-custom");
    ctx.closeEditor();
}

}  // namespace keyloom
