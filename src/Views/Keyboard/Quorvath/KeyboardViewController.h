#pragma once

#include <QString>
#include <QWidget>
#include <array>
#include <memory>
#include <vector>

#include "CustomControl/KeyData.h"
#include "platform/hid/HidHandle.h"

class QPushButton;

namespace keyloom {

class KeyboardEditorContext;
class KeyboardPanel;
class KeyPanel;
class KnobPanel;
class LightingPanel;
class SettingsPanel;

// The first-generation editor's content: a strip of four tab buttons and the four panels. A thin coordinator: it
// opens the keyboard on the first appearance, hands the shared context to the panels, and switches tabs; the
// panels do the tabs' work (see KeyboardPanel for how a panel is added and how it stores and sends).
class KeyboardViewController : public QWidget {
    Q_OBJECT

  public:
    static constexpr int kWidth = 1040;
    static constexpr int kHeight = 560;

    explicit KeyboardViewController(QWidget* parent = nullptr);
    ~KeyboardViewController() override;

    // Set by the home screen before the window is shown.
    HidHandleRef kbHIDdevice;
    QString keyboardTitle;

    // Lifecycle.
    void viewDidLoad();
    void viewDidAppear();
    void viewDidDisappear();
    void windowClose();

    void initViewUI();
    // Opens the keyboard: channel, version read, ids, database file name, device type, database.
    void initSQLite();
    // The model's key list, placed once for the three pictures (key, lighting and settings tabs).
    void initKeyboardUI();
    // Loads the profile into every panel; stores and sends nothing of its own.
    void selectProfile(int64_t profile);

    // Tab buttons: 1 keys, 2 knob, 3 lighting, 4 settings.
    void ShowKeyCustomView();
    void ShowCairnelKnobView();
    void ShowRadiRGBView();
    void ShowSettingsView();
    void removePreView();

    // The tab shown (1..4; 0 before initViewUI()).
    int viewType() const { return viewType_; }
    // Null until the first appearance has opened the keyboard.
    KeyboardEditorContext* context() const { return context_.get(); }
    const std::vector<KeyData>& keyDataArray() const { return keyDataArray_; }

    QPushButton* KeyCustomBtn = nullptr;
    QPushButton* CairnolKnobBtn = nullptr;
    QPushButton* RadiRGBBtn = nullptr;
    QPushButton* SettingsBtn = nullptr;
    KeyPanel* KeyCustomView = nullptr;
    KnobPanel* CairnelKnobView = nullptr;
    LightingPanel* RadiRGBView = nullptr;
    SettingsPanel* SettingsView = nullptr;

    // Image name shown by a tab button.
    static QString imageNameOf(const QWidget* control);

  protected:
    void showEvent(QShowEvent* event) override;
    void hideEvent(QHideEvent* event) override;

  private:
    struct Tab {
        KeyboardPanel* panel;
        QPushButton* button;
        const char* icon;
    };
    std::array<Tab, 4> tabs() const;
    void showTab(int n);

    int viewType_ = 0;
    std::unique_ptr<KeyboardEditorContext> context_;
    std::vector<KeyData> keyDataArray_;
};

}  // namespace keyloom
