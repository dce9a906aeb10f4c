#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <map>

#include "USB/HIDDevice.h"

using namespace keyloom;

namespace {

class FakeDevice : public HidDevice {
  public:
    explicit FakeDevice(std::map<std::string, HidPropertyValue, std::less<>> p) : p_(std::move(p)) {}
    HidPropertyValue property(std::string_view key) const override {
        auto it = p_.find(key);
        return it == p_.end() ? HidPropertyValue{} : it->second;
    }
    int setReport(HidReportType, int64_t, const uint8_t*, size_t) override { return kHidSuccess; }
    int getReport(HidReportType, int64_t, uint8_t*, size_t& length) override {
        length = 0;
        return kHidSuccess;
    }
    bool removed() const override { return false; }

  private:
    std::map<std::string, HidPropertyValue, std::less<>> p_;
};

}  // namespace

TEST(HIDDevice, ReadsEveryFieldFromItsProperty) {
    auto d = std::make_shared<FakeDevice>(
        std::map<std::string, HidPropertyValue, std::less<>>{{"LocationID", int64_t{0x14100000}},
                                                             {"VendorID", int64_t{0x1A2C}},
                                                             {"ProductID", int64_t{0xB57E}},
                                                             {"MaxInputReportSize", int64_t{0}},
                                                             {"MaxFeatureReportSize", int64_t{8}},
                                                             {"Product", std::string("Quorvath 87")}});
    const HIDDevice r(d);
    EXPECT_EQ(r.id, 0x14100000);
    EXPECT_EQ(r.vendorId, 0x1A2C);
    EXPECT_EQ(r.productId, 0xB57E);
    EXPECT_EQ(r.reportSize, 0);
    EXPECT_EQ(r.featureSize, 8);
    EXPECT_EQ(r.name, "Quorvath 87");
    EXPECT_EQ(r.device, d);
    const HIDDevice copy = r;  // copies share the handle
    EXPECT_EQ(copy.device, d);
}

TEST(HIDDevice, ConversionRules) {
    struct Case {
        const char* what;
        HidPropertyValue value;
        int64_t number;
    };
    const Case cases[] = {
        {"absent", std::monostate{}, 0},
        {"text", std::string("46463"), 0},
        {"integer", int64_t{-5}, -5},
        {"exact double", 64.0, 64},
        {"fractional double", 64.5, 0},
        {"too large double", 9223372036854775808.0, 0},
        {"smallest double", -9223372036854775808.0, std::numeric_limits<int64_t>::min()},
        {"nan", std::nan(""), 0},
        {"infinity", std::numeric_limits<double>::infinity(), 0},
    };
    for (const auto& c : cases) {
        auto d = std::make_shared<FakeDevice>(
            std::map<std::string, HidPropertyValue, std::less<>>{{"ProductID", c.value}, {"Product", c.value}});
        const HIDDevice r(d);
        EXPECT_EQ(r.productId, c.number) << c.what;
        EXPECT_EQ(r.vendorId, 0) << c.what;
        EXPECT_EQ(r.name, std::holds_alternative<std::string>(c.value) ? std::get<std::string>(c.value) : "") << c.what;
    }
    const HIDDevice none(nullptr);
    EXPECT_EQ(none.vendorId, 0);
    EXPECT_EQ(none.name, "");
}
