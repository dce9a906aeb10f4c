#include "ScreenGallery.h"
#include "Views/Keyboard/Quorvath/KeyboardViewController.h"
#include "Views/Keyboard/Quorvath/KeyboardWindowViewController.h"
#include "Views/Keyboard/Quorvath/core/KeyboardEditorContext.h"

namespace keyloom {

// The first-generation editor, opened by a click on the home screen's picture, one shot per tab.
void renderKeyboardEditor(ScreenContext& ctx) {
    auto* window = openKeyboardEditor(ctx);
    if (!window) return;
    KeyboardViewController* editor = window->contentViewController();
    const struct {
        void (KeyboardViewController::*show)();
        const char* screen;
    } tabs[] = {
        {&KeyboardViewController::ShowKeyCustomView, "editor-keys"},
        {&KeyboardViewController::ShowCairnelKnobView, "editor-knob"},
        {&KeyboardViewController::ShowRadiRGBView, "editor-lighting"},
        {&KeyboardViewController::ShowSettingsView, "editor-settings"},
    };
    for (const auto& tab : tabs) {
        (editor->*tab.show)();
        editor->context()->waitForIdle();
        ctx.save(window, tab.screen);
    }
    ctx.closeEditor();
}

}  // namespace keyloom
