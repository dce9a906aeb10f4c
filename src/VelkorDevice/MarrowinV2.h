#pragma once

#include <atomic>
#include <chrono>
#include <cstdint>
#include <functional>
#include <span>

#include "platform/hid/HidHandle.h"

namespace keyloom {

// Command channel of the second keyboard generation: 64-byte feature reports with report id 4. Commands are read
// back and resent once while the keyboard answers busy; data blocks go out without read-back. Every transfer is
// preceded by a 10 ms pause the firmware needs between reports.
class MarrowinV2 {
  public:
    using Sleeper = std::function<void(std::chrono::milliseconds)>;

    static constexpr int64_t kReportId = 4;
    static constexpr size_t kReportSize = 64;
    static constexpr std::chrono::milliseconds kPause{10};

    // sleeper: how a pause is spent (tests pass one that records instead of sleeping); empty = really sleep.
    explicit MarrowinV2(HidHandleRef device, Sleeper sleeper = {});
    MarrowinV2(const MarrowinV2&) = delete;
    MarrowinV2& operator=(const MarrowinV2&) = delete;

    const HidHandleRef& device() const { return device_; }
    int64_t deviceStatus() const { return deviceStatus_.load(); }
    int64_t productId() const { return productId_; }

    // One command: the first 64 bytes of data (byte 0 = report id 4). True when the last transfer succeeded.
    bool sendDeviceData(std::span<const uint8_t> data);
    // Block upload of the first length/64 - 1 blocks of 64 bytes (the firmware counts the last block as the
    // terminator the caller's length includes). False when a block fails (the rest is then not sent) or when data
    // does not hold every block.
    bool sendDeviceData(std::span<const uint8_t> data, int64_t length);

  private:
    void pause() const;

    HidHandleRef device_;
    Sleeper sleeper_;
    std::atomic<int64_t> deviceStatus_{1};
    int64_t productId_ = 0;
};

}  // namespace keyloom
