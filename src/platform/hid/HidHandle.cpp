#include "platform/hid/HidHandle.h"

#include <algorithm>
#include <cmath>

namespace keyloom {

void HidHandle::registerInputReportCallback(size_t bufferSize, InputReportCallback callback) {
    std::lock_guard lock(inputMutex_);
    inputBufferSize_ = bufferSize;
    inputCallback_ = callback ? std::make_shared<const InputReportCallback>(std::move(callback)) : nullptr;
}

void HidHandle::deliverInputReport(int64_t reportId, const uint8_t* report, size_t length) {
    std::shared_ptr<const InputReportCallback> callback;
    size_t size = 0;
    {
        std::lock_guard lock(inputMutex_);
        callback = inputCallback_;
        size = inputBufferSize_;
    }
    if (!callback) return;
    // The callback may drop the last other owner of this handle; keep it alive for the call.
    const auto self = weak_from_this().lock();
    if (!self) return;
    (*callback)(kHidSuccess, self, HidReportType::Input, reportId, report, std::min(length, size));
}

int64_t integerProperty(const HidHandle& device, std::string_view key) {
    const HidPropertyValue value = device.property(key);
    if (const auto* i = std::get_if<int64_t>(&value)) return *i;
    if (const auto* d = std::get_if<double>(&value)) {
        // -2^63 is exact in a double; 2^63 is the first value out of range.
        if (std::isfinite(*d) && std::trunc(*d) == *d && *d >= -9223372036854775808.0 && *d < 9223372036854775808.0)
            return static_cast<int64_t>(*d);
    }
    return 0;
}

std::string textProperty(const HidHandle& device, std::string_view key) {
    const HidPropertyValue value = device.property(key);
    if (const auto* s = std::get_if<std::string>(&value)) return *s;
    return {};
}

}  // namespace keyloom
