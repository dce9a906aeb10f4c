#pragma once

#include "Customized/CustomWindowController.h"

namespace keyloom {

// What the two editors' windows share beyond the program's other small windows: a minimise button, deleted when
// closed, the editor's view filling it.
class EditorWindow : public CustomWindowController {
  public:
    // Centres window and shows it in front, restored from minimised and active.
    static void bringForward(QWidget* window);

  protected:
    EditorWindow(const QString& name, QWidget* parent);
    // Puts the editor's view in the window, edge to edge.
    void setContent(QWidget* content);
};

}  // namespace keyloom
