#pragma once

#include <cstddef>
#include <cstdint>
#include <map>
#include <utility>
#include <vector>

namespace keyloom {

// What the HID layer needs of a report descriptor: the largest report of each kind and the top-level
// application collections. Sizes are counted the way the device properties report them: the bytes of the report's
// fields, plus one byte for the report id when the descriptor numbers its reports.
class HidReportDescriptor {
  public:
    struct UsagePair {
        int64_t usagePage = 0;
        int64_t usage = 0;
        bool operator==(const UsagePair&) const = default;
    };

    // Never fails: a truncated or malformed descriptor yields what was parsed up to the fault.
    static HidReportDescriptor parse(const uint8_t* data, size_t length);
    static HidReportDescriptor parse(const std::vector<uint8_t>& data) { return parse(data.data(), data.size()); }

    bool usesReportIds() const { return usesReportIds_; }
    int64_t maxInputReportSize() const { return maxInput_; }
    int64_t maxOutputReportSize() const { return maxOutput_; }
    int64_t maxFeatureReportSize() const { return maxFeature_; }
    // Size of one numbered report of a kind (0 = input, 1 = output, 2 = feature), report id byte included;
    // 0 when the descriptor has no such report.
    int64_t reportSize(int kind, int64_t reportId) const;
    // Application collections at the top level, in descriptor order.
    const std::vector<UsagePair>& applicationUsages() const { return usages_; }
    int64_t primaryUsagePage() const { return usages_.empty() ? 0 : usages_.front().usagePage; }
    int64_t primaryUsage() const { return usages_.empty() ? 0 : usages_.front().usage; }

  private:
    bool usesReportIds_ = false;
    int64_t maxInput_ = 0;
    int64_t maxOutput_ = 0;
    int64_t maxFeature_ = 0;
    std::map<std::pair<int, int64_t>, int64_t> sizes_;  // (kind, report id) -> size in bytes, id byte included
    std::vector<UsagePair> usages_;
};

}  // namespace keyloom
