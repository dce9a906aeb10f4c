#include "platform/hid/HidHandle.h"

#include <algorithm>

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

}  // namespace keyloom
