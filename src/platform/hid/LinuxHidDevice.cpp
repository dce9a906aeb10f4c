#include "platform/hid/LinuxHidDevice.h"

#include <fcntl.h>
#include <linux/hidraw.h>
#include <sys/ioctl.h>
#include <unistd.h>

#include <cerrno>

#include "platform/hid/HidrawFraming.h"

namespace keyloom {

namespace {

constexpr size_t kMaxReport = 16384;    // the kernel's largest HID report buffer
constexpr int kMaxReportsPerRead = 64;  // leaves room for other devices between reads of a chatty one

template <typename F>
int retrying(F call) {
    int r;
    do {
        r = call();
    } while (r < 0 && errno == EINTR);
    return r;
}

}  // namespace

LinuxHidDevice::LinuxHidDevice(std::string syspath, std::string devnode, HidrawDeviceInfo::Properties properties,
                               bool numbered)
    : syspath_(std::move(syspath)),
      devnode_(std::move(devnode)),
      properties_(std::move(properties)),
      numbered_(numbered) {}

LinuxHidDevice::~LinuxHidDevice() {
    if (fd_ >= 0) ::close(fd_);
}

bool LinuxHidDevice::openNode() {
    if (fd_ >= 0) return true;
    fd_ = retrying([&] { return ::open(devnode_.c_str(), O_RDWR | O_NONBLOCK | O_CLOEXEC); });
    return fd_ >= 0;
}

HidPropertyValue LinuxHidDevice::property(std::string_view key) const {
    auto it = properties_.find(key);
    return it == properties_.end() ? HidPropertyValue{} : it->second;
}

int LinuxHidDevice::status(int error) const {
    if (removed_ || error == ENODEV || error == ENXIO || error == ESHUTDOWN) return kHidErrorNotAttached;
    return kHidErrorIO;
}

int LinuxHidDevice::setReport(HidReportType type, int64_t reportId, const uint8_t* bytes, size_t length) {
    if (removed_) return kHidErrorNotAttached;
    if (fd_ < 0) return kHidErrorNoAccess;
    if ((length > 0 && !bytes) || length > kMaxReport || reportId < 0 || reportId > 255) return kHidErrorBadArgument;
    std::vector<uint8_t> frame = hidrawFrame(reportId, bytes, length);
    int r = -1;
    switch (type) {
        case HidReportType::Feature:
            r = retrying([&] { return ::ioctl(fd_, HIDIOCSFEATURE(frame.size()), frame.data()); });
            break;
        case HidReportType::Output:
            r = retrying([&] { return static_cast<int>(::write(fd_, frame.data(), frame.size())); });
            break;
        case HidReportType::Input:
#ifdef HIDIOCSINPUT
            r = retrying([&] { return ::ioctl(fd_, HIDIOCSINPUT(frame.size()), frame.data()); });
            break;
#else
            return kHidErrorBadArgument;
#endif
    }
    return r < 0 ? status(errno) : kHidSuccess;
}

int LinuxHidDevice::getReport(HidReportType type, int64_t reportId, uint8_t* buffer, size_t& length) {
    const size_t wanted = length;
    length = 0;
    if (removed_) return kHidErrorNotAttached;
    if (fd_ < 0) return kHidErrorNoAccess;
    if ((wanted > 0 && !buffer) || wanted > kMaxReport || reportId < 0 || reportId > 255) return kHidErrorBadArgument;
    std::vector<uint8_t> frame = hidrawReadBuffer(reportId, wanted);
    int r = -1;
    switch (type) {
        case HidReportType::Feature:
            r = retrying([&] { return ::ioctl(fd_, HIDIOCGFEATURE(frame.size()), frame.data()); });
            break;
#ifdef HIDIOCGINPUT
        case HidReportType::Input:
            r = retrying([&] { return ::ioctl(fd_, HIDIOCGINPUT(frame.size()), frame.data()); });
            break;
        case HidReportType::Output:
            r = retrying([&] { return ::ioctl(fd_, HIDIOCGOUTPUT(frame.size()), frame.data()); });
            break;
#endif
        default:
            return kHidErrorBadArgument;
    }
    if (r < 0) return status(errno);
    length = hidrawUnframeRead(reportId, frame, static_cast<size_t>(r), buffer, wanted);
    return kHidSuccess;
}

bool LinuxHidDevice::readInputReports() {
    if (fd_ < 0) return true;
    if (readBuffer_.empty()) readBuffer_.resize(kMaxReport);
    for (int i = 0; i < kMaxReportsPerRead; ++i) {
        const ssize_t n = ::read(fd_, readBuffer_.data(), readBuffer_.size());
        if (n > 0) {
            const int64_t id = numbered_ ? readBuffer_[0] : 0;
            deliverInputReport(id, readBuffer_.data(), static_cast<size_t>(n));
            continue;
        }
        if (n < 0 && errno == EINTR) continue;
        if (n < 0 && (errno == EAGAIN || errno == EWOULDBLOCK)) return true;
        return false;  // 0 or another error: the node is gone
    }
    return true;
}

}  // namespace keyloom
