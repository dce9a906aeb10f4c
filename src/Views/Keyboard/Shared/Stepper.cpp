#include "Views/Keyboard/Shared/Stepper.h"

#include <QToolButton>
#include <QVBoxLayout>
#include <algorithm>

namespace keyloom {

Stepper::Stepper(QWidget* parent) : QWidget(parent) {
    auto* column = new QVBoxLayout(this);
    column->setContentsMargins(0, 0, 0, 0);
    column->setSpacing(0);
    up_ = new QToolButton(this);
    down_ = new QToolButton(this);
    up_->setArrowType(Qt::UpArrow);
    down_->setArrowType(Qt::DownArrow);
    for (QToolButton* b : {up_, down_}) {
        b->setAutoRepeat(true);
        b->setFixedSize(18, 12);
        column->addWidget(b);
    }
    connect(up_, &QToolButton::clicked, this, [this] { stepBy(1); });
    connect(down_, &QToolButton::clicked, this, [this] { stepBy(-1); });
}

void Stepper::setRange(int minimum, int maximum) {
    min_ = minimum;
    max_ = std::max(minimum, maximum);
    value_ = std::clamp(value_, min_, max_);
}

void Stepper::setValue(int value) {
    value_ = std::clamp(value, min_, max_);
}

void Stepper::stepBy(int steps) {
    const int64_t next = std::clamp<int64_t>(int64_t(value_) + int64_t(steps) * step_, min_, max_);
    // At either end a click changes nothing and reports nothing.
    if (next == value_) return;
    value_ = int(next);
    Q_EMIT stepped(value_);
}

}  // namespace keyloom
