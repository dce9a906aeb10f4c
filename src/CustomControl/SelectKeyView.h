#pragma once

#include <QWidget>

namespace keyloom {

// The frame laid over one key cap while the key is selected for per-key colouring: a yellow dashed rectangle, drawn
// only while shown; otherwise the view draws nothing and the photo shows through.
class SelectKeyView : public QWidget {
    Q_OBJECT

  public:
    explicit SelectKeyView(QWidget* parent = nullptr);
    SelectKeyView(const QRect& frame, QWidget* parent);

    bool isShow() const { return isShow_; }
    // Every change is redrawn.
    void setShow(bool show);
    // Toggles the frame.
    void setShow();
    bool getShow() const { return isShow_; }

  protected:
    void paintEvent(QPaintEvent* event) override;

  private:
    bool isShow_ = false;
};

}  // namespace keyloom
