#pragma once

#include <QWidget>

class QToolButton;

namespace keyloom {

// Two arrow buttons that step a whole number within a range, without a text of their own (the field beside it
// shows the value). stepped() is emitted only for the user's clicks (and their auto-repeat); setValue() is silent.
class Stepper : public QWidget {
    Q_OBJECT

  public:
    explicit Stepper(QWidget* parent = nullptr);

    void setRange(int minimum, int maximum);
    void setSingleStep(int step) { step_ = step; }
    // Clamped to the range.
    void setValue(int value);
    int value() const { return value_; }
    int minimum() const { return min_; }
    int maximum() const { return max_; }

    QToolButton* upButton() const { return up_; }
    QToolButton* downButton() const { return down_; }

  Q_SIGNALS:
    void stepped(int value);

  private:
    void stepBy(int steps);

    QToolButton* up_ = nullptr;
    QToolButton* down_ = nullptr;
    int min_ = 0;
    int max_ = 99;
    int step_ = 1;
    int value_ = 0;
};

}  // namespace keyloom
