#include <gtest/gtest.h>

#include <cstdio>
#include <fstream>
#include <set>
#include <string>

#include "USB/HomeWatchList.h"
#include "USB/KeyboardProducts.h"
#include "Views/Keyboard/KeyLayout/KeyModels.h"
#include "platform/hid/SimulatedKeyboard.h"

using namespace keyloom;

namespace {

std::string text(const char* s) {
    return s ? s : "(none)";
}

bool isKeyboard(const KeyboardProduct& row) {
    return row.kind == ProductKind::FirstGeneration || row.kind == ProductKind::SecondGeneration;
}

}  // namespace

// The watch list is every product of the table once, in the table's order, and that order is the monitor's.
TEST(KeyboardProducts, WatchListIsEveryProductOnce) {
    const std::vector<HIDMonitorData> expected = {
        {0x1A2C, 0xB57E}, {0x1A2C, 0xB58E}, {0x1A2C, 0xB5BE}, {0x1A2C, 0xB51F}, {0x1A2C, 0xB58F},
        {0x1A2C, 0xB5BF}, {0x1A2C, 0xB20D}, {0x1A2C, 0xB31F}, {0x05AC, 0x024F}, {0x05AC, 0x0250},
    };
    EXPECT_EQ(homeWatchList(), expected);
    for (const KeyboardProduct& row : kKeyboardProducts) {
        if (row.productId == kAnyProductId) continue;
        const HIDMonitorData ids(row.vendorId, row.productId);
        EXPECT_NE(std::find(expected.begin(), expected.end(), ids), expected.end()) << row.productId;
    }
}

// The udev rule grants exactly the table's products, over USB and over Bluetooth.
TEST(KeyboardProducts, UdevRuleCoversExactlyTheTable) {
    std::set<std::string> expected;
    char line[160];
    for (const KeyboardProduct& row : kKeyboardProducts) {
        if (row.productId == kAnyProductId) continue;
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
    for (std::string t; std::getline(in, t);)
        if (!t.empty() && t[0] != '#') rules.insert(t);
    EXPECT_EQ(rules, expected);
}

// What the look-ups rely on: rows of one product agree on what the monitor reads, a nameless row closes its product,
// every model has its tables, the editor columns are filled for the generation that reads them, and every simulated
// keyboard is its row.
TEST(KeyboardProducts, RowsAreConsistent) {
    std::set<std::string> simulated;
    for (size_t i = 0; i < std::size(kKeyboardProducts); ++i) {
        const KeyboardProduct& row = kKeyboardProducts[i];
        SCOPED_TRACE("row " + std::to_string(i) + " " + text(row.productName));
        for (size_t j = i + 1; j < std::size(kKeyboardProducts); ++j) {
            const KeyboardProduct& later = kKeyboardProducts[j];
            if (later.vendorId != row.vendorId || later.productId != row.productId) continue;
            EXPECT_EQ(later.kind, row.kind);
            EXPECT_EQ(later.commandFeatureSize, row.commandFeatureSize);
            EXPECT_NE(row.productName, nullptr) << "a nameless row hides row " << j;
            if (row.productName && later.productName) {
                EXPECT_STRNE(row.productName, later.productName);
            }
        }
        if (isKeyboard(row)) {
            EXPECT_NE(findKeyModel(row.model), nullptr);
            EXPECT_NE(findKeyModel(row.otherLayoutsModel), nullptr);
            EXPECT_NE(row.keyboardImage, nullptr);
        }
        if (row.kind == ProductKind::FirstGeneration) {
            EXPECT_EQ(row.commandFeatureSize, 8);
            EXPECT_EQ(row.databaseFile, nullptr);
            if (row.productId != kAnyProductId) {
                EXPECT_EQ(row.deviceType, row.keyboardType);
                EXPECT_GT(row.keysPerProfile, 0);
            }
        }
        if (row.kind == ProductKind::SecondGeneration) {
            EXPECT_EQ(row.keyboardType, 7);
            ASSERT_NE(row.databaseFile, nullptr);
            EXPECT_EQ(row.keysPerProfile, 0);
            // Where the name alone tells the model, every row of that name must tell the same one.
            const KeyboardProduct& chosen = secondGenerationProduct(row.productId, text(row.productName));
            if (row.productName) {
                EXPECT_EQ(chosen.deviceType, row.deviceType);
                EXPECT_STREQ(chosen.databaseFile, row.databaseFile);
                EXPECT_EQ(chosen.model, row.model);
            }
        }
        if (row.simulatedModel) {
            EXPECT_TRUE(simulated.insert(row.simulatedModel).second) << row.simulatedModel;
            const auto kb = SimulatedKeyboard::byModel(row.simulatedModel);
            ASSERT_NE(kb, nullptr);
            EXPECT_EQ(kb->vendorId(), row.vendorId);
            EXPECT_EQ(kb->productId(), row.productId);
            // The simulated keyboard is identified as this row.
            if (isKeyboard(row)) {
                EXPECT_EQ(findKeyboardProduct(row.vendorId, row.productId, kb->product()), &row);
            }
        }
    }
    const std::vector<std::string> names = SimulatedKeyboard::modelNames();
    EXPECT_EQ(std::set<std::string>(names.begin(), names.end()), simulated);
}

// The first-generation editor and flash map by product id alone, and what a product id that is no keyboard gets.
TEST(KeyboardProducts, FirstGenerationEditor) {
    struct Case {
        int64_t pid, deviceType;
        KeyModelId model;
        int64_t keysPerProfile;
    } const cases[] = {
        {0xB58E, 2, KeyModelId::Quorvath88, 92}, {0xB5BF, 6, KeyModelId::Quorvath91, 95},
        {0xB20D, 1, KeyModelId::Quorvath87, 0},  // a link is no keyboard
        {0x024F, 1, KeyModelId::Quorvath87, 0},  // a second-generation id
        {0, 1, KeyModelId::Quorvath87, 0},       // no product id
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.pid);
        const KeyboardProduct& row = firstGenerationProduct(c.pid);
        EXPECT_EQ(row.deviceType, c.deviceType);
        EXPECT_EQ(row.model, c.model);
        EXPECT_EQ(row.keysPerProfile, c.keysPerProfile);
    }
}

// The second-generation editor: the model from the product name, and for "Ostrel TE" also from the product id.
TEST(KeyboardProducts, SecondGenerationEditor) {
    struct Case {
        int64_t pid;
        const char* name;
        int64_t deviceType;
        const char* file;
        KeyModelId model, otherLayouts;
    } const cases[] = {
        {0x024F, "Ostrel PRO", 100, "ostrelpro_device.sqlite3", KeyModelId::Ostrel61, KeyModelId::Ostrel61},
        {0x024F, "Marrowin V2 MAX", 1, "marrowinv2max_device.sqlite3", KeyModelId::MarrowinV2_71,
         KeyModelId::MarrowinV2_72},
        {591, "Ostrel TE", 105, "ostrelte61_device.sqlite3", KeyModelId::OstrelTE61, KeyModelId::OstrelTE61},
        {592, "Ostrel TE", 106, "ostrelte62_device.sqlite3", KeyModelId::OstrelTE62, KeyModelId::OstrelTE62},
        {593, "Ostrel TE", 1, "marrowinv2_device.sqlite3", KeyModelId::MarrowinV2_71, KeyModelId::MarrowinV2_72},
        {0x024F, "ostrel pro", 1, "marrowinv2_device.sqlite3", KeyModelId::MarrowinV2_71, KeyModelId::MarrowinV2_72},
        {0x024F, "", 1, "marrowinv2_device.sqlite3", KeyModelId::MarrowinV2_71, KeyModelId::MarrowinV2_72},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(std::string(c.name) + " " + std::to_string(c.pid));
        const KeyboardProduct& row = secondGenerationProduct(c.pid, c.name);
        EXPECT_EQ(row.deviceType, c.deviceType);
        EXPECT_STREQ(row.databaseFile, c.file);
        EXPECT_EQ(row.model, c.model);
        EXPECT_EQ(row.otherLayoutsModel, c.otherLayouts);
    }
}
