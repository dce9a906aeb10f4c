#include "platform/input/QtKeyEventSource.h"

#include <QCoreApplication>
#include <QGuiApplication>
#include <QKeyEvent>

#include "platform/input/EvdevUsageTable.h"

namespace keyloom {

namespace {

constexpr uint32_t kXkbKeycodeOffset = 8;

bool platformGivesXkbKeycodes() {
    const QString name = QGuiApplication::platformName();
    return name.startsWith(QLatin1String("xcb")) || name.startsWith(QLatin1String("wayland"));
}

}  // namespace

QtKeyEventSource::QtKeyEventSource(ScanCodes scanCodes) : scanCodes_(scanCodes) {
    device_.name = "application key events";
    device_.usagePage = kGenericDesktopPage;
    device_.usage = kKeyboardUsage;
}

QtKeyEventSource::~QtKeyEventSource() {
    if (scheduled_ && QCoreApplication::instance()) QCoreApplication::instance()->removeEventFilter(this);
}

int QtKeyEventSource::open(const std::vector<HidUsageMatch>& matching) {
    wanted_ = matchesKeyboards(matching);
    return kKeyCaptureSuccess;
}

void QtKeyEventSource::schedule(KeyInputHandlers handlers) {
    if (scheduled_ || !wanted_ || !QCoreApplication::instance()) return;
    handlers_ = std::move(handlers);
    scheduled_ = true;
    if (scanCodes_ == ScanCodes::Automatic)
        scanCodes_ = platformGivesXkbKeycodes() ? ScanCodes::XkbKeycode : ScanCodes::QtKeyOnly;
    device_.id = nextDeviceId();
    QCoreApplication::instance()->installEventFilter(this);
    if (handlers_.matched) handlers_.matched(device_);
}

std::optional<uint32_t> QtKeyEventSource::usageFor(const QKeyEvent& event) const {
    if (scanCodes_ == ScanCodes::XkbKeycode && event.nativeScanCode() > kXkbKeycodeOffset) {
        if (auto usage = EvdevUsageTable::usageForKeyCode(event.nativeScanCode() - kXkbKeycodeOffset)) return usage;
    }
    return usageForQtKey(event.key(), event.modifiers().testFlag(Qt::KeypadModifier));
}

bool QtKeyEventSource::eventFilter(QObject* watched, QEvent* event) {
    switch (event->type()) {
        case QEvent::KeyPress:
        case QEvent::KeyRelease: {
            // Let the event devices report first, so whoever handles this event sees the fresh key state.
            if (handlers_.sync) handlers_.sync();
            auto* key = static_cast<QKeyEvent*>(event);
            if (key->isAutoRepeat()) break;
            if (auto usage = usageFor(*key)) deliver(*usage, event->type() == QEvent::KeyPress ? 1 : 0);
            break;
        }
        case QEvent::ApplicationDeactivate:
            // Releases are not seen once our windows lose the keyboard: forget what we reported held.
            releaseAll();
            break;
        case QEvent::ApplicationStateChange:
            if (static_cast<QApplicationStateChangeEvent*>(event)->applicationState() != Qt::ApplicationActive)
                releaseAll();
            break;
        default:
            break;
    }
    return QObject::eventFilter(watched, event);
}

void QtKeyEventSource::deliver(uint32_t usage, int64_t value) {
    // One key event travels to several receivers (window, focus widget, parents): report each change once.
    const bool down = value != 0;
    auto it = held_.find(usage);
    const bool wasDown = it != held_.end();
    if (down == wasDown) return;
    if (down)
        held_.insert(usage);
    else
        held_.erase(it);
    if (handlers_.value) handlers_.value(device_, HidInputValue{kKeyboardPage, usage, value});
}

void QtKeyEventSource::releaseAll() {
    while (!held_.empty()) deliver(*held_.begin(), 0);
}

std::optional<uint32_t> QtKeyEventSource::usageForQtKey(int key, bool keypad) {
    if (keypad) {
        if (key >= Qt::Key_1 && key <= Qt::Key_9) return 0x59 + uint32_t(key - Qt::Key_1);
        switch (key) {
            case Qt::Key_0:
                return 0x62;
            case Qt::Key_Slash:
                return 0x54;
            case Qt::Key_Asterisk:
                return 0x55;
            case Qt::Key_Minus:
                return 0x56;
            case Qt::Key_Plus:
                return 0x57;
            case Qt::Key_Enter:
                return 0x58;
            case Qt::Key_Period:
                return 0x63;
            case Qt::Key_Equal:
                return 0x67;
            default:
                break;
        }
    }
    if (key >= Qt::Key_A && key <= Qt::Key_Z) return 0x04 + uint32_t(key - Qt::Key_A);
    if (key >= Qt::Key_1 && key <= Qt::Key_9) return 0x1E + uint32_t(key - Qt::Key_1);
    if (key >= Qt::Key_F1 && key <= Qt::Key_F12) return 0x3A + uint32_t(key - Qt::Key_F1);
    if (key >= Qt::Key_F13 && key <= Qt::Key_F24) return 0x68 + uint32_t(key - Qt::Key_F13);
    switch (key) {
        case Qt::Key_0:
            return 0x27;
        // Shifted digits on a US layout name the digit keys.
        case Qt::Key_Exclam:
            return 0x1E;
        case Qt::Key_At:
            return 0x1F;
        case Qt::Key_NumberSign:
            return 0x20;
        case Qt::Key_Dollar:
            return 0x21;
        case Qt::Key_Percent:
            return 0x22;
        case Qt::Key_AsciiCircum:
            return 0x23;
        case Qt::Key_Ampersand:
            return 0x24;
        case Qt::Key_Asterisk:
            return 0x25;
        case Qt::Key_ParenLeft:
            return 0x26;
        case Qt::Key_ParenRight:
            return 0x27;
        case Qt::Key_Return:
            return 0x28;
        case Qt::Key_Enter:
            return 0x58;
        case Qt::Key_Escape:
            return 0x29;
        case Qt::Key_Backspace:
            return 0x2A;
        case Qt::Key_Tab:
        case Qt::Key_Backtab:
            return 0x2B;
        case Qt::Key_Space:
            return 0x2C;
        case Qt::Key_Minus:
        case Qt::Key_Underscore:
            return 0x2D;
        case Qt::Key_Equal:
        case Qt::Key_Plus:
            return 0x2E;
        case Qt::Key_BracketLeft:
        case Qt::Key_BraceLeft:
            return 0x2F;
        case Qt::Key_BracketRight:
        case Qt::Key_BraceRight:
            return 0x30;
        case Qt::Key_Backslash:
        case Qt::Key_Bar:
            return 0x31;
        case Qt::Key_Semicolon:
        case Qt::Key_Colon:
            return 0x33;
        case Qt::Key_Apostrophe:
        case Qt::Key_QuoteDbl:
            return 0x34;
        case Qt::Key_QuoteLeft:
        case Qt::Key_AsciiTilde:
        case Qt::Key_Zenkaku_Hankaku:
            return 0x35;
        case Qt::Key_Comma:
        case Qt::Key_Less:
            return 0x36;
        case Qt::Key_Period:
        case Qt::Key_Greater:
            return 0x37;
        case Qt::Key_Slash:
        case Qt::Key_Question:
            return 0x38;
        case Qt::Key_CapsLock:
            return 0x39;
        case Qt::Key_Print:
            return 0x46;
        case Qt::Key_ScrollLock:
            return 0x47;
        case Qt::Key_Pause:
            return 0x48;
        case Qt::Key_Insert:
            return 0x49;
        case Qt::Key_Home:
            return 0x4A;
        case Qt::Key_PageUp:
            return 0x4B;
        case Qt::Key_Delete:
            return 0x4C;
        case Qt::Key_End:
            return 0x4D;
        case Qt::Key_PageDown:
            return 0x4E;
        case Qt::Key_Right:
            return 0x4F;
        case Qt::Key_Left:
            return 0x50;
        case Qt::Key_Down:
            return 0x51;
        case Qt::Key_Up:
            return 0x52;
        case Qt::Key_NumLock:
            return 0x53;
        case Qt::Key_Menu:
            return 0x65;
        case Qt::Key_yen:
            return 0x89;
        case Qt::Key_Hiragana_Katakana:
            return 0x88;
        case Qt::Key_Henkan:
            return 0x8A;
        case Qt::Key_Muhenkan:
            return 0x8B;
        case Qt::Key_Hangul:
            return 0x90;
        case Qt::Key_Hangul_Hanja:
            return 0x91;
        // Without a scan code left and right cannot be told apart: the left-hand modifier stands for both.
        case Qt::Key_Control:
            return 0xE0;
        case Qt::Key_Shift:
            return 0xE1;
        case Qt::Key_Alt:
            return 0xE2;
        case Qt::Key_Meta:
        case Qt::Key_Super_L:
            return 0xE3;
        case Qt::Key_Super_R:
            return 0xE7;
        case Qt::Key_AltGr:
            return 0xE6;
        default:
            return std::nullopt;
    }
}

}  // namespace keyloom
