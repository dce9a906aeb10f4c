#pragma once

#include <QObject>
#include <optional>
#include <set>

#include "platform/input/KeyInputSource.h"

class QKeyEvent;

namespace keyloom {

// Key presses and releases that reach our own windows, taken from the application's key events: the fallback for a
// user who may not read the keyboards' event devices. Installed as an event filter on the application.
class QtKeyEventSource : public QObject, public KeyInputSource {
    Q_OBJECT
  public:
    // How a key event names its key. xcb and wayland give the xkb keycode (Linux key code + 8) as the native scan
    // code; other platforms only the Qt key.
    enum class ScanCodes { Automatic, XkbKeycode, QtKeyOnly };

    explicit QtKeyEventSource(ScanCodes scanCodes = ScanCodes::Automatic);
    ~QtKeyEventSource() override;

    int open(const std::vector<HidUsageMatch>& matching) override;
    void schedule(KeyInputHandlers handlers) override;

    // The keyboard-page usage of one key event; nullopt when the key has none.
    std::optional<uint32_t> usageFor(const QKeyEvent& event) const;
    static std::optional<uint32_t> usageForQtKey(int key, bool keypad);

    bool eventFilter(QObject* watched, QEvent* event) override;

  private:
    void deliver(uint32_t usage, int64_t value);
    void releaseAll();

    ScanCodes scanCodes_;
    bool wanted_ = false;
    bool scheduled_ = false;
    KeyInputHandlers handlers_;
    KeyInputDevice device_;
    std::set<uint32_t> held_;  // usages this source reported down
};

}  // namespace keyloom
