#include "ScreenGallery.h"
#include "Views/Keyboard/Marrowin/MarrowinKeyCustomView.h"
#include "Views/Keyboard/Marrowin/MarrowinViewController.h"
#include "Views/Keyboard/Marrowin/MarrowinWindowViewController.h"
#include "Views/Keyboard/Marrowin/core/MarrowinEditorContext.h"

namespace keyloom {

// The second-generation editor, opened by a click on the home screen's picture, one shot per tab; the key tab with
// Escape chosen, so its labels and tree selection show.
void renderMarrowinEditor(ScreenContext& ctx) {
    auto* window = openMarrowinEditor(ctx);
    if (!window) return;
    MarrowinViewController* editor = window->contentViewController();
    editor->ShowKeyCustomView();
    editor->customkeyAction("escape");
    ctx.save(window, "editor-keys");
    editor->ShowRadiRGBView();
    editor->context().waitForExchanges();
    ctx.save(window, "editor-lighting");
    ctx.closeEditor();
}

}  // namespace keyloom
