#include "Keylogger/LocalKeyMonitor.h"

#include <QGuiApplication>

#include "Keylogger/KeyState.h"

namespace keyloom {

LocalKeyMonitor::LocalKeyMonitor(std::function<void()> handler)
    : observation_(NotificationCenter::defaultCenter().addObserver(
          kHeldKeysChanged, [handler = std::move(handler)](const Notification&) {
              // A key reaches one of our windows only while one of them has the focus; the event devices also report
              // keys typed elsewhere.
              if (qobject_cast<QGuiApplication*>(QCoreApplication::instance()) && QGuiApplication::focusWindow())
                  handler();
          })) {}

}  // namespace keyloom
