#pragma once

// The keyboard picture both editors show. How an editor uses it:
//
//   auto* picture = new KeyboardView(panel);                 // parent-owned
//   picture->setGeometry(x, y, 698, 256);                    // the photo's size (see KeyboardPhotoTable.h)
//   picture->setDeviceType(105);                             // only matters for 61 caps, before initUI
//   picture->initUI(0, quorvathKeyData(deviceType), 0);      // 0: key-assignment picture; 1: lighting picture
//   Observation o = NotificationCenter::defaultCenter().addObserver("customkeyAction", [](const Notification& n) {
//       const auto& keyname = std::any_cast<const std::string&>(n.object);  // a key of QV_SuperKeyNameMap
//   });
//   picture->keyView(i)->setKeyCheck(true);                  // mark key i (layout position) as assigned
//   picture->setKeyboardType(mode, mode == 12);              // lighting picture: show a mode, per-key mode or not
//   picture->setBackColor(colour);                           // lighting picture: paint (only framed caps per-key)
//   picture->selectKeyView(i)->getShow();                    // is key i framed for per-key colouring?
//
// The picture takes data and reports clicks; it never stores or sends. Main thread only. Positions are indexes into
// both lists; every accessor checks them (nullptr / no-op out of range).

#include <QColor>
#include <QLabel>
#include <QPointer>
#include <QWidget>
#include <cstdint>
#include <vector>

#include "CustomControl/KeyData.h"

namespace keyloom {

class KeyView;
class SelectKeyView;

// Name of the notification a key-assignment picture posts on the release of a click; object: the key's name
// (std::string).
inline constexpr const char* kCustomKeyAction = "customkeyAction";

class KeyboardView : public QWidget {
    Q_OBJECT

  public:
    explicit KeyboardView(QWidget* parent = nullptr);
    KeyboardView(const QRect& frame, QWidget* parent);
    ~KeyboardView() override;

    // Fields. Hover list: views are KeyViews; selection list: the same keys, views are SelectKeyViews.
    const std::vector<KeyData>& keyDataArrayHover() const { return keyDataArrayHover_; }
    const std::vector<KeyData>& keyDataArraySelect() const { return keyDataArraySelect_; }
    int64_t keyboardType() const { return keyboardType_; }
    int64_t hoverKeyItem() const { return hoverKeyItem_; }
    int64_t selectKeyItem() const { return selectKeyItem_; }
    bool isEvent() const { return isEvent_; }
    bool customMode() const { return customMode_; }
    int64_t deviceType() const { return deviceType_; }

    // The patch or frame of the key at a position; nullptr when out of range.
    KeyView* keyView(int64_t position) const;
    SelectKeyView* selectKeyView(int64_t position) const;
    // The photo (tag 200) laid by the last initUI; nullptr before.
    QLabel* photo() const { return photo_; }

    void setDeviceType(int64_t type);
    // Builds the picture: a patch per key, the photo chosen by the key count, then a frame per key. A repeated call
    // removes the earlier views and forgets hover and selection. Types 0 and 12 turn the mouse on.
    void initUI(int64_t type, const std::vector<KeyData>& keyArray, int64_t layout);
    // Switches the picture's role: type 0 key assignment; otherwise a lighting mode, per-key when mode is true
    // (caps turn black, frames kept), ordinary when false (mouse off, frames cleared).
    void setKeyboardType(int64_t type, bool mode);
    // Marks or unmarks the key at the position as carrying an assignment.
    void setKeyCheck(int64_t layoutIndex, bool status);
    // Gives the key at the position a colour by KeyView::setBackColor's rule.
    void setKeyColor(int64_t layoutIndex, const QColor& color);
    // Outside the per-key mode every cap, in it only the framed caps, by KeyView::setBackColor's rule.
    void setBackColor(const QColor& color);

  protected:
    void mouseMoveEvent(QMouseEvent* event) override;
    void enterEvent(QEnterEvent* event) override;
    void leaveEvent(QEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;

  private:
    void clearViews();
    void layoutViews();
    QRect widgetRect(const QRectF& pictureRect) const;
    QPointF picturePoint(const QPointF& widgetPoint) const;
    void updateHover(const QPointF& widgetPoint);
    void clearFrames();

    std::vector<KeyData> keyDataArrayHover_;
    std::vector<KeyData> keyDataArraySelect_;
    int64_t keyboardType_ = 0;
    int64_t hoverKeyItem_ = -1;
    int64_t selectKeyItem_ = -1;
    bool isEvent_ = false;
    bool customMode_ = false;
    int64_t deviceType_ = 0;

    QPointer<QLabel> photo_;
    QSize photoSize_;
    std::vector<QPointer<QWidget>> extensions_;  // with the picture rect each one covers
    std::vector<QRectF> extensionRects_;
};

}  // namespace keyloom
