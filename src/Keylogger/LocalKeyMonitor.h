#pragma once

#include <functional>

#include "platform/NotificationCenter.h"

namespace keyloom {

// An editor's local key monitor, in place of an application-local monitor of key-down and modifier events. While it
// lives, handler runs after every key the user presses or lets go while one of our windows has the keyboard focus,
// once the key capture has recorded that key: the key-state globals (KeyState.h) already hold it when the handler
// reads them, whichever source reported the key. (An event filter of our own would not do: Qt runs the newest
// filter first, so it would see a key event before the capture's own filter recorded it.)
//
// It consumes nothing: every key event reaches the focused widget as if there were no monitor. Keys typed into other
// programs never reach the handler. Destroying the monitor removes it, also from inside its own handler.
// Main thread only.
//
//   std::unique_ptr<LocalKeyMonitor> monitor = std::make_unique<LocalKeyMonitor>([this] {
//       if (lastKeyOperate() == "down") show(heldKeyCombination());
//   });
class LocalKeyMonitor {
  public:
    explicit LocalKeyMonitor(std::function<void()> handler);
    LocalKeyMonitor(const LocalKeyMonitor&) = delete;
    LocalKeyMonitor& operator=(const LocalKeyMonitor&) = delete;

  private:
    Observation observation_;
};

}  // namespace keyloom
