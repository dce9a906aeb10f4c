#include "platform/input/InputTrust.h"

#include <fcntl.h>

#include <mutex>

#include "platform/input/EvdevKeySource.h"
#include "platform/input/UdevHandles.h"

namespace keyloom {

namespace {

std::mutex handlerMutex;
std::function<void()>& promptHandler() {
    static std::function<void()> handler;
    return handler;
}

}  // namespace

std::vector<std::string> keyboardEventNodes() {
    std::vector<std::string> nodes;
    UdevPtr udev(udev_new());
    if (!udev) return nodes;
    UdevEnumeratePtr en(udev_enumerate_new(udev.get()));
    if (!en) return nodes;
    udev_enumerate_add_match_subsystem(en.get(), "input");
    udev_enumerate_add_match_property(en.get(), "ID_INPUT_KEYBOARD", "1");
    udev_enumerate_scan_devices(en.get());
    udev_list_entry* entry;
    udev_list_entry_foreach(entry, udev_enumerate_get_list_entry(en.get())) {
        UdevDevicePtr dev(udev_device_new_from_syspath(udev.get(), udev_list_entry_get_name(entry)));
        if (!dev || !udev_device_get_devnode(dev.get())) continue;
        if (EvdevKeySource::classify(udevString(udev_device_get_sysname(dev.get())), true, true))
            nodes.emplace_back(udev_device_get_devnode(dev.get()));
    }
    return nodes;
}

bool canReadAll(const std::vector<std::string>& nodes) {
    if (nodes.empty()) return false;
    for (const std::string& node : nodes) {
        UniqueFd fd(::open(node.c_str(), O_RDONLY | O_NONBLOCK | O_CLOEXEC));
        if (!fd.valid()) return false;
    }
    return true;
}

bool isTrusted(bool prompt) {
    const bool trusted = canReadAll(keyboardEventNodes());
    if (!trusted && prompt) {
        std::function<void()> handler;
        {
            std::lock_guard lock(handlerMutex);
            handler = promptHandler();
        }
        if (handler) handler();
    }
    return trusted;
}

void setTrustPromptHandler(std::function<void()> handler) {
    std::lock_guard lock(handlerMutex);
    promptHandler() = std::move(handler);
}

std::string trustPromptText() {
    return "Velkor Keyloom cannot read your keyboards' input devices, so it sees the keys you hold only while one of "
           "its windows is active.\n\n"
           "To let it see every key, add your user to the \"input\" group (sudo usermod -aG input $USER), then log "
           "out and back in.";
}

}  // namespace keyloom
