#pragma once

#include <QColor>
#include <QPixmap>
#include <QPointer>
#include <QString>
#include <QWidget>
#include <utility>
#include <vector>

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

    // The cap's legend, drawn on the patch at most maxSize pixels high in the colour that reads on the patch's colour
    // (dark on light colours, light on dark ones); empty for none.
    void setLegend(const QString& text, double maxSize);
    const QString& legend() const { return legend_; }

  protected:
    void paintEvent(QPaintEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;

  private:
    void setColor(const QColor& color);
    const QPixmap& legendImage(const QColor& ink);

    bool keyCheck_ = false;
    bool keyDown_ = false;
    QColor backgroundColor_ = Qt::white;
    QPointer<QWidget> extension_;
    QString legend_;
    double legendSize_ = 0;
    // The legend drawn once per ink (a cap takes at most three: dark, black, light) and reused at every repaint.
    std::vector<std::pair<QRgb, QPixmap>> legendImages_;
};

}  // namespace keyloom
