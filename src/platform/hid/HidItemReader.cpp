#include "platform/hid/HidItemReader.h"

namespace keyloom {

namespace {

constexpr uint8_t kLongItemPrefix = 0xFE;
constexpr size_t kLongItemHeader = 3;  // prefix, data size, long tag

}  // namespace

int32_t HidItem::signedData() const {
    if (size == 0 || size == 4) return static_cast<int32_t>(data);
    const uint32_t sign = 1u << (8 * size - 1);
    return static_cast<int32_t>((data & sign) ? data | ~((sign << 1) - 1) : data);
}

std::optional<HidItem> HidItemReader::next() {
    while (offset_ < length_) {
        const uint8_t prefix = data_[offset_];
        const size_t left = length_ - offset_;
        if (prefix == kLongItemPrefix) {
            if (left < kLongItemHeader || left - kLongItemHeader < data_[offset_ + 1]) break;
            offset_ += kLongItemHeader + data_[offset_ + 1];
            continue;
        }
        HidItem item;
        item.size = (prefix & 3) == 3 ? 4 : (prefix & 3);
        item.type = static_cast<HidItem::Type>((prefix >> 2) & 3);
        item.tag = prefix >> 4;
        if (left < 1u + item.size) break;
        for (size_t b = 0; b < item.size; ++b) item.data |= uint32_t{data_[offset_ + 1 + b]} << (8 * b);
        offset_ += 1 + item.size;
        return item;
    }
    if (offset_ < length_) truncated_ = true;
    offset_ = length_;
    return std::nullopt;
}

}  // namespace keyloom
