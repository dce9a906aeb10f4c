#include "CustomControl/KeyView.h"

#include <QPainter>

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

void KeyView::paintEvent(QPaintEvent*) {
    QPainter(this).fillRect(rect(), backgroundColor_);
}

}  // namespace keyloom
