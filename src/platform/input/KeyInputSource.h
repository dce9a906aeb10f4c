#pragma once

#include <cstdint>
#include <functional>
#include <string>
#include <vector>

namespace keyloom {

// One (usage page, usage) pair of a matching list: which devices the key capture listens to.
struct HidUsageMatch {
    uint32_t usagePage = 0;
    uint32_t usage = 0;
    bool operator==(const HidUsageMatch&) const = default;
};

// One change of one element: 1 on press and 0 on release for keys, the element's value otherwise.
struct HidInputValue {
    uint32_t usagePage = 0;
    uint32_t usage = 0;
    int64_t integerValue = 0;
    bool operator==(const HidInputValue&) const = default;
};

// A device a source listens to. id is unique per arrival within the process.
struct KeyInputDevice {
    uint64_t id = 0;
    std::string name;
    std::string path;
    uint32_t usagePage = 0;
    uint32_t usage = 0;
};

// Usage pages and usages the sources know.
inline constexpr uint32_t kGenericDesktopPage = 0x01;
inline constexpr uint32_t kKeyboardUsage = 0x06;
inline constexpr uint32_t kKeypadUsage = 0x07;
inline constexpr uint32_t kKeyboardPage = 0x07;

// Results of opening (0 = success, as the platform's return codes).
inline constexpr int kKeyCaptureSuccess = 0;
inline constexpr int kKeyCaptureNotPermitted = -10;  // a matched device exists but cannot be read
inline constexpr int kKeyCaptureUnavailable = -11;   // the device discovery itself failed

// What a source calls, always on the main thread, once it is scheduled.
struct KeyInputHandlers {
    std::function<void(const KeyInputDevice&)> matched;
    std::function<void(const KeyInputDevice&)> removed;
    std::function<void(const KeyInputDevice&, const HidInputValue&)> value;
    // Asks every source to deliver what it already has pending (called before a window handles a key event).
    std::function<void()> sync;
};

// One backend of the key capture: evdev keyboards, the vendor interface over hidraw, window key events, or a
// simulation. Lives on the main thread.
class KeyInputSource {
  public:
    virtual ~KeyInputSource() = default;

    // Finds and opens the devices of the matching list that this source serves. Returns kKeyCaptureSuccess, or an
    // error when some matched device could not be opened; the source then works with what it could open.
    virtual int open(const std::vector<HidUsageMatch>& matching) = 0;
    // Starts delivering on the main thread's event loop; announces the devices already open.
    virtual void schedule(KeyInputHandlers handlers) = 0;
    // Delivers, now, what is already waiting to be read.
    virtual void flush() {}

    static uint64_t nextDeviceId();
};

// True when the list asks for keyboards or keypads.
bool matchesKeyboards(const std::vector<HidUsageMatch>& matching);

}  // namespace keyloom
