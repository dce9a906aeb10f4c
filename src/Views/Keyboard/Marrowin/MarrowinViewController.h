#pragma once

#include <QPointer>
#include <QString>
#include <QWidget>
#include <cstdint>
#include <memory>
#include <string>

#include "platform/NotificationCenter.h"
#include "platform/hid/HidHandle.h"

class QComboBox;
class QPushButton;

namespace keyloom {

class MarrowinEditorContext;
class MarrowinKeyCustomView;
class MarrowinRadiRGBView;
class MarrowinPanel;

// The second-generation editor: a thin coordinator. It opens the keyboard once (first appearance with a keyboard),
// chooses and stores the keyboard layout, builds the pictures of both tabs through their panels, and switches the
// tabs. Each tab is a panel of its own (MarrowinPanel); what they share is the MarrowinEditorContext. The work of the
// operations named after the controller's actions lives in the panels. Main thread only.
class MarrowinViewController : public QWidget {
    Q_OBJECT

  public:
    explicit MarrowinViewController(QWidget* parent = nullptr);
    ~MarrowinViewController() override;

    // Set by the home screen before the window is shown.
    HidHandleRef kbHIDdevice;
    QString keyboardTitle;

    // Lifecycle.
    void viewDidLoad();
    void viewDidAppear();
    void viewDidDisappear();

    // Tabs.
    void ShowKeyCustomView();
    void ShowRadiRGBView();
    void initViewUI();
    void removePreView();

    // Model, profile and layout.
    void initSQLite();
    void updateLayout(int64_t profile);
    void selectProfile(int64_t profile);
    void customkeyAction(const std::string& keyname);
    // A layout combo box the user changed (tags 290 to 293).
    void KeyboardLayoutSelectAction(QComboBox* sender);

    // State.
    MarrowinEditorContext& context() const { return *context_; }
    int64_t viewType() const { return viewType_; }
    int64_t deviceType() const;
    int64_t currentProfile() const;
    const std::string& deviceDBfile() const;

    // Outlets: the tab buttons and the two panels (owned here, also while out of the window).
    QPointer<QPushButton> KeyCustomBtn;
    QPointer<QPushButton> RadiRGBBtn;
    MarrowinKeyCustomView* KeyCustomView = nullptr;
    MarrowinRadiRGBView* RadiRGBView = nullptr;

    static constexpr int kTabColumnWidth = 40;

  protected:
    void showEvent(QShowEvent* event) override;
    void hideEvent(QHideEvent* event) override;

  private:
    void showPanel(int64_t viewType);
    void buildPictures(bool first);
    void showLayoutCombos();

    std::unique_ptr<MarrowinEditorContext> context_;
    int64_t viewType_ = 0;
    Observation customKeyObservation_;
};

}  // namespace keyloom
