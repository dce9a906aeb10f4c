#pragma once

#include <QWidget>
#include <cstdint>

#include "Views/Keyboard/Marrowin/core/MarrowinModelChoice.h"

class QComboBox;

namespace keyloom {

class MarrowinEditorContext;

// One tab of the second-generation editor. MarrowinViewController owns the panels, shows one at a time and tells each
// what happened to the editor; a panel owns its widgets and its picture and reaches the keyboard and the profile only
// through the shared MarrowinEditorContext (see there for how a change is stored and sent).
//
// Adding a tab: derive from MarrowinPanel, build the widgets in the constructor (object names on every control the
// tests reach), implement the hooks below, and add the panel and its tab button in MarrowinViewController.
class MarrowinPanel : public QWidget {
    Q_OBJECT

  public:
    // The panels' size inside the editor.
    static constexpr int kWidth = 1000;
    static constexpr int kHeight = 560;

    MarrowinPanel(MarrowinEditorContext& context, QWidget* parent = nullptr);

    // The model's caps were placed: at the first appearance (first = true) and after each layout change. Lays the
    // panel's picture (again), without storing or sending.
    virtual void picturesBuilt(bool first) = 0;
    // A profile was loaded (once, after the first pictures).
    virtual void profileLoaded(int64_t profile) { (void)profile; }
    // The panel is taken out of the window (another tab is shown).
    virtual void panelRemoved() {}

    // Converts a frame given with its origin at the panel's bottom left to the panel's own (top-left) coordinates.
    static QRect panelRect(int64_t x, int64_t y, int64_t width, int64_t height);

  protected:
    // A keyboard-layout combo box with the items of a model's layouts, its tag (a "tag" property) and object name.
    // Not editable, so it always holds a choice; it reports only the user's choices (activated).
    QComboBox* makeLayoutCombo(const char* objectName, int tag, MarrowinLayoutCombos items);

    MarrowinEditorContext& context_;
};

}  // namespace keyloom
