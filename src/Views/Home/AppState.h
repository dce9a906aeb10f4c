#pragma once

#include <QPointer>
#include <QWidget>
#include <cstdint>
#include <string>

#include "platform/hid/HidHandle.h"

namespace keyloom {

// Application-wide state shared by the screens. Main thread only: work from other threads posts itself here first.

// The one open editor window, or none. At most one editor is open at a time.
extern QPointer<QWidget> KEYBOARD_VIEW;

// First field of the usage report and of the feedback message's software information.
inline const std::string softwareVersion = "version:1.2.7";
// Firmware version text of the last accepted keyboard ("" until one connects; kept over a disconnection).
std::string& keyboardVersion();
// The system-description field of the usage report and the feedback message; nothing fills it.
const std::string& systemInfo();
// Windows language identifier that picks the 88-key photo (US English).
extern int64_t keyboardLayout;

// What the home screen hands an editor with the "showkeyboard" and "showmarrowinkb" transitions.
struct KeyboardSegueSender {
    HidHandleRef kbHIDdevice;  // the tracked keyboard's handle
    QString keyboardTitle;     // the home screen's label text
};

}  // namespace keyloom
