#include "Views/Keyboard/core/QuorvathEditorModel.h"

#include <array>
#include <utility>

namespace keyloom {

namespace {

// Product id -> device type, in device-type order.
constexpr std::array<std::pair<int64_t, int64_t>, 6> kDeviceTypes = {{
    {0xB57E, 1},
    {0xB58E, 2},
    {0xB5BE, 3},
    {0xB51F, 4},
    {0xB58F, 5},
    {0xB5BF, 6},
}};

}  // namespace

std::optional<int64_t> quorvathDeviceType(int64_t productId) {
    for (const auto& [pid, type] : kDeviceTypes)
        if (pid == productId) return type;
    return std::nullopt;
}

KeyModelId quorvathLayout(int64_t deviceType) {
    switch (deviceType) {
        case 2:
        case 5:
            return KeyModelId::Quorvath88;
        case 3:
        case 6:
            return KeyModelId::Quorvath91;
        default:
            return KeyModelId::Quorvath87;
    }
}

}  // namespace keyloom
