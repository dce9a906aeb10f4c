#pragma once

// The products this program knows, one row per USB product (and, where the product name tells the model apart, per
// name). Every place that tells one product from another reads these rows: the watch list, the monitor's
// classification, the home screen's identification, the first-generation flash map, the simulated keyboards, the
// udev rule's test, and the editors.
//
// How an editor uses it:
//   First generation (keyboard types 1-6): row = firstGenerationProduct(integerProperty(device, "ProductID")):
//     row.deviceType (1-6), row.model (layout and key maps: findKeyModel(row.model)), row.keysPerProfile;
//     the profile database file is DeviceSQLite::databaseName(vendor id, product id), made from the ids.
//   Second generation (keyboard type 7): row = secondGenerationProduct(product id, textProperty(device, "Product")):
//     row.deviceType (1, 100-106), row.databaseFile, row.model (tables at layout index 0) and row.otherLayoutsModel
//     (tables at every other layout index).
//
// The rows are plain constants in this header so the simulated keyboards of the platform layer can read them without
// linking the USB area; the look-ups are in KeyboardProducts.cpp.

#include <cstdint>
#include <string_view>

#include "Views/Keyboard/KeyLayout/KeyModelId.h"

namespace keyloom {

inline constexpr int64_t kFirstGenerationVendor = 0x1A2C;
inline constexpr int64_t kSecondGenerationVendor = 0x05AC;

// A row for every other product of its vendor: never watched, but it carries the vendor's rules.
inline constexpr int64_t kAnyProductId = -1;

enum class ProductKind {
    FirstGeneration,   // Quorvath: 8-byte feature reports, keyboard types 1-6
    SecondGeneration,  // MarrowinV2, Vindle, Tolmek, Ostrel: 64-byte feature reports, keyboard type 7
    BluetoothLink,     // its presence means a keyboard is connected over Bluetooth
    Receiver,          // the 2.4 GHz receiver, which reports the wireless keyboard's battery
};

struct KeyboardProduct {
    int64_t vendorId = 0;
    int64_t productId = kAnyProductId;
    // Exact, case-sensitive USB product name; nullptr: any name that no earlier row of the same ids took.
    const char* productName = nullptr;
    ProductKind kind = ProductKind::FirstGeneration;
    // The monitor announces only the HID interface whose largest feature report has this size (the command
    // interface); 0: every interface.
    int64_t commandFeatureSize = 0;

    // Home screen. keyboardDesc nullptr: the description is the product name.
    int64_t keyboardType = 1;
    const char* keyboardDesc = nullptr;
    const char* keyboardImage = "big_kb_pro_87";
    KeyModelId model = KeyModelId::Quorvath87;  // key maps made current; the editor's tables at layout index 0

    // Editors.
    int64_t deviceType = 1;
    KeyModelId otherLayoutsModel = model;  // second generation: tables at layout indexes 1-8
    const char* databaseFile = nullptr;    // second generation; the first generation's name is made from the ids
    bool modelNeedsProductId = false;      // second generation: the name alone does not tell the model
    int64_t keysPerProfile = 0;            // first generation: key slots per profile in flash; 0: no flash map

    // Simulated keyboard (KEYLOOM_SIMULATE name); its product name is simulatedProduct, else productName.
    const char* simulatedModel = nullptr;
    const char* simulatedProduct = nullptr;
};

namespace product_rows {

using enum KeyModelId;
using enum ProductKind;
constexpr int64_t Q = kFirstGenerationVendor;
constexpr int64_t M = kSecondGenerationVendor;

// In the watch list's order; within one product id, the named rows before the row without a name.
inline constexpr KeyboardProduct kRows[] = {
    // clang-format off
    {.vendorId = Q, .productId = 0xB57E, .kind = FirstGeneration, .commandFeatureSize = 8, .keyboardType = 1,
     .keyboardImage = "big_kb_pro_87", .model = Quorvath87, .deviceType = 1, .keysPerProfile = 91,
     .simulatedModel = "quorvath87", .simulatedProduct = "Quorvath 87"},
    {.vendorId = Q, .productId = 0xB58E, .kind = FirstGeneration, .commandFeatureSize = 8, .keyboardType = 2,
     .keyboardImage = "big_kb_pro_88", .model = Quorvath88, .deviceType = 2, .keysPerProfile = 92,
     .simulatedModel = "quorvath88", .simulatedProduct = "Quorvath 88"},
    {.vendorId = Q, .productId = 0xB5BE, .kind = FirstGeneration, .commandFeatureSize = 8, .keyboardType = 3,
     .keyboardImage = "big_kb_pro_91", .model = Quorvath91, .deviceType = 3, .keysPerProfile = 95,
     .simulatedModel = "quorvath91", .simulatedProduct = "Quorvath 91"},
    {.vendorId = Q, .productId = 0xB51F, .kind = FirstGeneration, .commandFeatureSize = 8, .keyboardType = 4,
     .keyboardImage = "big_kb_te_87", .model = Quorvath87, .deviceType = 4, .keysPerProfile = 91,
     .simulatedModel = "quorvath87te", .simulatedProduct = "Quorvath TE 87"},
    {.vendorId = Q, .productId = 0xB58F, .kind = FirstGeneration, .commandFeatureSize = 8, .keyboardType = 5,
     .keyboardImage = "big_kb_te_88", .model = Quorvath88, .deviceType = 5, .keysPerProfile = 92,
     .simulatedModel = "quorvath88te", .simulatedProduct = "Quorvath TE 88"},
    {.vendorId = Q, .productId = 0xB5BF, .kind = FirstGeneration, .commandFeatureSize = 8, .keyboardType = 6,
     .keyboardImage = "big_kb_te_91", .model = Quorvath91, .deviceType = 6, .keysPerProfile = 95,
     .simulatedModel = "quorvath91te", .simulatedProduct = "Quorvath TE 91"},

    {.vendorId = Q, .productId = 0xB20D, .kind = BluetoothLink, .simulatedModel = "bluetooth",
     .simulatedProduct = "RA VER IV"},
    {.vendorId = Q, .productId = 0xB31F, .kind = Receiver, .simulatedModel = "receiver24g",
     .simulatedProduct = "2.4G Wireless Receiver"},

    {.vendorId = M, .productId = 0x024F, .productName = "Ostrel PRO", .kind = SecondGeneration,
     .commandFeatureSize = 64, .keyboardType = 7, .keyboardDesc = "Ostrel PRO", .keyboardImage = "big_kb_ostrel_pro",
     .model = Ostrel61, .deviceType = 100, .databaseFile = "ostrelpro_device.sqlite3", .simulatedModel = "ostrel61"},
    {.vendorId = M, .productId = 0x024F, .productName = "Ostrel TE", .kind = SecondGeneration,
     .commandFeatureSize = 64, .keyboardType = 7, .keyboardDesc = "Ostrel TE", .keyboardImage = "big_kb_ostrel_te",
     .model = OstrelTE61, .deviceType = 105, .databaseFile = "ostrelte61_device.sqlite3", .modelNeedsProductId = true,
     .simulatedModel = "ostrelte61"},
    {.vendorId = M, .productId = 0x024F, .productName = "Ostrel MAX", .kind = SecondGeneration,
     .commandFeatureSize = 64, .keyboardType = 7, .keyboardDesc = "Ostrel MAX", .keyboardImage = "big_kb_ostrel_pro",
     .model = Ostrel61, .deviceType = 103, .databaseFile = "ostrelmax_device.sqlite3", .simulatedModel = "ostrelmax"},
    {.vendorId = M, .productId = 0x024F, .productName = "Tolmek V2 TE", .kind = SecondGeneration,
     .commandFeatureSize = 64, .keyboardType = 7, .keyboardDesc = "Tolmek V2 TE",
     .keyboardImage = "big_kb_te_tolmekv2", .model = Tolmek84, .deviceType = 101,
     .databaseFile = "tolmekv2te_device.sqlite3", .simulatedModel = "tolmek84"},
    {.vendorId = M, .productId = 0x024F, .productName = "Vindle", .kind = SecondGeneration, .commandFeatureSize = 64,
     .keyboardType = 7, .keyboardDesc = "Vindle", .keyboardImage = "big_kb_vindle", .model = Vindle68,
     .deviceType = 102, .databaseFile = "vindle_device.sqlite3", .simulatedModel = "vindle68"},
    {.vendorId = M, .productId = 0x024F, .productName = "Marrowin V2 PRO", .kind = SecondGeneration,
     .commandFeatureSize = 64, .keyboardType = 7, .keyboardDesc = "Marrowin V2 PRO",
     .keyboardImage = "big_kb_marrowinv2_pro", .model = MarrowinV2_71, .deviceType = 1,
     .otherLayoutsModel = MarrowinV2_72, .databaseFile = "marrowinv2pro_device.sqlite3",
     .simulatedModel = "marrowinv2_71"},
    {.vendorId = M, .productId = 0x024F, .productName = "Marrowin V2 MAX", .kind = SecondGeneration,
     .commandFeatureSize = 64, .keyboardType = 7, .keyboardDesc = "Marrowin V2 MAX",
     .keyboardImage = "big_kb_marrowinv2_pro", .model = MarrowinV2_71, .deviceType = 1,
     .otherLayoutsModel = MarrowinV2_72, .databaseFile = "marrowinv2max_device.sqlite3",
     .simulatedModel = "marrowinv2max"},
    // The home screen shows this name as it shows every unknown name; the editor gives it a database of its own.
    {.vendorId = M, .productId = 0x024F, .productName = "Marrowin V2 TE", .kind = SecondGeneration,
     .commandFeatureSize = 64, .keyboardType = 7, .keyboardDesc = "Marrowin V2 TE",
     .keyboardImage = "big_kb_marrowinv2", .model = MarrowinV2_71, .deviceType = 1,
     .otherLayoutsModel = MarrowinV2_72, .databaseFile = "marrowinv2te_device.sqlite3",
     .simulatedModel = "marrowinv2te"},
    {.vendorId = M, .productId = 0x024F, .kind = SecondGeneration, .commandFeatureSize = 64, .keyboardType = 7,
     .keyboardDesc = "Marrowin V2 TE", .keyboardImage = "big_kb_marrowinv2", .model = MarrowinV2_71, .deviceType = 1,
     .otherLayoutsModel = MarrowinV2_72, .databaseFile = "marrowinv2_device.sqlite3"},

    {.vendorId = M, .productId = 0x0250, .productName = "Marrowin V2 PRO", .kind = SecondGeneration,
     .keyboardType = 7, .keyboardDesc = "Marrowin V2 PRO", .keyboardImage = "big_kb_marrowinv2_pro",
     .model = MarrowinV2_71, .deviceType = 1, .otherLayoutsModel = MarrowinV2_72,
     .databaseFile = "marrowinv2pro_device.sqlite3", .simulatedModel = "marrowinv2_72"},
    {.vendorId = M, .productId = 0x0250, .productName = "Ostrel TE", .kind = SecondGeneration, .keyboardType = 7,
     .keyboardDesc = "Ostrel TE", .keyboardImage = "big_kb_ostrel_te", .model = OstrelTE62, .deviceType = 106,
     .databaseFile = "ostrelte62_device.sqlite3", .modelNeedsProductId = true, .simulatedModel = "ostrelte62"},
    {.vendorId = M, .productId = 0x0250, .kind = SecondGeneration, .keyboardType = 7,
     .keyboardDesc = "Marrowin V2 TE", .keyboardImage = "big_kb_marrowinv2", .model = MarrowinV2_71, .deviceType = 1,
     .otherLayoutsModel = MarrowinV2_72, .databaseFile = "marrowinv2_device.sqlite3"},

    // Every other first-generation product: its command interface too has 8-byte feature reports.
    {.vendorId = Q, .productId = kAnyProductId, .kind = FirstGeneration, .commandFeatureSize = 8},
    // clang-format on
};

}  // namespace product_rows

inline constexpr const auto& kKeyboardProducts = product_rows::kRows;

// The home screen's row: the first keyboard row (either generation) of these ids whose name rule takes the name;
// nullptr when none does (the caller keeps the defaults of KeyboardProduct).
const KeyboardProduct* findKeyboardProduct(int64_t vendorId, int64_t productId, std::string_view productName);

// The first row of these ids, whatever the name (same ids share kind and command feature size); nullptr when none.
const KeyboardProduct* findProductByIds(int64_t vendorId, int64_t productId);

// First-generation editor and flash map: the row of this product id; for any other id, the row of every other
// first-generation product (device type 1, the 87-key model, no flash map).
const KeyboardProduct& firstGenerationProduct(int64_t productId);

// Second-generation editor: the first second-generation row whose name equals the product name (and whose product
// id equals productId where the name alone does not tell); for any other name, the row of unknown names (device
// type 1, "marrowinv2_device.sqlite3").
const KeyboardProduct& secondGenerationProduct(int64_t productId, std::string_view productName);

}  // namespace keyloom
