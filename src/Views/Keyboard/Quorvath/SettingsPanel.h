#pragma once

#include <QString>
#include <array>

#include "Views/Keyboard/Quorvath/KeyboardPanel.h"

class QButtonGroup;
class QCheckBox;
class QLineEdit;
class QPushButton;
class QRadioButton;

namespace keyloom {

class Stepper;

// Panel of the settings tab: the report rate, three idle times (check box, field, stepper each) and Restore.
// Every user change is stored at once in the profile and sent at once to the keyboard; there is no Save.
class SettingsPanel : public KeyboardPanel {
    Q_OBJECT

  public:
    explicit SettingsPanel(QWidget* parent = nullptr);

    void initKeyboardUI(const std::vector<KeyData>& keys) override;
    // Shows the stored settings; stores and sends nothing.
    void selectProfile(int64_t profile) override;
    void loadConfigData();

    // The user's actions (called by the controls; public for the benchmark's scripted user).
    void reportRateAction(int tag);
    void settimeCheckAction(int row, bool on);
    void setSleepTimeStepperAction(int row);
    void controlTextDidChange(int row, const QString& text);
    void restoreKeyboardAction();

    // Store and send the times from the fields' texts.
    void setUSBSleepTime();
    void setWirelessSleepTime();

    // One idle time: row 0 USB sleep (820/821/823), 1 wireless light-off (824/825/826), 2 wireless sleep
    // (827/828/829).
    struct SleepRow {
        QCheckBox* check = nullptr;
        QLineEdit* field = nullptr;
        Stepper* stepper = nullptr;
    };
    std::array<QRadioButton*, 4> reportRateButtons{};  // tags 1, 2, 4, 8
    std::array<SleepRow, 3> sleepRows{};
    QPushButton* restoreButton = nullptr;
    KeyboardView* settingsKeyboardView = nullptr;
    // The last accepted text of each time field (typed, or loaded); a refused edit puts it back.
    std::array<QString, 3> setTimeValue{};

  private:
    void buildControls();

    QButtonGroup* rateGroup_ = nullptr;
};

}  // namespace keyloom
