#include <QTreeView>

#include "Keylogger/CallBackFunctions.h"
#include "ScreenGallery.h"
#include "Views/Keyboard/DataSource/TreeNodeItemModel.h"
#include "Views/Keyboard/Marrowin/MarrowinKeyCustomView.h"
#include "Views/Keyboard/Marrowin/MarrowinViewController.h"
#include "Views/Keyboard/Marrowin/MarrowinWindowViewController.h"
#include "Views/Keyboard/Marrowin/core/MarrowinEditorContext.h"

namespace keyloom {

namespace {

void chooseRow(QTreeView* tree, const QString& name) {
    QAbstractItemModel* model = tree->model();
    for (int r = 0; r < model->rowCount(); ++r) {
        const QModelIndex top = model->index(r, 0);
        QModelIndex found = top.data().toString() == name ? top : QModelIndex();
        for (int c = 0; c < model->rowCount(top) && !found.isValid(); ++c)
            if (model->index(c, 0, top).data().toString() == name) found = model->index(c, 0, top);
        if (!found.isValid()) continue;
        if (found.parent().isValid()) tree->expand(found.parent());
        tree->selectionModel()->setCurrentIndex(found, QItemSelectionModel::ClearAndSelect);
        return;
    }
}

}  // namespace

// The second-generation key tab after three assignments made as a user makes them: Disable on A, Scroll Down on S,
// and Left Control + C held on the keyboard for D, which stays chosen with its combination shown.
void renderMarrowinKeys(ScreenContext& ctx) {
    auto* window = openMarrowinEditor(ctx);
    if (!window) return;
    MarrowinViewController* editor = window->contentViewController();
    editor->ShowKeyCustomView();
    MarrowinKeyCustomView* keys = editor->KeyCustomView;
    const auto assign = [&](const char* cap, const QString& row, bool hold) {
        editor->customkeyAction(cap);
        if (keys->currentKeyValue < 1) return;  // no such cap on this model
        chooseRow(keys->keycustomTree, row);
        if (hold) {  // as the key capture records Left Control, then C
            CallBackFunctions::recordKeyPressed(1, 224);
            CallBackFunctions::recordKeyPressed(1, 6);
            keys->fillBindInput();
            CallBackFunctions::recordKeyPressed(0, 6);
            CallBackFunctions::recordKeyPressed(0, 224);
        }
        keys->customKeySaveButton();
    };
    assign("a", QStringLiteral("Disable"), false);
    assign("s", QStringLiteral("Scroll Down"), false);
    assign("d", QStringLiteral("Keyboard function"), true);
    editor->context().waitForExchanges();
    ctx.save(window, "marrowin-keys");
    ctx.closeEditor();
}

}  // namespace keyloom
