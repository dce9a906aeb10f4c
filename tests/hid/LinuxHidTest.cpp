#include <fcntl.h>
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <filesystem>

#include "platform/LoopThread.h"
#include "platform/hid/LinuxHidDevice.h"
#include "platform/hid/LinuxHidManager.h"

using namespace keyloom;
using Bytes = std::vector<uint8_t>;

// Whatever this machine has (no hidraw nodes, no udev daemon, no permission), the manager neither crashes nor
// spins, an empty matching list announces nothing, and stop() ends run() from another thread.
TEST(LinuxHidManager, RunsAndStopsWithoutDevices) {
    LinuxHidManager manager;
    manager.setDeviceMatchingMultiple({});
    int arrivals = 0;
    manager.registerDeviceMatchingCallback([&](int, HidManager&, const HidHandleRef&) { ++arrivals; });
    manager.open();
    manager.dispatch();
    LoopThread thread;
    thread.start([&](std::stop_token token) { manager.run(token); });
    thread.stop();
    EXPECT_EQ(arrivals, 0);
}

// A FIFO stands in for a hidraw node: what the device writes is read back here, and what is written here is read
// as input reports.
TEST(LinuxHidDevice, FramesOutputDeliversInputAndFailsCleanly) {
    const auto path = std::filesystem::temp_directory_path() / ("keyloom-hidraw-" + std::to_string(::getpid()));
    ASSERT_EQ(::mkfifo(path.c_str(), 0600), 0);
    const int peer = ::open(path.c_str(), O_RDWR | O_NONBLOCK | O_CLOEXEC);
    auto dev = std::make_shared<LinuxHidDevice>("/sys/x/hidraw0", path, HidrawDeviceInfo::Properties{}, true);
    const bool opened = dev->openNode();
    std::filesystem::remove(path);
    ASSERT_TRUE(peer >= 0 && opened);
    auto set = [&](HidReportType type, const Bytes& b) { return dev->setReport(type, 4, b.data(), b.size()); };
    auto get = [&] {
        Bytes buf(8);
        size_t len = buf.size();
        return dev->getReport(HidReportType::Feature, 4, buf.data(), len);
    };
    auto drain = [&] {
        Bytes out(256);
        out.resize(std::max<ssize_t>(::read(peer, out.data(), out.size()), 0));
        return out;
    };

    ASSERT_EQ(set(HidReportType::Output, {0x00, 0x11, 0x22}), kHidSuccess);
    EXPECT_EQ(drain(), (Bytes{0x00, 0x00, 0x11, 0x22}));
    ASSERT_EQ(set(HidReportType::Output, {0x04, 0x18}), kHidSuccess);
    EXPECT_EQ(drain(), (Bytes{0x04, 0x18}));
    // A FIFO has no feature reports: the ioctl fails and says so.
    EXPECT_EQ(set(HidReportType::Feature, {0x04, 0x18}), kHidErrorIO);
    EXPECT_EQ(get(), kHidErrorIO);

    std::vector<Bytes> reports;
    dev->registerInputReportCallback(
        4, [&](int, const HidHandleRef& sender, HidReportType type, int64_t id, const uint8_t* r, size_t n) {
            EXPECT_TRUE(sender == dev && type == HidReportType::Input && id == 0xE4);
            reports.emplace_back(r, r + n);
        });
    const Bytes battery = {0xE4, 1, 2, 3, 4, 5};
    ASSERT_EQ(::write(peer, battery.data(), battery.size()), static_cast<ssize_t>(battery.size()));
    EXPECT_TRUE(dev->readInputReports());
    EXPECT_EQ(reports, (std::vector<Bytes>{{0xE4, 1, 2, 3}}));  // cut to the registered buffer

    dev->markRemoved();
    EXPECT_EQ(set(HidReportType::Output, {0x04, 0x18}), kHidErrorNotAttached);
    EXPECT_EQ(get(), kHidErrorNotAttached);
    ::close(peer);

    // A node that cannot be opened: every transfer fails, reading is a no-op.
    dev = std::make_shared<LinuxHidDevice>("/sys/none", "/nonexistent/hidraw9", HidrawDeviceInfo::Properties{}, true);
    EXPECT_FALSE(dev->openNode());
    EXPECT_EQ(set(HidReportType::Feature, {0x04, 0x18}), kHidErrorNoAccess);
    EXPECT_EQ(get(), kHidErrorNoAccess);
    EXPECT_TRUE(dev->readInputReports());
    EXPECT_FALSE(dev->removed());
}
