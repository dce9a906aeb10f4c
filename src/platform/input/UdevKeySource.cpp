#include "platform/input/UdevKeySource.h"

#include <QSocketNotifier>

namespace keyloom {

UdevKeySource::Device::~Device() {
    notifier.reset();
}

UdevKeySource::~UdevKeySource() {
    monitorNotifier_.reset();
    devices_.clear();
}

int UdevKeySource::startUdev(const char* subsystem) {
    if (udev_) return kKeyCaptureSuccess;
    udev_.reset(udev_new());
    if (!udev_) return kKeyCaptureUnavailable;
    // Follow arrivals before enumerating, so a device plugged in meanwhile is not missed.
    monitor_.reset(udev_monitor_new_from_netlink(udev_.get(), "udev"));
    if (monitor_) {
        udev_monitor_filter_add_match_subsystem_devtype(monitor_.get(), subsystem, nullptr);
        if (udev_monitor_enable_receiving(monitor_.get()) < 0) monitor_.reset();
    }
    UdevEnumeratePtr en(udev_enumerate_new(udev_.get()));
    if (!en) return kKeyCaptureUnavailable;
    udev_enumerate_add_match_subsystem(en.get(), subsystem);
    udev_enumerate_scan_devices(en.get());
    int result = monitor_ ? kKeyCaptureSuccess : kKeyCaptureUnavailable;
    udev_list_entry* entry;
    udev_list_entry_foreach(entry, udev_enumerate_get_list_entry(en.get())) {
        UdevDevicePtr dev(udev_device_new_from_syspath(udev_.get(), udev_list_entry_get_name(entry)));
        if (!dev || knows(udevString(udev_device_get_syspath(dev.get())))) continue;
        const int r = openDevice(dev.get());
        if (r != kKeyCaptureSuccess && result == kKeyCaptureSuccess) result = r;
    }
    return result;
}

bool UdevKeySource::knows(const std::string& syspath) const {
    for (const auto& [id, d] : devices_)
        if (d->syspath == syspath) return true;
    return false;
}

void UdevKeySource::addDevice(std::unique_ptr<Device> device) {
    device->info.id = nextDeviceId();
    Device& ref = *device;
    devices_.emplace(ref.info.id, std::move(device));
    if (scheduled_) {
        startNotifier(ref);
        if (handlers_.matched) handlers_.matched(ref.info);
    }
}

void UdevKeySource::schedule(KeyInputHandlers handlers) {
    if (scheduled_) return;
    handlers_ = std::move(handlers);
    scheduled_ = true;
    if (monitor_) {
        monitorNotifier_ =
            std::make_unique<QSocketNotifier>(udev_monitor_get_fd(monitor_.get()), QSocketNotifier::Read);
        QObject::connect(monitorNotifier_.get(), &QSocketNotifier::activated, [this] { onMonitorReadable(); });
    }
    std::vector<uint64_t> ids;
    for (auto& [id, d] : devices_) ids.push_back(id);
    for (uint64_t id : ids) {
        auto it = devices_.find(id);
        if (it == devices_.end()) continue;
        startNotifier(*it->second);
        if (handlers_.matched) handlers_.matched(it->second->info);
    }
}

void UdevKeySource::startNotifier(Device& device) {
    device.notifier = std::make_unique<QSocketNotifier>(device.fd.get(), QSocketNotifier::Read);
    const uint64_t id = device.info.id;
    QObject::connect(device.notifier.get(), &QSocketNotifier::activated, [this, id] { read(id); });
}

void UdevKeySource::flush() {
    if (!scheduled_) return;
    std::vector<uint64_t> ids;
    for (auto& [id, d] : devices_) ids.push_back(id);
    for (uint64_t id : ids) read(id);
}

void UdevKeySource::read(uint64_t id) {
    auto it = devices_.find(id);
    if (it == devices_.end()) return;
    const KeyInputDevice info = it->second->info;
    std::vector<HidInputValue> values;
    const bool alive = readDevice(*it->second, values);
    // Delivered after reading: a handler may flush, which then finds nothing half-read.
    for (const HidInputValue& v : values)
        if (handlers_.value) handlers_.value(info, v);
    if (!alive) removeDevice(id);
}

void UdevKeySource::removeDevice(uint64_t id) {
    auto it = devices_.find(id);
    if (it == devices_.end()) return;
    std::unique_ptr<Device> device = std::move(it->second);
    devices_.erase(it);
    device->notifier.reset();
    if (scheduled_ && handlers_.removed) handlers_.removed(device->info);
}

void UdevKeySource::onMonitorReadable() {
    UdevDevicePtr dev(udev_monitor_receive_device(monitor_.get()));
    if (!dev) return;
    const std::string action = udevString(udev_device_get_action(dev.get()));
    const std::string syspath = udevString(udev_device_get_syspath(dev.get()));
    if (action == "remove") {
        for (const auto& [id, d] : devices_)
            if (d->syspath == syspath) {
                removeDevice(id);
                break;
            }
        return;
    }
    // "change" lets a device that could not be read before be tried again.
    if ((action == "add" || action == "change") && !knows(syspath)) openDevice(dev.get());
}

}  // namespace keyloom
