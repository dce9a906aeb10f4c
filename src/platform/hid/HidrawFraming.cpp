#include "platform/hid/HidrawFraming.h"

#include <algorithm>

namespace keyloom {

std::vector<uint8_t> hidrawFrame(int64_t reportId, const uint8_t* bytes, size_t length) {
    std::vector<uint8_t> frame;
    if (length > 0 && !bytes) return frame;
    const bool prefix = reportId == 0 || length == 0 || bytes[0] == 0;
    frame.reserve(length + (prefix ? 1 : 0));
    if (prefix) frame.push_back(0);
    frame.insert(frame.end(), bytes, bytes + length);
    return frame;
}

std::vector<uint8_t> hidrawReadBuffer(int64_t reportId, size_t length) {
    std::vector<uint8_t> buffer(length + (reportId == 0 ? 1 : 0), 0);
    if (!buffer.empty()) buffer[0] = static_cast<uint8_t>(reportId);
    return buffer;
}

size_t hidrawUnframeRead(int64_t reportId, const std::vector<uint8_t>& buffer, size_t received, uint8_t* out,
                         size_t outLength) {
    received = std::min(received, buffer.size());
    const size_t skip = reportId == 0 ? 1 : 0;
    if (received <= skip || !out) return 0;
    const size_t n = std::min(received - skip, outLength);
    std::copy_n(buffer.begin() + static_cast<std::ptrdiff_t>(skip), n, out);
    return n;
}

}  // namespace keyloom
