#include "Views/Keyboard/Shared/LevelIndicator.h"

#include <QKeyEvent>
#include <QMouseEvent>
#include <QPainter>
#include <algorithm>

namespace keyloom {

namespace {

constexpr double kGap = 3.0;

}  // namespace

LevelIndicator::LevelIndicator(int maximum, QWidget* parent) : QWidget(parent), maximum_(std::max(1, maximum)) {
    setFocusPolicy(Qt::StrongFocus);
    setCursor(Qt::PointingHandCursor);
}

void LevelIndicator::setValue(int value) {
    const int v = std::clamp(value, 0, maximum_);
    if (v == value_) return;
    value_ = v;
    update();
}

QSize LevelIndicator::sizeHint() const {
    return QSize(maximum_ * 24, 18);
}

QRectF LevelIndicator::segment(int level) const {
    const double w = (width() - kGap * (maximum_ - 1)) / maximum_;
    return QRectF((level - 1) * (w + kGap), 2, w, height() - 4);
}

int LevelIndicator::levelAt(double x) const {
    const double step = double(width() + kGap) / maximum_;
    return std::clamp(int(x / step) + 1, 1, maximum_);
}

void LevelIndicator::paintEvent(QPaintEvent*) {
    QPainter p(this);
    p.setRenderHint(QPainter::Antialiasing);
    const QPalette& pal = palette();
    const QColor lit = isEnabled() ? pal.color(QPalette::Highlight) : pal.color(QPalette::Disabled, QPalette::Mid);
    const QColor frame = pal.color(isEnabled() ? QPalette::Active : QPalette::Disabled, QPalette::Mid);
    for (int level = 1; level <= maximum_; ++level) {
        p.setPen(QPen(frame, 1));
        p.setBrush(level <= value_ ? lit : pal.color(QPalette::Base));
        p.drawRoundedRect(segment(level).adjusted(0.5, 0.5, -0.5, -0.5), 2, 2);
    }
    if (hasFocus()) {
        p.setPen(QPen(pal.color(QPalette::Highlight), 1, Qt::DotLine));
        p.setBrush(Qt::NoBrush);
        p.drawRect(rect().adjusted(0, 0, -1, -1));
    }
}

void LevelIndicator::edit(int value) {
    const int v = std::clamp(value, 1, maximum_);
    if (v == value_) return;
    value_ = v;
    update();
    Q_EMIT valueEdited(v);
}

void LevelIndicator::mousePressEvent(QMouseEvent* event) {
    if (event->button() != Qt::LeftButton) return QWidget::mousePressEvent(event);
    edit(levelAt(event->position().x()));
}

void LevelIndicator::mouseMoveEvent(QMouseEvent* event) {
    if (!(event->buttons() & Qt::LeftButton)) return QWidget::mouseMoveEvent(event);
    edit(levelAt(event->position().x()));
}

void LevelIndicator::keyPressEvent(QKeyEvent* event) {
    switch (event->key()) {
        case Qt::Key_Right:
        case Qt::Key_Up:
            edit(value_ + 1);
            break;
        case Qt::Key_Left:
        case Qt::Key_Down:
            edit(value_ - 1);
            break;
        default:
            QWidget::keyPressEvent(event);
    }
}

}  // namespace keyloom
