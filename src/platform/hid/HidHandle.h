#pragma once

#include <cstddef>
#include <cstdint>
#include <functional>
#include <memory>
#include <mutex>
#include <string>
#include <string_view>
#include <variant>

namespace keyloom {

enum class HidReportType : int { Input = 0, Output = 1, Feature = 2 };

// A device property as the HID layer reports it: absent, a number, or a text.
using HidPropertyValue = std::variant<std::monostate, int64_t, double, std::string>;

// Status codes of report transfers (0 = success, as the platform's kIOReturnSuccess).
inline constexpr int kHidSuccess = 0;
inline constexpr int kHidErrorNotAttached = -1;  // the device was removed
inline constexpr int kHidErrorIO = -2;           // the transfer failed
inline constexpr int kHidErrorBadArgument = -3;
inline constexpr int kHidErrorNoAccess = -4;  // the device node could not be opened (permissions)

// One HID interface of one arrival. Handles are shared (HidHandleRef); "same device" means the same handle object,
// never the same path: a re-plugged keyboard is a new handle. After removal every transfer fails cleanly.
class HidHandle : public std::enable_shared_from_this<HidHandle> {
  public:
    // Called on the thread that runs the HID manager which announced the device. report holds at most the
    // registered buffer size; a numbered report starts with its report id.
    using InputReportCallback =
        std::function<void(int result, const std::shared_ptr<HidHandle>& sender, HidReportType type, int64_t reportId,
                           const uint8_t* report, size_t length)>;

    virtual ~HidHandle() = default;

    // Keys: "LocationID", "VendorID", "ProductID", "Product", "MaxInputReportSize", "MaxFeatureReportSize"
    // (also "MaxOutputReportSize", "PrimaryUsagePage", "PrimaryUsage").
    virtual HidPropertyValue property(std::string_view key) const = 0;

    // bytes are exactly what the keyboard must receive for this report (byte 0 is the report id for numbered
    // reports). Returns kHidSuccess or an error status.
    virtual int setReport(HidReportType type, int64_t reportId, const uint8_t* bytes, size_t length) = 0;
    // length: in, the buffer's size; out, the bytes read.
    virtual int getReport(HidReportType type, int64_t reportId, uint8_t* buffer, size_t& length) = 0;

    virtual bool removed() const = 0;

    // Held by a command channel for one whole exchange (a set and its gets, one bulk write, ...), so two channels
    // on two threads never interleave their reports on one device.
    std::recursive_mutex& exchangeLock() { return exchangeLock_; }

    // One callback per handle; a later registration replaces the earlier one, an empty callback removes it.
    // Reports longer than bufferSize are cut to it.
    void registerInputReportCallback(size_t bufferSize, InputReportCallback callback);

  protected:
    // Backends call this on their manager's thread for every input report read from the device.
    void deliverInputReport(int64_t reportId, const uint8_t* report, size_t length);

  private:
    std::recursive_mutex exchangeLock_;
    std::mutex inputMutex_;
    size_t inputBufferSize_ = 0;
    std::shared_ptr<const InputReportCallback> inputCallback_;
};

using HidHandleRef = std::shared_ptr<HidHandle>;

// The one reading of a property as a number: 0 when it is absent, a text, or a number that is not exactly a signed
// 64-bit integer (so 64.0 reads as 64, 64.5 and NaN as 0).
int64_t integerProperty(const HidHandle& device, std::string_view key);
// A property as text: "" when it is absent or not a text.
std::string textProperty(const HidHandle& device, std::string_view key);

}  // namespace keyloom
