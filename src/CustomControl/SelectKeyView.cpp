#include "CustomControl/SelectKeyView.h"

#include <QPainter>
#include <QPixmapCache>

namespace keyloom {

namespace {

// The dashed frame of a cap of this size, stroked once and kept: Qt's dashed stroke costs many times the cap's own
// fill, and a picture repaints every framed cap together.
QPixmap framePicture(QSize size, qreal ratio) {
    const QString key = QStringLiteral("keyloom-cap-frame-%1x%2@%3").arg(size.width()).arg(size.height()).arg(ratio);
    QPixmap frame;
    if (QPixmapCache::find(key, &frame)) return frame;
    frame = QPixmap(size * ratio);
    frame.setDevicePixelRatio(ratio);
    frame.fill(Qt::transparent);
    {
        QPainter p(&frame);
        constexpr double kWidth = 3.0;
        QPen pen(Qt::yellow, kWidth);
        // Dashes of 3 points and gaps of 1, in units of the pen width.
        pen.setDashPattern({3.0 / kWidth, 1.0 / kWidth});
        pen.setJoinStyle(Qt::MiterJoin);
        p.setPen(pen);
        p.setBrush(Qt::NoBrush);
        // Inset by half the pen so the whole stroke lies on the cap.
        p.drawRect(QRectF(QPointF(0, 0), QSizeF(size)).adjusted(kWidth / 2, kWidth / 2, -kWidth / 2, -kWidth / 2));
    }
    QPixmapCache::insert(key, frame);
    return frame;
}

}  // namespace

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
    QPainter(this).drawPixmap(0, 0, framePicture(size(), devicePixelRatioF()));
}

}  // namespace keyloom
