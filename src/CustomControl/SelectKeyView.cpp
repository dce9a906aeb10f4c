#include "CustomControl/SelectKeyView.h"

#include <QPainter>

namespace keyloom {

SelectKeyView::SelectKeyView(QWidget* parent) : QWidget(parent) {
    setAttribute(Qt::WA_TransparentForMouseEvents);
    setAttribute(Qt::WA_NoSystemBackground);
}

SelectKeyView::SelectKeyView(const QRect& frame, QWidget* parent) : SelectKeyView(parent) {
    setGeometry(frame);
}

void SelectKeyView::setShow(bool show) {
    isShow_ = show;
    update();
}

void SelectKeyView::setShow() {
    setShow(!isShow_);
}

void SelectKeyView::paintEvent(QPaintEvent*) {
    if (!isShow_) return;
    QPainter p(this);
    constexpr double kWidth = 3.0;
    QPen pen(Qt::yellow, kWidth);
    // Dashes of 3 points and gaps of 1, in units of the pen width.
    pen.setDashPattern({3.0 / kWidth, 1.0 / kWidth});
    pen.setJoinStyle(Qt::MiterJoin);
    p.setPen(pen);
    p.setBrush(Qt::NoBrush);
    // Inset by half the pen so the whole stroke lies on the cap.
    p.drawRect(QRectF(rect()).adjusted(kWidth / 2, kWidth / 2, -kWidth / 2, -kWidth / 2));
}

}  // namespace keyloom
