#pragma once

#include <QWidget>

namespace keyloom {

// A row of segments showing a level 1..maximum, lit up to the value; 0 lights none (a mode without the setting shows
// it disabled at 0). The user picks a level by clicking or dragging over a segment, or with the arrow keys:
// valueEdited() is emitted for those only, once per level reached; setValue() is silent.
class LevelIndicator : public QWidget {
    Q_OBJECT

  public:
    explicit LevelIndicator(int maximum, QWidget* parent = nullptr);

    int value() const { return value_; }
    int maximum() const { return maximum_; }
    // Clamped to 0..maximum.
    void setValue(int value);

    QSize sizeHint() const override;

  Q_SIGNALS:
    void valueEdited(int value);

  protected:
    void paintEvent(QPaintEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;

  private:
    QRectF segment(int level) const;  // level 1..maximum
    int levelAt(double x) const;
    void edit(int value);

    int maximum_;
    int value_ = 0;
};

}  // namespace keyloom
