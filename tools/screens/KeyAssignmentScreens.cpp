#include <QPushButton>
#include <QToolButton>

#include "ScreenGallery.h"
#include "Views/Keyboard/DataSource/TreeNodeItemModel.h"
#include "Views/Keyboard/Quorvath/KeyPanel.h"
#include "Views/Keyboard/Quorvath/KeyboardViewController.h"
#include "Views/Keyboard/Quorvath/KeyboardWindowViewController.h"
#include "Views/Keyboard/Quorvath/KnobPanel.h"
#include "Views/Keyboard/Quorvath/core/KeyboardEditorContext.h"

namespace keyloom {

namespace {

// Selects the row of the collapsed tree, expanding the category at expandRow first.
void choose(AssignmentPanel* panel, int row, int expandRow = -1) {
    collapseAllRows(panel->tree);
    if (expandRow >= 0) expandVisibleRow(panel->tree, expandRow);
    selectVisibleRow(panel->tree, row);
}

}  // namespace

// The key and knob tabs at work: assignments saved, a key with a stored one clicked, the capture waiting for keys,
// a knob action chosen beside one that has a function.
void renderKeyAssignment(ScreenContext& ctx) {
    auto* window = openKeyboardEditor(ctx);
    if (!window) return;
    KeyboardViewController* editor = window->contentViewController();

    KeyPanel* keys = editor->KeyCustomView;
    editor->ShowKeyCustomView();
    const struct {
        const char* key;
        int row, expandRow;
    } saved[] = {{"c", 10, 6}, {"escape", 1, -1}, {"f5", 7, 5}};  // Copy, Disable, Stop
    for (const auto& s : saved) {
        keys->customkeyAction(s.key);
        choose(keys, s.row, s.expandRow);
        keys->saveButton->click();
    }
    keys->customkeyAction("c");
    editor->context()->waitForIdle();
    ctx.save(window, "editor-keys-stored");

    keys->customkeyAction("space");
    choose(keys, 2);  // Keyboard function: the field waits for the keys to be held
    ctx.save(window, "editor-keys-capture");
    choose(keys, 0);

    editor->ShowCairnelKnobView();
    KnobPanel* knob = editor->CairnelKnobView;
    knob->knobButtonMessage(522);
    choose(knob, 9, 4);  // Mouse Button 5
    knob->saveButton->click();
    knob->knobButtonMessage(521);
    editor->context()->waitForIdle();
    ctx.save(window, "editor-knob-chosen");

    ctx.closeEditor();
}

}  // namespace keyloom
