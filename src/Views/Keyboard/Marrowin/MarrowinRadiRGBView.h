#pragma once

#include <QColor>
#include <QPointer>
#include <cstdint>
#include <optional>
#include <vector>

#include "Views/Keyboard/Marrowin/MarrowinPanel.h"

class QAbstractButton;
class QButtonGroup;
class QCheckBox;
class QComboBox;
class QLabel;
class QListWidget;
class QPushButton;
class QSlider;

namespace keyloom {

class KeyboardView;

// The lighting tab of the second-generation editor: the 20 light modes, the controls of the shown mode, and in mode
// 20 per-key colours painted on the lighting picture with the key groups.
//
// Every user action stores its rows in one transaction, then hands the whole lighting block of the profile to the
// keyboard's worker (a queued upload is replaced by a newer one). Loading a profile and showing a mode store nothing
// but the mode choice itself; controls react to user signals only. Main thread only.
class MarrowinRadiRGBView : public MarrowinPanel {
    Q_OBJECT

  public:
    // Slider ranges. The speed slider shows the stored byte + 1.
    static constexpr int kBrightnessMax = 15;
    static constexpr int kSpeedMin = 1;
    static constexpr int kSpeedMax = 16;

    explicit MarrowinRadiRGBView(MarrowinEditorContext& context, QWidget* parent = nullptr);

    void picturesBuilt(bool first) override;
    void profileLoaded(int64_t profile) override;
    void panelRemoved() override;

    // The mode list and the shown mode.
    void initTableData();
    void ResetLightOption(int64_t index);
    void setBacklightMode(int64_t profile, int64_t lightmode);
    int64_t currentLightMode() const { return currentLightMode_; }

    // The controls' actions.
    void backlightBrightnessChange(int64_t value);
    void backlightSpeedChange(int64_t value);
    void backlightColorModeStatus(bool status);
    void backlightDirection(int64_t type);
    void colorWellChange(const QColor& colorvalue);
    void customKeysSelect(int64_t tag, bool status);
    void resetAllKeys();

    // Sends the profile's whole stored lighting to the keyboard (nothing when it cannot be read).
    void setBackLightData(int64_t profile);

    // Outlets.
    QPointer<QComboBox> radiKBLayoutSelect;
    QPointer<QComboBox> ostrel62LightKBLayoutSelect;
    QPointer<KeyboardView> radiKeyboardView;
    QPointer<QListWidget> lightModeTable;
    QPointer<QSlider> lightbrightnessSlider;
    QPointer<QSlider> lightspeedLevel;
    QPointer<QLabel> lightRandomColor;
    QPointer<QCheckBox> lightRandomCheck;
    QPointer<QPushButton> lightRandomColorWell;
    QPointer<QWidget> directionView;
    QPointer<QWidget> selectionView;

  private:
    void buildControls();
    // Shows the controls of a mode from its record, without storing or sending.
    void showControls(int64_t mode, const std::vector<uint8_t>& record);
    // Paints the picture for a mode (its record colour, or the stored per-key colours), without storing or sending.
    void paintPicture(int64_t mode, const std::vector<uint8_t>& record);
    void paintStoredKeyColours(int64_t profile);
    // Stores every cap's shown colour as the mode-20 per-key colours, in one transaction; true when stored.
    bool storeShownKeyColours(int64_t radiId);
    // Changes one byte of the shown mode's record; uploads when it was stored.
    void changeRecord(size_t byte, uint8_t value);
    void nameGroupsByTheirKeys();
    void setWellColor(const QColor& color);
    void openColorWell();

    int64_t currentLightMode_ = 0;
    QColor wellColor_;
    QButtonGroup* directionButtons_ = nullptr;
    std::vector<QPointer<QCheckBox>> groupChecks_;  // tags 650..654
};

}  // namespace keyloom
