#pragma once

#include <string>

#include "Views/Keyboard/Quorvath/AssignmentPanel.h"
#include "platform/NotificationCenter.h"

namespace keyloom {

// Panel of the key tab: the option tree, the key-assignment picture, the chosen key's function, the bind field,
// Save and Cancel. A click on a key of the picture chooses it and shows what it is assigned; keys with a stored row
// are marked on the picture.
class KeyPanel : public AssignmentPanel {
    Q_OBJECT

  public:
    explicit KeyPanel(std::shared_ptr<KeyCombinationCapture> capture = nullptr, QWidget* parent = nullptr);
    void initKeyboardUI(const std::vector<KeyData>& keys) override;
    // Marks the keys that have a stored row; stores and sends nothing.
    void selectProfile(int64_t profile) override;
    void queryKeyMacroData(int64_t profile);

    // A key of the picture was clicked (the "customkeyAction" notification): keyname is its name in the editor's
    // key map. A name the map does not know is ignored.
    void customkeyAction(const std::string& keyname);

    // The tab's keyboard picture, made by initKeyboardUI().
    KeyboardView* customKeyboardView = nullptr;
    // Code of the key last clicked; 0 before the first click.
    int64_t currentKeyValue = 0;

  protected:
    int64_t chosenCode() const override { return currentKeyValue; }
    const char* noChoiceAlert() const override;
    int64_t storeRow(DeviceSQLite& db, const KeyMacro& row) const override;
    void markAssigned(int64_t macroType) override;

  private:
    void markKey(int64_t code, bool marked);

    Observation keyClicks_;
};

}  // namespace keyloom
