#pragma once

#include <array>

#include "Views/Keyboard/Quorvath/AssignmentPanel.h"

class QToolButton;

namespace keyloom {

// Panel of the knob tab: the option tree, the knob's four actions (single click, double click, turn forward, turn
// backward: key codes 250 to 253), the chosen action's function, the bind field, Save and Cancel. Each action's
// button shows whether it is the chosen one and whether it has a stored row.
class KnobPanel : public AssignmentPanel {
    Q_OBJECT

  public:
    explicit KnobPanel(std::shared_ptr<KeyCombinationCapture> capture = nullptr, QWidget* parent = nullptr);
    // Checks the buttons of the actions that have a stored row; stores and sends nothing.
    void selectProfile(int64_t profile) override;

    // A knob button was clicked (tags 520 to 523; any other tag does nothing): chooses its action and shows what it
    // is assigned.
    void knobButtonMessage(int controlTag);

    // Buttons in the order single, double, forward, backward (tags 520 to 523).
    std::array<QToolButton*, 4> knobButtons{};
    // The chosen action, 1 to 4, and its key code, 250 to 253; 0 before the first click.
    int selectKnobItem = 0;
    int64_t currentKnobValue = 0;

    // The image a knob button shows ("img_knobbutton_normal", "_down" or "_check").
    static QString imageOf(const QToolButton* button);

  protected:
    int64_t chosenCode() const override { return currentKnobValue; }
    const char* noChoiceAlert() const override;
    int64_t storeRow(DeviceSQLite& db, const KeyMacro& row) const override;
    void markAssigned(int64_t macroType) override;

  private:
    QToolButton* buttonOf(int64_t code) const;
    static void setImage(QToolButton* button, const char* image);
};

}  // namespace keyloom
