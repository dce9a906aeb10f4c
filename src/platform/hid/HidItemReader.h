#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>

namespace keyloom {

// One short item of a HID report descriptor.
struct HidItem {
    enum class Type : uint8_t { Main = 0, Global = 1, Local = 2, Reserved = 3 };

    Type type = Type::Main;
    uint8_t tag = 0;
    uint8_t size = 0;   // data bytes: 0, 1, 2 or 4
    uint32_t data = 0;  // little-endian, zero-extended

    // The data as a signed number of its own width (Logical Minimum and the like).
    int32_t signedData() const;
};

// Reads the items of a report descriptor in order; long items are skipped whole.
//
// Bad input: an item whose bytes run past the end of the descriptor is never returned. The walk ends there and
// truncated() says so; whatever came before was read normally. Each consumer states what a cut descriptor means to
// it: HidReportDescriptor keeps the report sizes of the items before the cut (a device's properties still describe
// what it does declare), HidReportDecoder refuses the descriptor (it cannot place fields it never saw).
class HidItemReader {
  public:
    HidItemReader(const uint8_t* data, size_t length) : data_(data), length_(data ? length : 0) {}

    // The next short item; nullopt at the end or at a cut item.
    std::optional<HidItem> next();
    bool truncated() const { return truncated_; }

  private:
    const uint8_t* data_;
    size_t length_;
    size_t offset_ = 0;
    bool truncated_ = false;
};

}  // namespace keyloom
