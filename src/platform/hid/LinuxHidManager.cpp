#include "platform/hid/LinuxHidManager.h"

#include <fcntl.h>
#include <libudev.h>
#include <sys/epoll.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>

#include "platform/hid/LinuxHidDevice.h"

namespace keyloom {

namespace {

constexpr uint64_t kPendingToken = 0;
constexpr uint64_t kMonitorToken = 1;
constexpr size_t kMaxDescriptor = 4096;

std::vector<uint8_t> readSysfsFile(const std::string& path) {
    std::vector<uint8_t> data;
    const int fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC);
    if (fd < 0) return data;
    data.resize(kMaxDescriptor);
    size_t got = 0;
    while (got < data.size()) {
        const ssize_t n = ::read(fd, data.data() + got, data.size() - got);
        if (n < 0 && errno == EINTR) continue;
        if (n <= 0) break;
        got += static_cast<size_t>(n);
    }
    ::close(fd);
    data.resize(got);
    return data;
}

std::string text(const char* s) {
    return s ? std::string(s) : std::string();
}

bool watch(int epoll, int fd, uint64_t token) {
    epoll_event ev{};
    ev.events = EPOLLIN;
    ev.data.u64 = token;
    return ::epoll_ctl(epoll, EPOLL_CTL_ADD, fd, &ev) == 0;
}

}  // namespace

void LinuxHidManager::UdevUnref::operator()(udev* u) const {
    udev_unref(u);
}
void LinuxHidManager::UdevUnref::operator()(udev_monitor* m) const {
    udev_monitor_unref(m);
}

LinuxHidManager::LinuxHidManager() : epoll_(::epoll_create1(EPOLL_CLOEXEC)) {
    if (epoll_ >= 0 && pending_.valid()) watch(epoll_, pending_.fd(), kPendingToken);
}

LinuxHidManager::~LinuxHidManager() {
    // Handles may outlive the manager; they keep their fds until their last owner lets go.
    if (epoll_ >= 0) ::close(epoll_);
}

int LinuxHidManager::open() {
    if (opened_) return kHidSuccess;
    opened_ = true;
    if (epoll_ < 0) return kHidErrorIO;
    udev_.reset(udev_new());
    if (!udev_) return kHidErrorIO;

    // The monitor first, so nothing plugged during the enumeration is missed; duplicates are dropped by syspath.
    monitor_.reset(udev_monitor_new_from_netlink(udev_.get(), "udev"));
    if (monitor_ && udev_monitor_filter_add_match_subsystem_devtype(monitor_.get(), "hidraw", nullptr) >= 0 &&
        udev_monitor_enable_receiving(monitor_.get()) >= 0) {
        const int fd = udev_monitor_get_fd(monitor_.get());
        // libudev makes the socket non-blocking already; make sure, as dispatch() must never block.
        ::fcntl(fd, F_SETFL, ::fcntl(fd, F_GETFL) | O_NONBLOCK);
        if (!watch(epoll_, fd, kMonitorToken)) monitor_.reset();
    } else {
        monitor_.reset();
    }

    int result = kHidSuccess;
    std::unique_ptr<udev_enumerate, void (*)(udev_enumerate*)> enumerate(
        udev_enumerate_new(udev_.get()), [](udev_enumerate* e) { udev_enumerate_unref(e); });
    if (!enumerate || udev_enumerate_add_match_subsystem(enumerate.get(), "hidraw") < 0 ||
        udev_enumerate_scan_devices(enumerate.get()) < 0) {
        result = kHidErrorIO;
    } else {
        udev_list_entry* entry;
        udev_list_entry_foreach(entry, udev_enumerate_get_list_entry(enumerate.get())) {
            const char* path = udev_list_entry_get_name(entry);
            if (!path) continue;
            udev_device* dev = udev_device_new_from_syspath(udev_.get(), path);
            if (!dev) continue;
            add(dev, false);
            udev_device_unref(dev);
        }
    }
    if (!monitor_ && result == kHidSuccess) result = kHidErrorIO;
    return result;
}

std::shared_ptr<LinuxHidDevice> LinuxHidManager::makeDevice(udev_device* device) {
    const char* syspath = udev_device_get_syspath(device);
    const char* devnode = udev_device_get_devnode(device);
    if (!syspath || !devnode) return nullptr;
    // Parents belong to the child device: no unref.
    udev_device* hid = udev_device_get_parent_with_subsystem_devtype(device, "hid", nullptr);
    if (!hid) return nullptr;
    auto id = HidrawDeviceInfo::parseHidId(text(udev_device_get_property_value(hid, "HID_ID")));
    if (!id) return nullptr;
    const std::string hidPath = text(udev_device_get_syspath(hid));
    const auto descriptor = HidReportDescriptor::parse(readSysfsFile(hidPath + "/report_descriptor"));
    if (!matches(id->vendorId, id->productId, descriptor.applicationUsages())) return nullptr;

    std::optional<std::string> usbProduct;
    if (udev_device* usb = udev_device_get_parent_with_subsystem_devtype(device, "usb", "usb_device")) {
        if (const char* product = udev_device_get_sysattr_value(usb, "product")) usbProduct = product;
    }
    udev_device* physical = udev_device_get_parent(hid);
    const std::string physicalPath = physical ? text(udev_device_get_syspath(physical)) : hidPath;
    auto properties = HidrawDeviceInfo::properties(*id, text(udev_device_get_property_value(hid, "HID_NAME")),
                                                   usbProduct, descriptor, physicalPath);
    auto dev = std::make_shared<LinuxHidDevice>(syspath, devnode, std::move(properties), descriptor.usesReportIds());
    dev->openNode();  // without access the device is still announced; its transfers report kHidErrorNoAccess
    return dev;
}

void LinuxHidManager::add(udev_device* device, bool announceNow) {
    const char* syspath = udev_device_get_syspath(device);
    if (!syspath || tokens_.count(syspath)) return;
    auto dev = makeDevice(device);
    if (!dev) return;
    const uint64_t token = nextToken_++;
    // Should the epoll entry fail, only the input reports are lost; transfers still work.
    if (dev->fd() >= 0) watch(epoll_, dev->fd(), token);
    devices_[token] = dev;
    tokens_[dev->syspath()] = token;
    if (announceNow) {
        announceArrival(dev);
    } else {
        arrivals_.push_back(dev);
        pending_.signal();
    }
}

void LinuxHidManager::removeSyspath(const std::string& syspath) {
    auto it = tokens_.find(syspath);
    if (it != tokens_.end()) remove(it->second);
}

void LinuxHidManager::remove(uint64_t token) {
    auto it = devices_.find(token);
    if (it == devices_.end()) return;
    auto dev = it->second;
    devices_.erase(it);
    tokens_.erase(dev->syspath());
    if (dev->fd() >= 0) ::epoll_ctl(epoll_, EPOLL_CTL_DEL, dev->fd(), nullptr);
    dev->markRemoved();
    announceRemoval(dev);
}

void LinuxHidManager::receiveMonitorEvents() {
    if (!monitor_) return;
    while (udev_device* dev = udev_monitor_receive_device(monitor_.get())) {
        const std::string action = text(udev_device_get_action(dev));
        if (action == "add")
            add(dev, true);
        else if (action == "remove")
            removeSyspath(text(udev_device_get_syspath(dev)));
        udev_device_unref(dev);
    }
}

void LinuxHidManager::dispatch() {
    if (epoll_ < 0) return;
    // Devices found by open() first, so a removal or an input report never comes before its arrival.
    pending_.drain();
    while (!arrivals_.empty()) {
        auto dev = arrivals_.front();
        arrivals_.pop_front();
        announceArrival(dev);
    }
    epoll_event events[32];
    const int n = ::epoll_wait(epoll_, events, 32, 0);
    for (int i = 0; i < n; ++i) {
        const uint64_t token = events[i].data.u64;
        if (token == kPendingToken) {
            continue;
        } else if (token == kMonitorToken) {
            receiveMonitorEvents();
        } else {
            auto it = devices_.find(token);
            if (it == devices_.end()) continue;  // removed earlier in this round
            auto dev = it->second;
            const bool alive = (events[i].events & EPOLLIN) ? dev->readInputReports() : true;
            if (!alive || (events[i].events & (EPOLLHUP | EPOLLERR))) remove(token);
        }
    }
}

}  // namespace keyloom
