#pragma once

#include <QPoint>
#include <QWidget>

namespace keyloom {

class HomeViewController;

// The home window: no zoom button, movable by its background, centred on the screen.
class HomeWindowController : public QWidget {
    Q_OBJECT

  public:
    explicit HomeWindowController(QWidget* parent = nullptr);
    ~HomeWindowController() override;

    HomeViewController* contentViewController() const { return content_; }
    void windowDidLoad();
    // Brings the window to the front (a second start of the program asks for this).
    void bringToFront();

  protected:
    void mousePressEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;

  private:
    HomeViewController* content_ = nullptr;
    QPoint dragOffset_;
    bool dragging_ = false;
};

}  // namespace keyloom
