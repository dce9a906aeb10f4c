#pragma once

#include <QPointer>
#include <functional>

#include "platform/NotificationCenter.h"

class QWidget;

namespace keyloom {

// An editor's key-capture trigger, in place of an application-local key-event monitor. While it runs, the handler
// runs after every key press that the key capture has recorded (kKeyStateChanged with lastKeyOperate "down") while
// the owner's window is the active window; releases run nothing, so the combination shown stays when the keys are
// let go. It listens to the key state, not to Qt's key events: Qt runs the newest application event filter first,
// so a filter of ours would read the held lists before the key capture has added the key. Key events still reach
// the window unchanged. Destroying the monitor stops it. Main thread only.
//
//   LocalKeyMonitor eventHandler;                        // a field of the panel
//   eventHandler.start(this, [this] { fillBindInput(); });
//   eventHandler.stop();
class LocalKeyMonitor {
  public:
    LocalKeyMonitor() = default;
    LocalKeyMonitor(const LocalKeyMonitor&) = delete;
    LocalKeyMonitor& operator=(const LocalKeyMonitor&) = delete;

    // Starts, or replaces the running handler.
    void start(QWidget* owner, std::function<void()> handler);
    void stop();
    bool running() const { return static_cast<bool>(observation_); }

  private:
    QPointer<QWidget> owner_;
    Observation observation_;
};

}  // namespace keyloom
