#pragma once

#include <atomic>
#include <string>
#include <vector>

#include "platform/hid/HidHandle.h"
#include "platform/hid/HidrawDeviceInfo.h"

namespace keyloom {

// A hidraw node of one arrival. The fd is closed only when the last owner lets go, so a removal on the manager's
// thread never races a transfer on another thread into a reused fd number.
class LinuxHidDevice : public HidHandle {
  public:
    LinuxHidDevice(std::string syspath, std::string devnode, HidrawDeviceInfo::Properties properties, bool numbered);
    ~LinuxHidDevice() override;
    LinuxHidDevice(const LinuxHidDevice&) = delete;
    LinuxHidDevice& operator=(const LinuxHidDevice&) = delete;

    // Opens the node for reading and writing; false when that is not permitted (transfers then fail with
    // kHidErrorNoAccess).
    bool openNode();
    int fd() const { return fd_; }
    const std::string& syspath() const { return syspath_; }

    HidPropertyValue property(std::string_view key) const override;
    int setReport(HidReportType type, int64_t reportId, const uint8_t* bytes, size_t length) override;
    int getReport(HidReportType type, int64_t reportId, uint8_t* buffer, size_t& length) override;
    bool removed() const override { return removed_.load(); }

    void markRemoved() { removed_ = true; }
    // Reads the waiting input reports and hands them to the input callback (manager's thread only). Returns false
    // when the node reports that the device is gone.
    bool readInputReports();

  private:
    int status(int error) const;

    const std::string syspath_;
    const std::string devnode_;
    const HidrawDeviceInfo::Properties properties_;
    const bool numbered_;
    int fd_ = -1;
    std::atomic<bool> removed_{false};
    std::vector<uint8_t> readBuffer_;
};

}  // namespace keyloom
