#include <gtest/gtest.h>

#include <cstdio>
#include <fstream>
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
    std::set<std::string> expected;
    char line[160];
    for (const auto& row : homeWatchList()) {
        const auto v = static_cast<unsigned>(row.vendorId);
        const auto p = static_cast<unsigned>(row.productId);
        std::snprintf(line, sizeof line,
                      "SUBSYSTEM==\"hidraw\", ATTRS{idVendor}==\"%04x\", ATTRS{idProduct}==\"%04x\", TAG+=\"uaccess\"",
                      v, p);
        expected.insert(line);
        std::snprintf(line, sizeof line, "SUBSYSTEM==\"hidraw\", KERNELS==\"0005:%04X:%04X.*\", TAG+=\"uaccess\"", v,
                      p);
        expected.insert(line);
    }
    std::ifstream in(KEYLOOM_UDEV_RULES);
    ASSERT_TRUE(in) << KEYLOOM_UDEV_RULES;
    std::set<std::string> rules;
    std::string text;
    while (std::getline(in, text))
        if (!text.empty() && text[0] != '#') rules.insert(text);
    EXPECT_EQ(rules, expected);
}
