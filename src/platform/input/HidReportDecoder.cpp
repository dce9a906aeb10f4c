#include "platform/input/HidReportDecoder.h"

#include <algorithm>

#include "platform/hid/HidItemReader.h"

namespace keyloom {

namespace {

// Limits that keep a hostile or broken descriptor from costing memory or time.
constexpr uint32_t kMaxReportBits = 4096 * 8;
constexpr uint32_t kMaxFieldBits = 32;
constexpr size_t kMaxStackDepth = 16;
constexpr size_t kMaxUsagesPerItem = 4096;

struct Globals {
    uint32_t usagePage = 0;
    int32_t logicalMin = 0;
    int32_t logicalMax = 0;
    uint32_t reportSize = 0;
    uint32_t reportCount = 0;
    uint8_t reportId = 0;
};

// Reads bitSize bits (<= 32) at bitOffset, little-endian as HID lays them out.
uint32_t extractBits(const uint8_t* data, uint32_t bitOffset, uint32_t bitSize) {
    uint64_t v = 0;
    for (uint32_t i = 0; i < bitSize; ++i) {
        const uint32_t bit = bitOffset + i;
        if (data[bit / 8] & (1u << (bit % 8))) v |= uint64_t(1) << i;
    }
    return uint32_t(v);
}

int64_t toValue(uint32_t raw, uint32_t bitSize, int32_t logicalMin) {
    if (logicalMin >= 0 || bitSize == 0 || bitSize >= 32) return logicalMin < 0 ? int64_t(int32_t(raw)) : raw;
    const uint32_t sign = 1u << (bitSize - 1);
    return (raw & sign) ? int64_t(int32_t(raw | ~((sign << 1) - 1))) : int64_t(raw);
}

HidInputValue splitUsage(uint32_t extended, int64_t value) {
    return HidInputValue{extended >> 16, extended & 0xFFFF, value};
}

}  // namespace

std::optional<HidReportDecoder> HidReportDecoder::parse(const uint8_t* descriptor, size_t length) {
    HidReportDecoder d;
    Globals g;
    std::vector<Globals> globalStack;
    std::vector<uint32_t> usages;
    uint32_t usageMin = 0;
    uint32_t usageMax = 0;
    bool hasUsageMin = false;
    bool hasUsageMax = false;
    int depth = 0;
    HidUsageMatch top;
    std::map<uint8_t, uint32_t> inputBits;  // by report id

    auto extended = [&](uint32_t data, size_t n) { return n == 4 ? data : (g.usagePage << 16) | (data & 0xFFFF); };
    auto clearLocals = [&] {
        usages.clear();
        hasUsageMin = hasUsageMax = false;
    };

    // A cut descriptor is refused: fields after the cut would be missing and the ones before mis-sized.
    HidItemReader reader(descriptor, length);
    while (const std::optional<HidItem> item = reader.next()) {
        const size_t n = item->size;
        const uint32_t u = item->data;
        const uint8_t tag = item->tag;
        if (item->type == HidItem::Type::Main) {
            switch (tag) {
                case 0x8: {  // Input
                    const uint64_t bits = uint64_t(g.reportSize) * g.reportCount;
                    uint32_t& offset = inputBits[g.reportId];
                    if (bits > kMaxReportBits || offset + bits > kMaxReportBits) return std::nullopt;
                    const bool constant = u & 0x01;
                    if (!constant && g.reportSize > 0 && g.reportSize <= kMaxFieldBits && g.reportCount > 0) {
                        Field f;
                        f.reportId = g.reportId;
                        f.bitOffset = offset;
                        f.bitSize = g.reportSize;
                        f.count = g.reportCount;
                        f.variable = u & 0x02;
                        f.logicalMin = g.logicalMin;
                        f.logicalMax = g.logicalMax;
                        f.usages = usages;
                        if (hasUsageMin && hasUsageMax && usageMin <= usageMax)
                            f.usageRange = std::make_pair(usageMin, usageMax);
                        f.collection = top;
                        d.fields_.push_back(std::move(f));
                    }
                    offset += uint32_t(bits);
                    break;
                }
                case 0xA:  // Collection
                    if (depth == 0) {
                        const uint32_t ext = !usages.empty() ? usages.front() : (g.usagePage << 16);
                        top = HidUsageMatch{ext >> 16, ext & 0xFFFF};
                        if (u == 0x01) d.collections_.push_back(top);
                    }
                    ++depth;
                    break;
                case 0xC:  // End Collection
                    if (depth == 0) return std::nullopt;
                    --depth;
                    break;
                default:  // Output, Feature: not read here
                    break;
            }
            clearLocals();
        } else if (item->type == HidItem::Type::Global) {
            switch (tag) {
                case 0x0:
                    g.usagePage = u & 0xFFFF;
                    break;
                case 0x1:
                    g.logicalMin = item->signedData();
                    break;
                case 0x2:
                    g.logicalMax = g.logicalMin < 0 ? item->signedData() : int32_t(u);
                    break;
                case 0x7:
                    g.reportSize = u;
                    break;
                case 0x8:
                    if (u == 0 || u > 0xFF) return std::nullopt;
                    g.reportId = uint8_t(u);
                    d.usesReportIds_ = true;
                    break;
                case 0x9:
                    g.reportCount = u;
                    break;
                case 0xA:
                    if (globalStack.size() >= kMaxStackDepth) return std::nullopt;
                    globalStack.push_back(g);
                    break;
                case 0xB:
                    if (globalStack.empty()) return std::nullopt;
                    g = globalStack.back();
                    globalStack.pop_back();
                    break;
                default:
                    break;
            }
        } else if (item->type == HidItem::Type::Local) {
            switch (tag) {
                case 0x0:
                    if (usages.size() >= kMaxUsagesPerItem) return std::nullopt;
                    usages.push_back(extended(u, n));
                    break;
                case 0x1:
                    usageMin = extended(u, n);
                    hasUsageMin = true;
                    break;
                case 0x2:
                    usageMax = extended(u, n);
                    hasUsageMax = true;
                    break;
                default:
                    break;
            }
        }
    }
    if (reader.truncated() || depth != 0) return std::nullopt;
    return d;
}

bool HidReportDecoder::hasCollection(const std::vector<HidUsageMatch>& matching) const {
    return std::any_of(collections_.begin(), collections_.end(), [&](const HidUsageMatch& c) {
        return std::find(matching.begin(), matching.end(), c) != matching.end();
    });
}

void HidReportDecoder::restrictTo(const std::vector<HidUsageMatch>& matching) {
    std::erase_if(fields_, [&](const Field& f) {
        return std::find(matching.begin(), matching.end(), f.collection) == matching.end();
    });
    lastValues_.clear();
    lastArrays_.clear();
}

std::vector<HidInputValue> HidReportDecoder::decode(const uint8_t* report, size_t length) {
    std::vector<HidInputValue> changes;
    if (!report || length == 0) return changes;
    uint8_t id = 0;
    if (usesReportIds_) {
        id = report[0];
        ++report;
        --length;
    }
    const uint64_t availableBits = uint64_t(length) * 8;

    for (size_t fi = 0; fi < fields_.size(); ++fi) {
        const Field& f = fields_[fi];
        if (f.reportId != id) continue;
        auto fits = [&](uint32_t index) {
            return uint64_t(f.bitOffset) + uint64_t(index + 1) * f.bitSize <= availableBits;
        };

        if (f.variable) {
            for (uint32_t k = 0; k < f.count && fits(k); ++k) {
                uint32_t usage;
                if (k < f.usages.size())
                    usage = f.usages[k];
                else if (f.usageRange)
                    usage = std::min(f.usageRange->first + (k - uint32_t(f.usages.size())), f.usageRange->second);
                else if (!f.usages.empty())
                    usage = f.usages.back();
                else
                    continue;
                const int64_t value =
                    toValue(extractBits(report, f.bitOffset + k * f.bitSize, f.bitSize), f.bitSize, f.logicalMin);
                auto [it, inserted] = lastValues_.try_emplace({fi, k}, 0);
                if (it->second != value) {
                    it->second = value;
                    changes.push_back(splitUsage(usage, value));
                }
            }
            continue;
        }

        // Array: each slot names a usage by its index in the logical range; anything else is "nothing". An array
        // cut short by the report is left as it was.
        if (f.count == 0 || !fits(f.count - 1)) continue;
        std::vector<uint32_t> present;
        for (uint32_t k = 0; k < f.count; ++k) {
            const int64_t raw =
                toValue(extractBits(report, f.bitOffset + k * f.bitSize, f.bitSize), f.bitSize, f.logicalMin);
            if (raw < f.logicalMin || raw > f.logicalMax) continue;
            const uint64_t index = uint64_t(raw - f.logicalMin);
            uint32_t usage = 0;
            if (f.usageRange) {
                if (index > uint64_t(f.usageRange->second - f.usageRange->first)) continue;
                usage = f.usageRange->first + uint32_t(index);
            } else if (index < f.usages.size()) {
                usage = f.usages[index];
            } else {
                continue;
            }
            if ((usage & 0xFFFF) == 0) continue;  // "no event"
            if (std::find(present.begin(), present.end(), usage) == present.end()) present.push_back(usage);
        }
        std::vector<uint32_t>& last = lastArrays_[fi];
        for (uint32_t usage : last)
            if (std::find(present.begin(), present.end(), usage) == present.end())
                changes.push_back(splitUsage(usage, 0));
        for (uint32_t usage : present)
            if (std::find(last.begin(), last.end(), usage) == last.end()) changes.push_back(splitUsage(usage, 1));
        last = std::move(present);
    }
    return changes;
}

}  // namespace keyloom
