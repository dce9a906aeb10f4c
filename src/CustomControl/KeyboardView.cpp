#include "CustomControl/KeyboardView.h"

#include <QLabel>
#include <QMouseEvent>
#include <QPainter>
#include <string>

#include "CustomControl/KeyView.h"
#include "CustomControl/KeyboardPhotoTable.h"
#include "CustomControl/SelectKeyView.h"
#include "Keylogger/KeyState.h"
#include "Views/Home/AppState.h"
#include "platform/NotificationCenter.h"
#include "resources/KeyboardPictures.h"
#include "resources/KeyloomImages.h"

namespace keyloom {

namespace {

constexpr int kPhotoTag = 200;

// A part of a cap that the photo shows beyond the cap's frame (the foot of an ISO Enter): it shows the colour of
// the cap's patch and follows it.
class PatchExtension : public QWidget {
  public:
    PatchExtension(KeyView* owner, QWidget* parent) : QWidget(parent), owner_(owner) {
        setAttribute(Qt::WA_TransparentForMouseEvents);
        setAttribute(Qt::WA_OpaquePaintEvent);
        owner->setExtension(this);
    }

  protected:
    void paintEvent(QPaintEvent*) override {
        QPainter(this).fillRect(rect(), owner_ ? owner_->getColor() : QColor(Qt::white));
    }

  private:
    QPointer<KeyView> owner_;
};

// Half-open, as a point on a shared edge belongs to one cap only.
bool containsPoint(const QRectF& r, const QPointF& p) {
    return p.x() >= r.left() && p.x() < r.right() && p.y() >= r.top() && p.y() < r.bottom();
}

}  // namespace

KeyboardView::KeyboardView(QWidget* parent) : QWidget(parent) {
    setMouseTracking(true);
}

KeyboardView::KeyboardView(const QRect& frame, QWidget* parent) : KeyboardView(parent) {
    setGeometry(frame);
}

KeyboardView::~KeyboardView() = default;

KeyView* KeyboardView::keyView(int64_t position) const {
    if (position < 0 || position >= static_cast<int64_t>(keyDataArrayHover_.size())) return nullptr;
    return qobject_cast<KeyView*>(keyDataArrayHover_[position].view.data());
}

SelectKeyView* KeyboardView::selectKeyView(int64_t position) const {
    if (position < 0 || position >= static_cast<int64_t>(keyDataArraySelect_.size())) return nullptr;
    return qobject_cast<SelectKeyView*>(keyDataArraySelect_[position].view.data());
}

void KeyboardView::setDeviceType(int64_t type) {
    deviceType_ = type;
}

void KeyboardView::clearViews() {
    // The earlier build's views go; copies of its KeyData held elsewhere then see null views.
    for (auto* list : {&keyDataArrayHover_, &keyDataArraySelect_}) {
        for (KeyData& key : *list) delete key.view.data();
        list->clear();
    }
    for (QPointer<QWidget>& w : extensions_) delete w.data();
    extensions_.clear();
    extensionRects_.clear();
    delete photo_.data();
    hoverKeyItem_ = -1;
    selectKeyItem_ = -1;
}

void KeyboardView::initUI(int64_t type, const std::vector<KeyData>& keyArray, int64_t layout) {
    clearViews();
    keyDataArrayHover_ = keyArray;
    keyDataArraySelect_ = keyArray;
    keyboardType_ = type;
    if (type == 0 || type == 12) isEvent_ = true;

    for (KeyData& key : keyDataArrayHover_) {
        auto* patch = new KeyView(widgetRect(key.rect), this);
        patch->show();
        key.view = patch;
    }

    const KeyboardPhoto photo = keyboardPhotoFor(keyArray.size(), layout, deviceType_, keyboardLayout);
    // Parts of caps the photo draws beyond their frames show their cap's colour, under the photo.
    for (const CapExtension& ext : keyboardPhotoExtensions(photo.name)) {
        for (const KeyData& key : keyDataArrayHover_) {
            auto* patch = qobject_cast<KeyView*>(key.view.data());
            if (key.keyname != ext.keyname || !patch) continue;
            auto* w = new PatchExtension(patch, this);
            w->setGeometry(widgetRect(ext.rect));
            w->show();
            extensions_.emplace_back(w);
            extensionRects_.push_back(ext.rect);
            break;
        }
    }

    // Each patch draws its cap's legend, in the colour that reads on the patch.
    const PhotoLegends legends = keyboardPhotoLegends(photo.name);
    for (const KeyData& key : keyDataArrayHover_) {
        auto it = legends.texts.find(key.keyname);
        auto* patch = qobject_cast<KeyView*>(key.view.data());
        if (it != legends.texts.end() && patch) patch->setLegend(it->second, legends.size);
    }

    photoSize_ = photo.size;
    auto* label = new QLabel(this);
    label->setObjectName(QStringLiteral("keyboardPhoto"));
    label->setProperty("tag", kPhotoTag);
    label->setProperty("keyloomImageName", photo.name);
    label->setAttribute(Qt::WA_TransparentForMouseEvents);
    label->setPixmap(keyloomImage(photo.name));
    label->setScaledContents(true);
    label->setGeometry(widgetRect(QRectF(QPointF(0, 0), QSizeF(photo.size))));
    label->show();
    photo_ = label;

    for (KeyData& key : keyDataArraySelect_) {
        auto* frame = new SelectKeyView(widgetRect(key.rect), this);
        frame->show();
        key.view = frame;
    }
}

void KeyboardView::setKeyboardType(int64_t type, bool mode) {
    keyboardType_ = type;
    customMode_ = mode;
    if (type == 0) {
        isEvent_ = true;
        clearFrames();
    } else if (!mode) {
        isEvent_ = false;
        clearFrames();
    } else {
        isEvent_ = true;
        const bool many = updatesEnabled();
        if (many) setUpdatesEnabled(false);  // one repaint of the picture, as in setBackColor
        for (int64_t i = 0; i < static_cast<int64_t>(keyDataArrayHover_.size()); ++i) {
            if (KeyView* patch = keyView(i)) patch->setBackColor(Qt::black);
        }
        if (many) setUpdatesEnabled(true);
    }
}

void KeyboardView::setKeyCheck(int64_t layoutIndex, bool status) {
    if (KeyView* patch = keyView(layoutIndex)) patch->setKeyCheck(status);
}

void KeyboardView::setKeyColor(int64_t layoutIndex, const QColor& color) {
    if (KeyView* patch = keyView(layoutIndex)) patch->setBackColor(color);
}

void KeyboardView::setBackColor(const QColor& color) {
    std::vector<KeyView*> patches;
    for (int64_t i = 0; i < static_cast<int64_t>(keyDataArrayHover_.size()); ++i) {
        KeyView* patch = keyView(i);
        if (!patch) continue;
        if (customMode_) {
            const SelectKeyView* frame = selectKeyView(i);
            if (!frame || !frame->isShow()) continue;
        }
        patches.push_back(patch);
    }
    // Past a few caps, one repaint of the whole picture costs less than a region gathered cap by cap.
    const bool many = patches.size() > 8 && updatesEnabled();
    if (many) setUpdatesEnabled(false);
    for (KeyView* patch : patches) patch->setBackColor(color);
    if (many) setUpdatesEnabled(true);
}

void KeyboardView::clearFrames() {
    for (int64_t i = 0; i < static_cast<int64_t>(keyDataArraySelect_.size()); ++i) {
        if (SelectKeyView* frame = selectKeyView(i)) frame->setShow(false);
    }
}

QRect KeyboardView::widgetRect(const QRectF& r) const {
    // Picture points grow upwards from the bottom edge; widget pixels grow downwards from the top.
    return QRectF(r.x(), height() - r.y() - r.height(), r.width(), r.height()).toAlignedRect();
}

QPointF KeyboardView::picturePoint(const QPointF& p) const {
    return QPointF(p.x(), height() - p.y());
}

void KeyboardView::layoutViews() {
    for (const KeyData& key : keyDataArrayHover_) {
        if (key.view) key.view->setGeometry(widgetRect(key.rect));
    }
    for (const KeyData& key : keyDataArraySelect_) {
        if (key.view) key.view->setGeometry(widgetRect(key.rect));
    }
    for (std::size_t i = 0; i < extensions_.size(); ++i) {
        if (extensions_[i]) extensions_[i]->setGeometry(widgetRect(extensionRects_[i]));
    }
    if (photo_) photo_->setGeometry(widgetRect(QRectF(QPointF(0, 0), QSizeF(photoSize_))));
}

void KeyboardView::resizeEvent(QResizeEvent* event) {
    QWidget::resizeEvent(event);
    layoutViews();
}

void KeyboardView::updateHover(const QPointF& widgetPoint) {
    const QPointF p = picturePoint(widgetPoint);
    if (hoverKeyItem_ != -1) {
        if (hoverKeyItem_ < static_cast<int64_t>(keyDataArrayHover_.size()) &&
            containsPoint(keyDataArrayHover_[hoverKeyItem_].rect, p))
            return;
        if (!customMode_) {
            if (KeyView* patch = keyView(hoverKeyItem_)) patch->setBackColor(Qt::white);
        }
        hoverKeyItem_ = -1;
    }
    for (const KeyData& key : keyDataArrayHover_) {
        if (!containsPoint(key.rect, p)) continue;
        // The entry's position, which is its index by the lists' invariant; a stray index never reaches the lists.
        const int64_t position = &key - keyDataArrayHover_.data();
        hoverKeyItem_ = position;
        if (!customMode_) {
            if (KeyView* patch = keyView(position)) patch->setBackColor(Qt::yellow);
        }
        return;
    }
}

void KeyboardView::mouseMoveEvent(QMouseEvent* event) {
    // The pointer is followed only while the window is active, as a tracking area active in the key window does.
    if (isEvent_ && window()->isActiveWindow()) updateHover(event->position());
    QWidget::mouseMoveEvent(event);
}

void KeyboardView::enterEvent(QEnterEvent* event) {
    // Entering does nothing until the pointer moves.
    QWidget::enterEvent(event);
}

void KeyboardView::leaveEvent(QEvent* event) {
    if (isEvent_ && hoverKeyItem_ != -1) {
        if (!customMode_) {
            if (KeyView* patch = keyView(hoverKeyItem_)) patch->setBackColor(Qt::white);
        }
        hoverKeyItem_ = -1;
    }
    QWidget::leaveEvent(event);
}

void KeyboardView::mousePressEvent(QMouseEvent* event) {
    if (event->button() != Qt::LeftButton || !isEvent_) return QWidget::mousePressEvent(event);
    // The click that activates the window arrives without a move before it: find the key under the click first,
    // so the key hovered before activation is never the one selected.
    updateHover(event->position());
    if (hoverKeyItem_ == -1) return;
    if (!customMode_ && selectKeyItem_ != -1 && selectKeyItem_ != hoverKeyItem_) {
        if (KeyView* patch = keyView(selectKeyItem_)) patch->setKeyDown(false);
    }
    if (selectKeyItem_ != hoverKeyItem_) {
        selectKeyItem_ = hoverKeyItem_;
        if (!customMode_) {
            if (KeyView* patch = keyView(selectKeyItem_)) patch->setKeyDown(true);
        }
    }
    if (customMode_) {
        // Left Shift held (as the key capture reports it) extends the set; otherwise the clicked key is the only one.
        if (shiftKeyStatus() != 1) clearFrames();
        if (SelectKeyView* frame = selectKeyView(hoverKeyItem_)) frame->setShow(!frame->isShow());
    }
}

void KeyboardView::mouseReleaseEvent(QMouseEvent* event) {
    if (event->button() != Qt::LeftButton || !isEvent_ || selectKeyItem_ == -1 || keyboardType_ != 0)
        return QWidget::mouseReleaseEvent(event);
    if (selectKeyItem_ >= static_cast<int64_t>(keyDataArrayHover_.size())) return;
    // A copy: an observer may rebuild the picture.
    const std::string keyname = keyDataArrayHover_[selectKeyItem_].keyname;
    NotificationCenter::defaultCenter().post(kCustomKeyAction, keyname);
}

}  // namespace keyloom
