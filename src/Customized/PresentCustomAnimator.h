#pragma once

#include <QObject>

class QWidget;

namespace keyloom {

// Presents a screen inside another screen's view with a fade, and takes it away again the same way. The presented
// view is laid over the whole presenting view (and follows its size), on the standard grey, and fades in from
// transparent to opaque in half a second; its dismissal fades it out in half a second and only then removes it.
class PresentCustomAnimator : public QObject {
    Q_OBJECT

  public:
    static constexpr int durationMs = 500;

    using QObject::QObject;

    void animatePresentation(QWidget* presented, QWidget* presenting);
    // Removes (deletes) the presented view once it has faded out; a second call during the fade does nothing.
    void animateDismissal(QWidget* presented, QWidget* presenting);

  protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

  private:
    QWidget* presented_ = nullptr;
    bool dismissing_ = false;
};

// Presents `presented` inside `presenting` with a new animator, which the presented view keeps for its dismissal.
// The presented view becomes a child of the presenting one.
void presentViewController(QWidget* presenting, QWidget* presented);
// Dismisses a view presented with presentViewController(); false, doing nothing, for any other view.
bool dismissViewController(QWidget* presented);
// The opacity a view is drawn with (1 when it is not fading).
qreal presentedOpacity(const QWidget* view);
// True while `view` is a presented view (until its dismissal removes it).
bool isPresentedViewController(const QWidget* view);

}  // namespace keyloom
