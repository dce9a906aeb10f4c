#include "VelkorDevice/MarrowinV2.h"

#include <array>
#include <mutex>
#include <string>
#include <thread>

#include "platform/PrintLine.h"

namespace keyloom {

namespace {

constexpr size_t kBusyByte = 3;
constexpr uint8_t kBusy = 0xFF;

void printBlock(int64_t index, std::span<const uint8_t> block) {
    std::string line = "newArr-" + std::to_string(index) + " [";
    for (size_t i = 0; i < block.size(); ++i) {
        if (i > 0) line += ", ";
        line += std::to_string(block[i]);
    }
    line += "]";
    printLine(line);
}

}  // namespace

MarrowinV2::MarrowinV2(HidHandleRef device, Sleeper sleeper)
    : device_(std::move(device)), sleeper_(std::move(sleeper)) {
    if (device_) productId_ = integerProperty(*device_, "ProductID");
}

void MarrowinV2::pause() const {
    if (sleeper_)
        sleeper_(kPause);
    else
        std::this_thread::sleep_for(kPause);
}

bool MarrowinV2::sendDeviceData(std::span<const uint8_t> data) {
    if (deviceStatus_.load() == 0 || !device_ || data.size() < kReportSize) return false;
    std::scoped_lock lock(device_->exchangeLock());
    const std::span<const uint8_t> command = data.first(kReportSize);

    pause();
    if (device_->setReport(HidReportType::Feature, kReportId, command.data(), kReportSize) != kHidSuccess) return false;

    std::array<uint8_t, kReportSize> reply{};
    std::copy(command.begin(), command.end(), reply.begin());
    size_t length = kReportSize;
    pause();
    const bool readOk = device_->getReport(HidReportType::Feature, kReportId, reply.data(), length) == kHidSuccess;
    // Only a reply that arrived can say "busy"; a failed read leaves the command's own bytes in the copy.
    if (!readOk || reply[kBusyByte] != kBusy) return readOk;

    // Busy: one resend of the full, unchanged command, then one more read whose answer is not examined.
    pause();
    if (device_->setReport(HidReportType::Feature, kReportId, command.data(), kReportSize) != kHidSuccess) return false;
    std::copy(command.begin(), command.end(), reply.begin());
    length = kReportSize;
    pause();
    return device_->getReport(HidReportType::Feature, kReportId, reply.data(), length) == kHidSuccess;
}

bool MarrowinV2::sendDeviceData(std::span<const uint8_t> data, int64_t length) {
    if (deviceStatus_.load() == 0 || !device_ || length < static_cast<int64_t>(kReportSize)) return false;
    const uint64_t blocks = static_cast<uint64_t>(length) / kReportSize - 1;
    if (data.size() / kReportSize < blocks) return false;
    std::scoped_lock lock(device_->exchangeLock());
    for (uint64_t i = 0; i < blocks; ++i) {
        const std::span<const uint8_t> block = data.subspan(i * kReportSize, kReportSize);
        printBlock(static_cast<int64_t>(i), block);
        pause();
        if (device_->setReport(HidReportType::Feature, kReportId, block.data(), kReportSize) != kHidSuccess)
            return false;
    }
    return true;
}

}  // namespace keyloom
