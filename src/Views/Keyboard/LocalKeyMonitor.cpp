#include "Views/Keyboard/LocalKeyMonitor.h"

#include <QWidget>

#include "Keylogger/KeyState.h"

namespace keyloom {

void LocalKeyMonitor::start(QWidget* owner, std::function<void()> handler) {
    observation_.reset();
    owner_ = owner;
    observation_ = NotificationCenter::defaultCenter().addObserver(
        kKeyStateChanged, [this, handler = std::move(handler)](const Notification&) {
            if (!owner_ || !owner_->isActiveWindow()) return;  // keys typed into another program or window
            if (lastKeyOperate() != "down") return;
            handler();
        });
}

void LocalKeyMonitor::stop() {
    observation_.reset();
    owner_.clear();
}

}  // namespace keyloom
