#pragma once

#include <cstddef>
#include <cstdint>
#include <map>
#include <optional>
#include <set>
#include <vector>

#include "platform/input/KeyInputSource.h"

namespace keyloom {

// Turns the input reports of one HID interface into element changes, using the interface's report descriptor:
// variable fields give one element per usage, array fields give 1 for each usage that appears and 0 for each that
// leaves. Only the fields of the chosen top-level collections are decoded.
class HidReportDecoder {
  public:
    struct Field {
        uint8_t reportId = 0;
        uint32_t bitOffset = 0;  // from the first data byte (after the report id)
        uint32_t bitSize = 0;
        uint32_t count = 0;
        bool variable = false;
        int32_t logicalMin = 0;
        int32_t logicalMax = 0;
        std::vector<uint32_t> usages;  // extended usages: page << 16 | usage
        std::optional<std::pair<uint32_t, uint32_t>> usageRange;
        HidUsageMatch collection;  // the top-level application collection the field belongs to
    };

    // Parses a descriptor; nullopt when it is malformed. Constant (padding) fields are left out.
    static std::optional<HidReportDecoder> parse(const uint8_t* descriptor, size_t length);

    // The usages of the descriptor's top-level application collections, in order.
    const std::vector<HidUsageMatch>& collections() const { return collections_; }
    bool hasCollection(const std::vector<HidUsageMatch>& matching) const;

    // Keeps only the fields of these collections.
    void restrictTo(const std::vector<HidUsageMatch>& matching);

    // The changes one input report brings, in field order (within an array: releases first, then presses).
    // A report shorter than its fields decodes the fields that fit.
    std::vector<HidInputValue> decode(const uint8_t* report, size_t length);

  private:
    std::vector<HidUsageMatch> collections_;
    std::vector<Field> fields_;
    bool usesReportIds_ = false;
    // Previous values: variable elements by (field, index); arrays by field.
    std::map<std::pair<size_t, uint32_t>, int64_t> lastValues_;
    std::map<size_t, std::vector<uint32_t>> lastArrays_;
};

}  // namespace keyloom
