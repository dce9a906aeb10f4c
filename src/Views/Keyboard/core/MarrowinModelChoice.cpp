#include "Views/Keyboard/core/MarrowinModelChoice.h"

namespace keyloom {

namespace {

struct ProductRow {
    std::string_view name;
    int64_t productId;  // 0: any
    int64_t deviceType;
    const char* file;
};

// Compared in this order, by exact text; the first match wins.
constexpr ProductRow kProducts[] = {
    {"Ostrel PRO", 0, kOstrelProDeviceType, "ostrelpro_device.sqlite3"},
    {"Tolmek V2 TE", 0, kTolmekV2TEDeviceType, "tolmekv2te_device.sqlite3"},
    {"Vindle", 0, kVindleDeviceType, "vindle_device.sqlite3"},
    {"Marrowin V2 PRO", 0, kMarrowinV2DeviceType, "marrowinv2pro_device.sqlite3"},
    {"Marrowin V2 TE", 0, kMarrowinV2DeviceType, "marrowinv2te_device.sqlite3"},
    {"Marrowin V2 MAX", 0, kMarrowinV2DeviceType, "marrowinv2max_device.sqlite3"},
    {"Ostrel MAX", 0, kOstrelMaxDeviceType, "ostrelmax_device.sqlite3"},
    {"Ostrel TE", 591, kOstrelTE61DeviceType, "ostrelte61_device.sqlite3"},
    {"Ostrel TE", 592, kOstrelTE62DeviceType, "ostrelte62_device.sqlite3"},
};

// The photo frames: 698 x 256 for most, the Tolmek and Vindle photos have their own size.
constexpr CapRect kStandardFrame{295, 260, 698, 256};
constexpr CapRect kTolmekFrame{294, 255, 700, 286};
constexpr CapRect kVindleFrame{294, 255, 669, 220};

}  // namespace

MarrowinModelChoice chooseMarrowinModel(std::string_view productName, int64_t productId) {
    for (const ProductRow& row : kProducts) {
        if (productName != row.name) continue;
        if (row.productId != 0 && row.productId != productId) continue;
        return {row.deviceType, row.file};
    }
    return {};
}

MarrowinLayoutCombos marrowinLayoutCombos(int64_t deviceType) {
    switch (deviceType) {
        case kOstrelProDeviceType:
        case kTolmekV2TEDeviceType:
        case kVindleDeviceType:
        case kOstrelMaxDeviceType:
        case kOstrelTE61DeviceType:
            return MarrowinLayoutCombos::None;
        case kOstrelTE62DeviceType:
            return MarrowinLayoutCombos::OstrelTE62;
        default:
            return MarrowinLayoutCombos::MarrowinV2;
    }
}

MarrowinPicture marrowinPicture(int64_t deviceType, int64_t layoutIndex) {
    switch (deviceType) {
        case kOstrelProDeviceType:
        case kOstrelMaxDeviceType:
            return {KeyModelId::Ostrel61, kStandardFrame};
        case kOstrelTE61DeviceType:
            return {KeyModelId::OstrelTE61, kStandardFrame};
        case kOstrelTE62DeviceType:
            return {KeyModelId::OstrelTE62, kStandardFrame};
        case kTolmekV2TEDeviceType:
            return {KeyModelId::Tolmek84, kTolmekFrame};
        case kVindleDeviceType:
            return {KeyModelId::Vindle68, kVindleFrame};
        default:
            return {layoutIndex == 0 ? KeyModelId::MarrowinV2_71 : KeyModelId::MarrowinV2_72, kStandardFrame};
    }
}

}  // namespace keyloom
