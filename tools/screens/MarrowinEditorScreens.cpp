#include "ScreenGallery.h"
#include "Views/Home/AppState.h"
#include "Views/Home/HomeViewController.h"
#include "Views/Keyboard/MarrowinEditorContext.h"
#include "Views/Keyboard/MarrowinKeyCustomView.h"
#include "Views/Keyboard/MarrowinViewController.h"
#include "Views/Keyboard/MarrowinWindowViewController.h"

namespace keyloom {

// The second-generation editor, opened by a click on the home screen's picture, one shot per tab; the key tab with
// Escape chosen, so its labels and tree selection show.
void renderMarrowinEditor(ScreenContext& ctx) {
    ctx.home()->deviceImageAction();
    if (!ctx.waitFor([] { return !KEYBOARD_VIEW.isNull(); })) return;
    auto* window = qobject_cast<MarrowinWindowViewController*>(KEYBOARD_VIEW.data());
    if (!window) return;
    MarrowinViewController* editor = window->contentViewController();
    if (!ctx.waitFor([editor] { return editor->context().isOpen(); })) return;
    editor->ShowKeyCustomView();
    editor->customkeyAction("escape");
    ctx.save(window, "editor-keys");
    editor->ShowRadiRGBView();
    editor->context().waitForExchanges();
    ctx.save(window, "editor-lighting");
    window->close();
    ctx.waitFor([] { return KEYBOARD_VIEW.isNull(); });
}

}  // namespace keyloom
