#pragma once

#include <QPoint>
#include <QWidget>

namespace keyloom {

// The small windows of the log-in screens and of the feedback form: a title bar with the close button only, movable
// by dragging the background, opened centred on the screen.
class CustomWindowController : public QWidget {
    Q_OBJECT

  public:
    explicit CustomWindowController(QWidget* parent = nullptr);

    // Centres the window; call once its content is in place.
    void windowDidLoad();
    // Shows the window (again) in front of the others.
    void bringToFront();

    // Centres a window on the screen it is on (the primary screen when it has none yet).
    static void centre(QWidget* window);

  protected:
    void mousePressEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;

  private:
    QPoint dragOffset_;
    bool dragging_ = false;
};

}  // namespace keyloom
