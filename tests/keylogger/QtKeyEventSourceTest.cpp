#include <gtest/gtest.h>
#include <linux/input-event-codes.h>

#include <QCoreApplication>
#include <QKeyEvent>

#include "platform/input/QtKeyEventSource.h"

namespace keyloom {
namespace {

// The window fallback names the key by its scan code (xkb keycode = Linux code + 8), not by the layout's symbol.
TEST(QtKeyEventSource, ScanCodesNameTheExactKey) {
    QtKeyEventSource source(QtKeyEventSource::ScanCodes::XkbKeycode);
    const struct {
        int key;
        unsigned linuxCode;
        uint32_t usage;
    } cases[] = {
        {Qt::Key_Shift, KEY_RIGHTSHIFT, 0xE5},
        {Qt::Key_Backslash, KEY_102ND, 0x64},
        {Qt::Key_A, KEY_Q, 0x14},  // a French layout's A sits on the Q key
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.key);
        EXPECT_EQ(source.usageFor(QKeyEvent(QEvent::KeyPress, c.key, Qt::NoModifier, c.linuxCode + 8, 0, 0)), c.usage);
    }
}

TEST(QtKeyEventSource, EachChangeOnceAndNoAutorepeat) {
    QtKeyEventSource source(QtKeyEventSource::ScanCodes::XkbKeycode);
    ASSERT_EQ(source.open({{0x01, 0x06}}), kKeyCaptureSuccess);
    std::vector<HidInputValue> values;
    KeyInputHandlers h;
    h.value = [&](const KeyInputDevice&, const HidInputValue& v) { values.push_back(v); };
    source.schedule(std::move(h));
    QObject receiver;
    // A held key repeats as autorepeat release and press pairs between its real press and release: they change nothing.
    const std::pair<QEvent::Type, bool> events[] = {
        {QEvent::KeyPress, false},  {QEvent::KeyPress, false},  // the same event reaching a parent widget
        {QEvent::KeyRelease, true}, {QEvent::KeyPress, true},    {QEvent::KeyRelease, true},
        {QEvent::KeyPress, true},   {QEvent::KeyRelease, false}, {QEvent::KeyRelease, false},
    };
    for (const auto& [type, autorepeat] : events) {
        QKeyEvent ev(type, Qt::Key_Shift, Qt::NoModifier, KEY_LEFTSHIFT + 8, 0, 0, QString(), autorepeat);
        QCoreApplication::sendEvent(&receiver, &ev);
    }
    EXPECT_EQ(values, (std::vector<HidInputValue>{{7, 0xE1, 1}, {7, 0xE1, 0}}));

    // Our windows lose the keyboard while a key is down: its release never comes, so it is released at once.
    values.clear();
    QKeyEvent press(QEvent::KeyPress, Qt::Key_A, Qt::NoModifier, KEY_A + 8, 0, 0);
    QCoreApplication::sendEvent(&receiver, &press);
    QEvent deactivate(QEvent::ApplicationDeactivate);
    QCoreApplication::sendEvent(&receiver, &deactivate);
    EXPECT_EQ(values, (std::vector<HidInputValue>{{7, 0x04, 1}, {7, 0x04, 0}}));
}

}  // namespace
}  // namespace keyloom
