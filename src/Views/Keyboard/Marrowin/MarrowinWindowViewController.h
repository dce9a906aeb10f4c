#pragma once

#include "Views/Keyboard/Shared/EditorWindow.h"

namespace keyloom {

class MarrowinViewController;

// The window of the second-generation editor: no zoom button, movable by its background, centred, light grey.
// Closing it deletes it (with the editor's channel and database) and clears KEYBOARD_VIEW when it is the open editor.
class MarrowinWindowViewController : public EditorWindow {
    Q_OBJECT

  public:
    explicit MarrowinWindowViewController(QWidget* parent = nullptr);
    ~MarrowinWindowViewController() override;

    MarrowinViewController* contentViewController() const { return content_; }
    void windowDidLoad();
    // This window is closing.
    void windowClose();

  protected:
    void closeEvent(QCloseEvent* event) override;

  private:
    MarrowinViewController* content_ = nullptr;
};

// Registers the transition "showmarrowinkb" (sender: a KeyboardSegueSender): opens the editor for the keyboard, or
// brings the open editor forward when there is one. Called once from the program's entry.
void registerMarrowinEditorSegue();

}  // namespace keyloom
