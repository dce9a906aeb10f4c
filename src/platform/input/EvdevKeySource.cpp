#include "platform/input/EvdevKeySource.h"

#include <fcntl.h>
#include <libevdev/libevdev.h>

#include <algorithm>
#include <cerrno>

#include "platform/input/EvdevUsageTable.h"

namespace keyloom {

namespace {

struct EvdevDeleter {
    void operator()(libevdev* p) const { libevdev_free(p); }
};

struct EvdevDevice : UdevKeySource::Device {
    std::unique_ptr<libevdev, EvdevDeleter> evdev;
};

bool wants(const std::vector<HidUsageMatch>& matching, uint32_t usage) {
    return std::find(matching.begin(), matching.end(), HidUsageMatch{kGenericDesktopPage, usage}) != matching.end();
}

bool hasKeypadKeys(libevdev* dev) {
    for (unsigned code : {KEY_KP0, KEY_KP1, KEY_KP5, KEY_KP9, KEY_KPENTER})
        if (!libevdev_has_event_code(dev, EV_KEY, code)) return false;
    return true;
}

}  // namespace

std::optional<HidInputValue> EvdevKeySource::translate(uint16_t type, uint16_t code, int32_t value) {
    if (type != EV_KEY || (value != 0 && value != 1)) return std::nullopt;  // 2 = autorepeat
    auto usage = EvdevUsageTable::usageForKeyCode(code);
    if (!usage) return std::nullopt;
    return HidInputValue{kKeyboardPage, *usage, value};
}

std::optional<HidUsageMatch> EvdevKeySource::classify(const std::string& sysname, bool keyboardProperty,
                                                      bool keyProperty) {
    if (sysname.rfind("event", 0) != 0) return std::nullopt;
    if (keyboardProperty) return HidUsageMatch{kGenericDesktopPage, kKeyboardUsage};
    if (keyProperty) return HidUsageMatch{kGenericDesktopPage, kKeypadUsage};
    return std::nullopt;
}

int EvdevKeySource::open(const std::vector<HidUsageMatch>& matching) {
    matching_.clear();
    for (uint32_t usage : {kKeyboardUsage, kKeypadUsage})
        if (wants(matching, usage)) matching_.push_back({kGenericDesktopPage, usage});
    if (matching_.empty()) return kKeyCaptureSuccess;
    return startUdev("input");
}

int EvdevKeySource::openDevice(udev_device* dev) {
    auto kind = classify(udevString(udev_device_get_sysname(dev)), udevProperty(dev, "ID_INPUT_KEYBOARD") == "1",
                         udevProperty(dev, "ID_INPUT_KEY") == "1");
    const char* node = udev_device_get_devnode(dev);
    if (!kind || !node || !wants(matching_, kind->usage)) return kKeyCaptureSuccess;

    UniqueFd fd(::open(node, O_RDONLY | O_NONBLOCK | O_CLOEXEC));
    if (!fd.valid()) {
        // Only a keyboard we may not read counts as a failure; keypad candidates are mostly buttons of other kinds.
        if ((errno == EACCES || errno == EPERM) && kind->usage == kKeyboardUsage) return kKeyCaptureNotPermitted;
        return kKeyCaptureSuccess;
    }
    libevdev* raw = nullptr;
    if (libevdev_new_from_fd(fd.get(), &raw) < 0) return kKeyCaptureSuccess;
    auto device = std::make_unique<EvdevDevice>();
    device->evdev.reset(raw);
    if (kind->usage == kKeypadUsage && !hasKeypadKeys(raw)) return kKeyCaptureSuccess;

    device->info.name = udevString(libevdev_get_name(raw));
    device->info.path = node;
    device->info.usagePage = kind->usagePage;
    device->info.usage = kind->usage;
    device->syspath = udevString(udev_device_get_syspath(dev));
    device->fd = std::move(fd);
    addDevice(std::move(device));
    return kKeyCaptureSuccess;
}

bool EvdevKeySource::readDevice(Device& device, std::vector<HidInputValue>& values) {
    libevdev* dev = static_cast<EvdevDevice&>(device).evdev.get();
    auto take = [&](const input_event& ev) {
        if (auto v = translate(ev.type, ev.code, ev.value)) values.push_back(*v);
    };
    for (;;) {
        input_event ev;
        int rc = libevdev_next_event(dev, LIBEVDEV_READ_FLAG_NORMAL, &ev);
        if (rc == LIBEVDEV_READ_STATUS_SUCCESS) {
            take(ev);
        } else if (rc == LIBEVDEV_READ_STATUS_SYNC) {
            // Events were dropped: libevdev replays the differences of the device state.
            while ((rc = libevdev_next_event(dev, LIBEVDEV_READ_FLAG_SYNC, &ev)) == LIBEVDEV_READ_STATUS_SYNC) take(ev);
            if (rc != -EAGAIN) return false;
        } else {
            return rc == -EAGAIN;
        }
    }
}

}  // namespace keyloom
