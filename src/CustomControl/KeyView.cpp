#include "CustomControl/KeyView.h"

#include <QPainter>
#include <QPixmapCache>

#include "resources/KeyboardPictures.h"

namespace keyloom {

KeyView::KeyView(QWidget* parent) : QWidget(parent) {
    setAttribute(Qt::WA_TransparentForMouseEvents);
    setAttribute(Qt::WA_OpaquePaintEvent);
}

KeyView::KeyView(const QRect& frame, QWidget* parent) : KeyView(parent) {
    setGeometry(frame);
}

void KeyView::setBackColor(const QColor& color) {
    if (keyCheck_ || keyDown_) return;
    setColor(color);
}

void KeyView::setKeyCheck(bool check) {
    keyCheck_ = check;
    setColor(check ? QColor(Qt::yellow) : QColor(Qt::white));
}

void KeyView::setKeyDown(bool down) {
    keyDown_ = down;
    if (keyCheck_) return;
    setColor(down ? QColor(Qt::yellow) : QColor(Qt::white));
}

void KeyView::setExtension(QWidget* extension) {
    extension_ = extension;
}

void KeyView::setColor(const QColor& color) {
    if (backgroundColor_ == color) return;
    backgroundColor_ = color;
    update();
    if (extension_) extension_->update();
}

void KeyView::setLegend(const QString& text, double maxSize) {
    legend_ = text;
    legendSize_ = maxSize;
    legendImages_.clear();
    update();
}

const QPixmap& KeyView::legendImage(const QColor& ink) {
    for (const auto& [rgb, image] : legendImages_)
        if (rgb == ink.rgb()) return image;
    // Shared by every picture: the two pictures of an editor and every later opening show the same caps.
    const qreal ratio = devicePixelRatioF();
    const QString key = QStringLiteral("keyloom-legend-%1-%2x%3-%4-%5@%6")
                            .arg(legend_)
                            .arg(width())
                            .arg(height())
                            .arg(legendSize_)
                            .arg(ink.rgb(), 0, 16)
                            .arg(ratio);
    QPixmap image;
    if (!QPixmapCache::find(key, &image)) {
        image = QPixmap(size() * ratio);
        image.setDevicePixelRatio(ratio);
        image.fill(Qt::transparent);
        {
            QPainter p(&image);
            p.setRenderHint(QPainter::Antialiasing);
            drawCapLegend(p, QRectF(rect()), legend_, legendSize_, ink);
        }
        QPixmapCache::insert(key, image);
    }
    legendImages_.emplace_back(ink.rgb(), std::move(image));
    return legendImages_.back().second;
}

void KeyView::paintEvent(QPaintEvent*) {
    QPainter p(this);
    p.fillRect(rect(), backgroundColor_);
    if (!legend_.isEmpty()) p.drawPixmap(0, 0, legendImage(legendColourOn(backgroundColor_)));
}

void KeyView::resizeEvent(QResizeEvent* event) {
    QWidget::resizeEvent(event);
    legendImages_.clear();
}

}  // namespace keyloom
