#pragma once

#include <optional>
#include <string>

#include "platform/input/UdevKeySource.h"

namespace keyloom {

// Keyboards and keypads through their Linux event devices (/dev/input/event*). Key presses and releases become
// keyboard-page usages by EvdevUsageTable; autorepeat is dropped.
class EvdevKeySource : public UdevKeySource {
  public:
    int open(const std::vector<HidUsageMatch>& matching) override;

    // One evdev event as the key capture sees it: EV_KEY values 1 and 0 of mapped keys; nothing else.
    static std::optional<HidInputValue> translate(uint16_t type, uint16_t code, int32_t value);
    // What a udev input device is, from its name and properties: a keyboard (1, 6), a keypad candidate (1, 7;
    // confirmed by its keys once open), or nothing.
    static std::optional<HidUsageMatch> classify(const std::string& sysname, bool keyboardProperty, bool keyProperty);

  protected:
    int openDevice(udev_device* dev) override;
    bool readDevice(Device& device, std::vector<HidInputValue>& values) override;

  private:
    std::vector<HidUsageMatch> matching_;
};

}  // namespace keyloom
