#pragma once

// Which second-generation model the editor works on, and how its pictures are built. Widget-free.

#include <cstdint>
#include <string>
#include <string_view>

#include "Views/Keyboard/KeyLayout/KeyModels.h"
#include "Views/Keyboard/KeyLayout/KeyPlacement.h"

namespace keyloom {

// Model codes of the second-generation editor (its deviceType).
inline constexpr int64_t kMarrowinV2DeviceType = 1;
inline constexpr int64_t kOstrelProDeviceType = 100;
inline constexpr int64_t kTolmekV2TEDeviceType = 101;
inline constexpr int64_t kVindleDeviceType = 102;
inline constexpr int64_t kOstrelMaxDeviceType = 103;
inline constexpr int64_t kOstrelTE61DeviceType = 105;
inline constexpr int64_t kOstrelTE62DeviceType = 106;

struct MarrowinModelChoice {
    int64_t deviceType = kMarrowinV2DeviceType;
    std::string deviceDBfile = "marrowinv2_device.sqlite3";
    KeyModelId model = KeyModelId::MarrowinV2_71;              // tables at layout index 0
    KeyModelId otherLayoutsModel = KeyModelId::MarrowinV2_72;  // tables at every other layout index

    bool operator==(const MarrowinModelChoice&) const = default;
};

// From the product table, by the exact USB product name ("" when the keyboard has none); the product id matters only
// for "Ostrel TE". Anything unknown is edited as a MarrowinV2 with a database file of its own.
MarrowinModelChoice chooseMarrowinModel(std::string_view productName, int64_t productId);

// Which pair of layout combo boxes a model shows: the MarrowinV2 pair, the OstrelTE 62 pair, or none.
enum class MarrowinLayoutCombos { None, MarrowinV2, OstrelTE62 };
MarrowinLayoutCombos marrowinLayoutCombos(int64_t deviceType);

// The tables a model's pictures are drawn from at a layout index, and the pictures' frame inside their panels (origin
// bottom left): the size of the model's photo.
struct MarrowinPicture {
    KeyModelId model = KeyModelId::MarrowinV2_71;
    CapRect frame;
};
MarrowinPicture marrowinPicture(const MarrowinModelChoice& choice, int64_t layoutIndex);

}  // namespace keyloom
