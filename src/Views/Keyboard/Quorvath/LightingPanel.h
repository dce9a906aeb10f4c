#pragma once

#include <QColor>
#include <array>
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "SQLite/RGBData.h"
#include "SQLite/RadiData.h"
#include "Views/Keyboard/Quorvath/KeyboardPanel.h"
#include "Views/Keyboard/Quorvath/core/QuorvathLighting.h"

class QCheckBox;
class QLabel;
class QListWidget;
class QPushButton;
class QSlider;

namespace keyloom {

class LevelIndicator;

// Panel of the lighting tab: the ten light modes, the shown mode's brightness, speed, colour mode, direction and
// colour, and in the custom mode per-key colours with the key groups and Reset.
//
// Each user change reads the shown mode's stored record, stores the changed record (one transaction), and only when
// that was stored hands the keyboard its record (or, for key colours, the whole per-key block) on the keyboard's
// worker. A record or block still queued when a newer one of its kind arrives is dropped, so a dragged slider or
// colour sends only what is current. Showing a mode stores its selection and sends the lighting read, the default
// record when the keyboard asks for it, and the mode's record. Without a profile database nothing is sent.
// Controls react to user signals only; loading a profile stores nothing but the selected mode. Main thread only.
class LightingPanel : public KeyboardPanel {
    Q_OBJECT

  public:
    explicit LightingPanel(QWidget* parent = nullptr);
    void initKeyboardUI(const std::vector<KeyData>& keys) override;
    // Gives the profile its lighting rows and shows its selected mode in full (sent again even if shown last).
    void selectProfile(int64_t profile) override;

    // The mode list.
    void initTableData();
    // A row was selected: the row's mode becomes the profile's selected mode, then it is shown.
    void ResetLightOption(int index);
    // Shows a mode and sends it; nothing when it is the mode shown last.
    void setBacklightMode(int64_t profile, int64_t lightmode);
    // The mode shown last; 0 before any, -1 to force the next show.
    int64_t currentLightMode() const { return currentLightMode_; }

    // The controls' actions (public for the benchmark's scripted user).
    void backlightBrightnessChange(int value);
    void backlightSpeedChange(int value);
    void backlightColorModeStatus(bool status);
    void backlightDirection(int type);
    void colorWellChange(const QColor& colorvalue);
    void customKeysSelect(int tag, bool status);
    void resetAllKeys();
    // Stores the LED-group rows given and every cap's colour of the picture for the profile in one transaction, then
    // sends the per-key block built from the profile's stored rows. Nothing is sent when the store failed.
    void setCustomKeyRGB(int64_t profile, int64_t radiId, const std::vector<RGBData>& groupRows = {});

    // Outlets; the picture is made by initKeyboardUI().
    KeyboardView* radiKeyboardView = nullptr;
    QListWidget* lightModeTable = nullptr;
    QSlider* lightbrightnessSlider = nullptr;
    LevelIndicator* lightspeedLevel = nullptr;
    QLabel* lightRandomColor = nullptr;
    QCheckBox* lightRandomCheck = nullptr;
    QPushButton* lightRandomColorWell = nullptr;
    QWidget* directionView = nullptr;
    QWidget* selectionView = nullptr;
    // The colour the well shows.
    QColor wellColor() const { return wellColor_; }

  private:
    void buildControls();
    void buildSelectionView();
    // The stored record of (profile, mode); all zero without a database; nullopt when the database has no row.
    std::optional<RadiData> storedRecord(int64_t profile, int64_t mode) const;
    // Reads the shown mode's record, lets change make the new one, stores it and sends it when stored.
    template <typename Change>
    void changeRecord(Change change);
    void showControls(int64_t mode, const LightingRecord& record);
    void paintStoredKeyColours(int64_t profile);
    void sendKeyColourBlock(int64_t profile);
    void setWellColor(const QColor& color);
    void openColorWell();
    QCheckBox* box(int tag) const;
    // The picture's caps by name, in picture order.
    std::vector<std::string> capNames() const;

    int64_t currentLightMode_ = 0;
    QColor wellColor_;
    std::array<QCheckBox*, 9> boxes_{};  // tags 650..658
};

}  // namespace keyloom
