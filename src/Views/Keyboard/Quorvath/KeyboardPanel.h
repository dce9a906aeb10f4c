#pragma once

#include <QWidget>
#include <cstdint>
#include <vector>

#include "CustomControl/KeyData.h"

namespace keyloom {

class KeyboardEditorContext;
class KeyboardView;

// One tab of the first-generation editor. KeyboardViewController only switches tabs and runs the editor's steps in
// order; each panel owns its widgets and does its tab's work.
//
// Adding a panel: derive from KeyboardPanel, build the widgets in the constructor (objectNames on every control),
// then give it a tab in KeyboardViewController (its button with icon name, and its place in the calls below).
// The controller calls, in this order:
//   attach(context)          when the editor has opened its keyboard (the context lives until the window closes);
//   initKeyboardUI(keys)     once, with the model's key list, to build the tab's picture (if it has one);
//   selectProfile(profile)   each time a profile is shown: fill the controls from the store, sending nothing;
//   panelWillHide()          before another tab replaces it;
//   windowWillClose()        when the editor window closes.
//
// Storing and sending (the window never waits on a keyboard): a user action first stores its rows with
// context()->store(...) (one transaction), then queues its exchange with context()->send(...) (or sendLatest for
// dragged values), in the order the keyboard must receive them. What the screen needs back from the keyboard
// arrives through context()->exchange(...) on the main thread. Controls react to user signals only (clicked,
// textEdited, sliderMoved...); programmatic sets run under a QSignalBlocker, so loading never stores or sends.
class KeyboardPanel : public QWidget {
    Q_OBJECT

  public:
    // The panels' size and the spot of the tab's keyboard picture, in the panel's own coordinates (origin top left).
    static constexpr int kWidth = 1000;
    static constexpr int kHeight = 560;
    static QRect pictureFrame();

    explicit KeyboardPanel(QWidget* parent = nullptr);

    void attach(KeyboardEditorContext* context);
    virtual void initKeyboardUI(const std::vector<KeyData>& keys);
    virtual void selectProfile(int64_t profile);
    virtual void panelWillHide();
    virtual void windowWillClose();

  protected:
    // Null until the editor has opened its keyboard.
    KeyboardEditorContext* context() const { return context_; }
    virtual void contextAttached() {}
    // Builds a keyboard picture of the given type (0 key assignment, 1 lighting) at pictureFrame().
    KeyboardView* addPicture(int type, const std::vector<KeyData>& keys, const QString& objectName);

  private:
    KeyboardEditorContext* context_ = nullptr;
};

}  // namespace keyloom
