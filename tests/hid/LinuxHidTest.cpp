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

// Whatever this machine has (no hidraw nodes, no udev daemon, no permission), opening and running the manager
// neither crashes nor spins, and stop() ends run() from another thread.
TEST(LinuxHidManager, RunsAndStopsWithoutDevices) {
    LinuxHidManager manager;
    manager.setDeviceMatchingMultiple({HidMatch::product(0x1A2C, 0xB57E)});
    int arrivals = 0;
    manager.registerDeviceMatchingCallback([&](int, HidManager&, const HidDeviceRef&) { ++arrivals; });
    manager.open();
    manager.dispatch();
    LoopThread thread;
    thread.start([&](std::stop_token token) { manager.run(token); });
    thread.stop();
    EXPECT_GE(arrivals, 0);  // a machine with that keyboard may announce it
}

TEST(LinuxHidManager, EmptyMatchingAnnouncesNothing) {
    LinuxHidManager manager;
    manager.setDeviceMatchingMultiple({});
    int arrivals = 0;
    manager.registerDeviceMatchingCallback([&](int, HidManager&, const HidDeviceRef&) { ++arrivals; });
    manager.open();
    manager.dispatch();
    manager.dispatch();  // without open work it returns at once
    EXPECT_EQ(arrivals, 0);
}

namespace {

// A FIFO stands in for a hidraw node: what the device writes can be read back, and what is written into it is
// read as input reports.
class FifoNode : public ::testing::Test {
  protected:
    void SetUp() override {
        dir_ = std::filesystem::temp_directory_path() / ("keyloom-hidraw-" + std::to_string(::getpid()));
        std::filesystem::create_directories(dir_);
        path_ = (dir_ / "hidraw0").string();
        ASSERT_EQ(::mkfifo(path_.c_str(), 0600), 0);
        peer_ = ::open(path_.c_str(), O_RDWR | O_NONBLOCK | O_CLOEXEC);
        ASSERT_GE(peer_, 0);
    }
    void TearDown() override {
        if (peer_ >= 0) ::close(peer_);
        std::filesystem::remove_all(dir_);
    }
    Bytes drain() {
        Bytes out(256);
        const ssize_t n = ::read(peer_, out.data(), out.size());
        out.resize(n > 0 ? static_cast<size_t>(n) : 0);
        return out;
    }
    std::filesystem::path dir_;
    std::string path_;
    int peer_ = -1;
};

HidrawDeviceInfo::Properties props() {
    return {{"VendorID", int64_t{0x05AC}}, {"Product", std::string("Vindle")}};
}

}  // namespace

TEST_F(FifoNode, OutputReportsAreFramedAndInputReportsDelivered) {
    auto dev = std::make_shared<LinuxHidDevice>("/sys/x/hidraw0", path_, props(), true);
    ASSERT_TRUE(dev->openNode());
    EXPECT_EQ(std::get<std::string>(dev->property("Product")), "Vindle");
    EXPECT_TRUE(std::holds_alternative<std::monostate>(dev->property("ProductID")));

    const Bytes block = {0x00, 0x11, 0x22};
    ASSERT_EQ(dev->setReport(HidReportType::Output, 4, block.data(), block.size()), kHidSuccess);
    EXPECT_EQ(drain(), (Bytes{0x00, 0x00, 0x11, 0x22}));
    const Bytes command = {0x04, 0x18};
    ASSERT_EQ(dev->setReport(HidReportType::Output, 4, command.data(), command.size()), kHidSuccess);
    EXPECT_EQ(drain(), command);

    // A FIFO has no feature reports: the ioctl fails and says so.
    EXPECT_EQ(dev->setReport(HidReportType::Feature, 4, command.data(), command.size()), kHidErrorIO);
    Bytes buf(8);
    size_t len = buf.size();
    EXPECT_EQ(dev->getReport(HidReportType::Feature, 4, buf.data(), len), kHidErrorIO);
    EXPECT_EQ(len, 0u);

    std::vector<Bytes> reports;
    dev->registerInputReportCallback(
        4, [&](int, const HidDeviceRef& sender, HidReportType type, int64_t id, const uint8_t* r, size_t n) {
            EXPECT_EQ(sender.get(), dev.get());
            EXPECT_EQ(type, HidReportType::Input);
            EXPECT_EQ(id, 0xE4);
            reports.emplace_back(r, r + n);
        });
    const Bytes battery = {0xE4, 1, 2, 3, 4, 5};
    ASSERT_EQ(::write(peer_, battery.data(), battery.size()), static_cast<ssize_t>(battery.size()));
    EXPECT_TRUE(dev->readInputReports());
    ASSERT_EQ(reports.size(), 1u);
    EXPECT_EQ(reports[0], (Bytes{0xE4, 1, 2, 3}));  // cut to the registered buffer

    dev->markRemoved();
    EXPECT_TRUE(dev->removed());
    EXPECT_EQ(dev->setReport(HidReportType::Output, 4, command.data(), command.size()), kHidErrorNotAttached);
    len = buf.size();
    EXPECT_EQ(dev->getReport(HidReportType::Feature, 4, buf.data(), len), kHidErrorNotAttached);
}

TEST(LinuxHidDevice, WithoutAccessTransfersFailCleanly) {
    auto dev = std::make_shared<LinuxHidDevice>("/sys/none", "/nonexistent/hidraw9", props(), true);
    EXPECT_FALSE(dev->openNode());
    const Bytes command = {0x05, 0xF4, 0, 0, 0, 0, 0, 0};
    EXPECT_EQ(dev->setReport(HidReportType::Feature, 5, command.data(), command.size()), kHidErrorNoAccess);
    Bytes buf(8);
    size_t len = buf.size();
    EXPECT_EQ(dev->getReport(HidReportType::Feature, 5, buf.data(), len), kHidErrorNoAccess);
    EXPECT_TRUE(dev->readInputReports());
    EXPECT_FALSE(dev->removed());
}
