#include <gtest/gtest.h>
#include <linux/input-event-codes.h>

#include <QCoreApplication>
#include <QKeyEvent>

#include "platform/input/QtKeyEventSource.h"

namespace keyloom {
namespace {

using Values = std::vector<HidInputValue>;

QKeyEvent keyEvent(QEvent::Type type, int key, quint32 scanCode, bool autorepeat = false,
                   Qt::KeyboardModifiers mods = Qt::NoModifier) {
    return QKeyEvent(type, key, mods, scanCode, 0, 0, QString(), autorepeat);
}

TEST(QtKeyEventSource, XkbKeycodesNameTheExactKey) {
    QtKeyEventSource source(QtKeyEventSource::ScanCodes::XkbKeycode);
    const struct {
        int key;
        unsigned linuxCode;
        uint32_t usage;
    } cases[] = {
        {Qt::Key_Shift, KEY_RIGHTSHIFT, 0xE5},
        {Qt::Key_Control, KEY_RIGHTCTRL, 0xE4},
        {Qt::Key_Backslash, KEY_102ND, 0x64},
        {Qt::Key_NumberSign, KEY_BACKSLASH, 0x31},
        {Qt::Key_yen, KEY_YEN, 0x89},
        {Qt::Key_Muhenkan, KEY_MUHENKAN, 0x8B},
        {Qt::Key_A, KEY_Q, 0x14},  // a French layout's A sits on the Q key
        {Qt::Key_Launch0, 0, 0},   // no scan code and no Qt mapping
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.key);
        QKeyEvent ev = keyEvent(QEvent::KeyPress, c.key, c.linuxCode ? c.linuxCode + 8 : 0);
        auto usage = source.usageFor(ev);
        if (c.usage)
            EXPECT_EQ(usage, c.usage);
        else
            EXPECT_EQ(usage, std::nullopt);
    }
}

TEST(QtKeyEventSource, QtKeysWithoutScanCodes) {
    QtKeyEventSource source(QtKeyEventSource::ScanCodes::QtKeyOnly);
    EXPECT_EQ(source.usageFor(keyEvent(QEvent::KeyPress, Qt::Key_A, 0)), 0x04u);
    EXPECT_EQ(source.usageFor(keyEvent(QEvent::KeyPress, Qt::Key_Shift, 0)), 0xE1u);
    EXPECT_EQ(source.usageFor(keyEvent(QEvent::KeyPress, Qt::Key_Exclam, 0)), 0x1Eu);
    EXPECT_EQ(source.usageFor(keyEvent(QEvent::KeyPress, Qt::Key_5, 0, false, Qt::KeypadModifier)), 0x5Du);
    EXPECT_EQ(source.usageFor(keyEvent(QEvent::KeyPress, Qt::Key_5, 0)), 0x22u);
    // A scan code is not trusted when the platform does not give xkb keycodes.
    EXPECT_EQ(source.usageFor(keyEvent(QEvent::KeyPress, Qt::Key_B, KEY_A + 8)), 0x05u);
}

class QtKeyEventSourceDelivery : public ::testing::Test {
  protected:
    void SetUp() override {
        ASSERT_EQ(source.open({{0x01, 0x06}}), kKeyCaptureSuccess);
        KeyInputHandlers h;
        h.value = [this](const KeyInputDevice&, const HidInputValue& v) { values.push_back(v); };
        h.sync = [this] { ++syncs; };
        source.schedule(std::move(h));
    }
    void send(QEvent::Type type, int key, unsigned linuxCode, bool autorepeat = false) {
        QKeyEvent ev = keyEvent(type, key, linuxCode + 8, autorepeat);
        QCoreApplication::sendEvent(&receiver, &ev);
    }
    QtKeyEventSource source{QtKeyEventSource::ScanCodes::XkbKeycode};
    QObject receiver;
    Values values;
    int syncs = 0;
};

TEST_F(QtKeyEventSourceDelivery, EachChangeOnceAndNoAutorepeat) {
    send(QEvent::KeyPress, Qt::Key_Shift, KEY_LEFTSHIFT);
    send(QEvent::KeyPress, Qt::Key_Shift, KEY_LEFTSHIFT);  // the same event reaching a parent widget
    send(QEvent::KeyPress, Qt::Key_Shift, KEY_LEFTSHIFT, true);
    send(QEvent::KeyRelease, Qt::Key_Shift, KEY_LEFTSHIFT, true);
    send(QEvent::KeyRelease, Qt::Key_Shift, KEY_LEFTSHIFT);
    send(QEvent::KeyRelease, Qt::Key_Shift, KEY_LEFTSHIFT);
    EXPECT_EQ(values, (Values{{7, 0xE1, 1}, {7, 0xE1, 0}}));
    EXPECT_EQ(syncs, 6);  // the event devices are read before every key event is handled
}

TEST_F(QtKeyEventSourceDelivery, LosingTheKeyboardReleasesHeldKeys) {
    send(QEvent::KeyPress, Qt::Key_Control, KEY_LEFTCTRL);
    send(QEvent::KeyPress, Qt::Key_A, KEY_A);
    QApplicationStateChangeEvent inactive(Qt::ApplicationInactive);
    QCoreApplication::sendEvent(QCoreApplication::instance(), &inactive);
    ASSERT_EQ(values.size(), 4u);
    EXPECT_EQ(values[2].integerValue, 0);
    EXPECT_EQ(values[3].integerValue, 0);
}

TEST(QtKeyEventSource, NotInstalledWithoutKeyboardsInTheMatching) {
    QtKeyEventSource source(QtKeyEventSource::ScanCodes::XkbKeycode);
    source.open({{0xFF0A, 0x01}});
    int calls = 0;
    KeyInputHandlers h;
    h.value = [&](const KeyInputDevice&, const HidInputValue&) { ++calls; };
    source.schedule(std::move(h));
    QObject receiver;
    QKeyEvent ev = keyEvent(QEvent::KeyPress, Qt::Key_A, KEY_A + 8);
    QCoreApplication::sendEvent(&receiver, &ev);
    EXPECT_EQ(calls, 0);
}

}  // namespace
}  // namespace keyloom
