#include "platform/input/HidrawVendorSource.h"

#include <fcntl.h>
#include <unistd.h>

#include <algorithm>
#include <array>
#include <cerrno>
#include <fstream>

#include "platform/input/HidReportDecoder.h"

namespace keyloom {

namespace {

constexpr size_t kMaxDescriptorSize = 4096;  // the kernel's limit
constexpr size_t kMaxReportSize = 4096;

struct HidrawDevice : UdevKeySource::Device {
    std::optional<HidReportDecoder> decoder;
};

// The report descriptor from sysfs, which anyone may read, so only matching interfaces are opened.
std::vector<uint8_t> readDescriptor(udev_device* hidraw) {
    udev_device* hid = udev_device_get_parent_with_subsystem_devtype(hidraw, "hid", nullptr);  // not owned
    if (!hid) return {};
    std::ifstream in(udevString(udev_device_get_syspath(hid)) + "/report_descriptor", std::ios::binary);
    std::vector<uint8_t> bytes;
    char c;
    while (bytes.size() <= kMaxDescriptorSize && in.get(c)) bytes.push_back(uint8_t(c));
    if (bytes.size() > kMaxDescriptorSize) return {};
    return bytes;
}

}  // namespace

std::vector<HidUsageMatch> HidrawVendorSource::vendorPairs(const std::vector<HidUsageMatch>& matching) {
    std::vector<HidUsageMatch> out;
    for (const HidUsageMatch& m : matching) {
        const bool keyboardOrKeypad =
            m.usagePage == kGenericDesktopPage && (m.usage == kKeyboardUsage || m.usage == kKeypadUsage);
        if (!keyboardOrKeypad && std::find(out.begin(), out.end(), m) == out.end()) out.push_back(m);
    }
    return out;
}

int HidrawVendorSource::open(const std::vector<HidUsageMatch>& matching) {
    matching_ = vendorPairs(matching);
    if (matching_.empty()) return kKeyCaptureSuccess;
    return startUdev("hidraw");
}

int HidrawVendorSource::openDevice(udev_device* dev) {
    const char* node = udev_device_get_devnode(dev);
    if (!node) return kKeyCaptureSuccess;
    const std::vector<uint8_t> descriptor = readDescriptor(dev);
    auto decoder = HidReportDecoder::parse(descriptor.data(), descriptor.size());
    if (!decoder || !decoder->hasCollection(matching_)) return kKeyCaptureSuccess;
    decoder->restrictTo(matching_);

    UniqueFd fd(::open(node, O_RDONLY | O_NONBLOCK | O_CLOEXEC));
    if (!fd.valid()) return (errno == EACCES || errno == EPERM) ? kKeyCaptureNotPermitted : kKeyCaptureSuccess;

    auto device = std::make_unique<HidrawDevice>();
    device->info.name = udevProperty(udev_device_get_parent_with_subsystem_devtype(dev, "hid", nullptr), "HID_NAME");
    device->info.path = node;
    for (const HidUsageMatch& c : decoder->collections())
        if (std::find(matching_.begin(), matching_.end(), c) != matching_.end()) {
            device->info.usagePage = c.usagePage;
            device->info.usage = c.usage;
            break;
        }
    device->syspath = udevString(udev_device_get_syspath(dev));
    device->fd = std::move(fd);
    device->decoder = std::move(decoder);
    addDevice(std::move(device));
    return kKeyCaptureSuccess;
}

bool HidrawVendorSource::readDevice(Device& device, std::vector<HidInputValue>& values) {
    auto& decoder = *static_cast<HidrawDevice&>(device).decoder;
    std::array<uint8_t, kMaxReportSize> buffer;
    for (;;) {
        const ssize_t n = ::read(device.fd.get(), buffer.data(), buffer.size());  // one report per read
        if (n > 0) {
            auto changes = decoder.decode(buffer.data(), size_t(n));
            values.insert(values.end(), changes.begin(), changes.end());
            continue;
        }
        if (n < 0 && errno == EINTR) continue;
        return n < 0 && (errno == EAGAIN || errno == EWOULDBLOCK);
    }
}

}  // namespace keyloom
