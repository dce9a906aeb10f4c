#include "platform/hid/HidReportDescriptor.h"

#include <algorithm>

#include "platform/hid/HidItemReader.h"

namespace keyloom {

namespace {

struct Globals {
    uint32_t usagePage = 0;
    uint64_t reportSize = 0;
    uint64_t reportCount = 0;
    int64_t reportId = 0;
};

constexpr uint64_t kMaxBits = uint64_t{1} << 32;  // far above any real report; keeps the sums from overflowing
constexpr size_t kMaxPushDepth = 32;

}  // namespace

HidReportDescriptor HidReportDescriptor::parse(const uint8_t* data, size_t length) {
    HidReportDescriptor result;

    Globals globals;
    std::vector<Globals> stack;
    bool hasUsage = false;  // local state: the first Usage since the last main item
    uint32_t firstUsage = 0;
    bool firstUsageExtended = false;
    int depth = 0;
    std::map<std::pair<int, int64_t>, uint64_t> bits;

    // A cut descriptor keeps the sizes of what it declares before the cut.
    HidItemReader reader(data, length);
    while (const std::optional<HidItem> item = reader.next()) {
        const int tag = item->tag;
        const uint32_t value = item->data;
        const size_t size = item->size;
        if (item->type == HidItem::Type::Main) {
            int kind = -1;
            if (tag == 0x8) kind = 0;
            if (tag == 0x9) kind = 1;
            if (tag == 0xB) kind = 2;
            if (kind >= 0) {
                const uint64_t fieldBits =
                    std::min(globals.reportSize, kMaxBits) * std::min(globals.reportCount, kMaxBits);
                if (fieldBits > 0) {
                    uint64_t& total = bits[{kind, globals.reportId}];
                    total = std::min(total + std::min(fieldBits, kMaxBits), kMaxBits);
                }
            } else if (tag == 0xA) {  // collection
                if (depth == 0 && (value & 0xFF) == 1) {
                    UsagePair pair;
                    if (hasUsage && firstUsageExtended) {
                        pair.usagePage = firstUsage >> 16;
                        pair.usage = firstUsage & 0xFFFF;
                    } else {
                        pair.usagePage = globals.usagePage;
                        pair.usage = hasUsage ? firstUsage : 0;
                    }
                    result.usages_.push_back(pair);
                }
                ++depth;
            } else if (tag == 0xC) {  // end collection
                depth = std::max(0, depth - 1);
            }
            hasUsage = false;
            firstUsage = 0;
            firstUsageExtended = false;
        } else if (item->type == HidItem::Type::Global) {
            switch (tag) {
                case 0x0:
                    globals.usagePage = value;
                    break;
                case 0x7:
                    globals.reportSize = value;
                    break;
                case 0x8:
                    globals.reportId = value;
                    result.usesReportIds_ = true;
                    break;
                case 0x9:
                    globals.reportCount = value;
                    break;
                case 0xA:
                    if (stack.size() < kMaxPushDepth) stack.push_back(globals);
                    break;
                case 0xB:
                    if (!stack.empty()) {
                        globals = stack.back();
                        stack.pop_back();
                    }
                    break;
                default:
                    break;
            }
        } else if (item->type == HidItem::Type::Local) {
            if (tag == 0x0 && !hasUsage) {
                hasUsage = true;
                firstUsage = value;
                firstUsageExtended = size == 4;
            }
        }
    }

    const int64_t idByte = result.usesReportIds_ ? 1 : 0;
    for (const auto& [key, count] : bits) {
        const int64_t bytes = static_cast<int64_t>((count + 7) / 8) + idByte;
        result.sizes_[key] = bytes;
        int64_t& max = key.first == 0 ? result.maxInput_ : key.first == 1 ? result.maxOutput_ : result.maxFeature_;
        max = std::max(max, bytes);
    }
    return result;
}

int64_t HidReportDescriptor::reportSize(int kind, int64_t reportId) const {
    auto it = sizes_.find({kind, reportId});
    return it == sizes_.end() ? 0 : it->second;
}

}  // namespace keyloom
