#include <gtest/gtest.h>

#include <fstream>
#include <regex>
#include <set>

#include "USB/HomeWatchList.h"

using namespace keyloom;

TEST(HomeWatchList, ListsTheKeyboardsInOrder) {
    const std::vector<HIDMonitorData> expected = {
        {0x1A2C, 0xB57E}, {0x1A2C, 0xB58E}, {0x1A2C, 0xB5BE}, {0x1A2C, 0xB51F}, {0x1A2C, 0xB58F},
        {0x1A2C, 0xB5BF}, {0x1A2C, 0xB20D}, {0x1A2C, 0xB31F}, {0x05AC, 0x024F}, {0x05AC, 0x0250},
    };
    EXPECT_EQ(homeWatchList(), expected);
    EXPECT_EQ(kHomeReportSize, 64);
}

// The udev rule grants access to exactly the watched devices, over USB and over Bluetooth.
TEST(HomeWatchList, UdevRuleCoversExactlyTheWatchList) {
    std::ifstream in(KEYLOOM_UDEV_RULES);
    ASSERT_TRUE(in) << KEYLOOM_UDEV_RULES;
    const std::regex usb(
        R"re(^SUBSYSTEM=="hidraw", ATTRS\{idVendor\}=="([0-9a-f]{4})", ATTRS\{idProduct\}=="([0-9a-f]{4})", TAG\+="uaccess"$)re");
    const std::regex bt(
        R"re(^SUBSYSTEM=="hidraw", KERNELS=="0005:([0-9A-F]{4}):([0-9A-F]{4})\.\*", TAG\+="uaccess"$)re");
    std::set<std::pair<int64_t, int64_t>> usbIds, btIds;
    std::string line;
    while (std::getline(in, line)) {
        if (line.empty() || line[0] == '#') continue;
        std::smatch m;
        if (std::regex_match(line, m, usb))
            usbIds.insert({std::stoll(m[1], nullptr, 16), std::stoll(m[2], nullptr, 16)});
        else if (std::regex_match(line, m, bt))
            btIds.insert({std::stoll(m[1], nullptr, 16), std::stoll(m[2], nullptr, 16)});
        else
            ADD_FAILURE() << "unexpected rule: " << line;
    }
    std::set<std::pair<int64_t, int64_t>> watched;
    for (const auto& row : homeWatchList()) watched.insert({row.vendorId, row.productId});
    EXPECT_EQ(usbIds, watched);
    EXPECT_EQ(btIds, watched);
}
