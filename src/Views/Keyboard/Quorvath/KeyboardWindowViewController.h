#pragma once

#include "Views/Keyboard/Shared/EditorWindow.h"

namespace keyloom {

struct KeyboardSegueSender;
class KeyboardViewController;

// The first-generation editor's window: close and minimise only, movable by its background, centred, deleted when
// closed. Closing it clears KEYBOARD_VIEW (so the home screen can open an editor again), hides the colour panel and
// releases the keyboard's channel and database with the content.
class KeyboardWindowViewController : public EditorWindow {
    Q_OBJECT

  public:
    explicit KeyboardWindowViewController(QWidget* parent = nullptr);
    ~KeyboardWindowViewController() override;

    KeyboardViewController* contentViewController() const { return content_; }
    void windowDidLoad();

  protected:
    void closeEvent(QCloseEvent* event) override;

  private:
    KeyboardViewController* content_ = nullptr;
};

// The "showkeyboard" transition: hands the device and title to a new editor and shows it, centred and in front,
// unless an editor is open already (that one is brought forward instead). The sender is a KeyboardSegueSender.
void showKeyboardEditor(const KeyboardSegueSender& sender);

// Registers "showkeyboard" with the transition registry (the program's entry calls this once).
void registerKeyboardEditorSegue();

}  // namespace keyloom
