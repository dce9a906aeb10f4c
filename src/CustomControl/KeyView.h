#pragma once

#include <QColor>
#include <QPointer>
#include <QWidget>

namespace keyloom {

// The colour patch under one key cap of the keyboard photo. White is a plain key; yellow a hovered, selected or
// assigned key; black and the user's colours come from the lighting tab. Two flags lock the colour:
//   keyCheck (stored assignment): setBackColor and setKeyDown keep the colour; only setKeyCheck changes it.
//   keyDown (selected key):       setBackColor keeps the colour; setKeyDown and setKeyCheck change it.
class KeyView : public QWidget {
    Q_OBJECT

  public:
    explicit KeyView(QWidget* parent = nullptr);
    KeyView(const QRect& frame, QWidget* parent);

    bool keyCheck() const { return keyCheck_; }
    bool keyDown() const { return keyDown_; }
    const QColor& backgroundColor() const { return backgroundColor_; }

    // Takes color unless keyCheck or keyDown is set.
    void setBackColor(const QColor& color);
    QColor getColor() const { return backgroundColor_; }
    // Sets the flag; yellow when check, white otherwise, whatever keyDown is.
    void setKeyCheck(bool check);
    // Sets the flag; unless keyCheck is set, yellow when down, white otherwise.
    void setKeyDown(bool down);

    // A widget beside this one that shows the same colour (the lower part of an ISO Enter on the photo).
    void setExtension(QWidget* extension);

  protected:
    void paintEvent(QPaintEvent* event) override;

  private:
    void setColor(const QColor& color);

    bool keyCheck_ = false;
    bool keyDown_ = false;
    QColor backgroundColor_ = Qt::white;
    QPointer<QWidget> extension_;
};

}  // namespace keyloom
