#pragma once

#include <QPoint>
#include <QWidget>

class QScreen;

namespace keyloom {

// What the two editors' windows share: close and minimise buttons only, deleted when closed, the editor's view
// filling it, movable by its background.
class EditorWindow : public QWidget {
  public:
    // Centres window on screen (the primary screen where none is given).
    static void centre(QWidget* window, QScreen* screen = nullptr);
    // Centres window and shows it in front, restored from minimised and active.
    static void bringForward(QWidget* window, QScreen* screen = nullptr);

  protected:
    EditorWindow(const QString& name, QWidget* parent);
    // Puts the editor's view in the window, edge to edge.
    void setContent(QWidget* content);

    void mousePressEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;

  private:
    QPoint dragOffset_;
    bool dragging_ = false;
};

}  // namespace keyloom
