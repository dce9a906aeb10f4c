#include "VelkorDevice/QuorvathFlashMap.h"

#include "Views/Keyboard/KeyLayout/KeyModels.h"

namespace keyloom {

namespace {

std::optional<KeyModelId> quorvathModel(int64_t productId) {
    switch (productId) {
        case 0xB51F:
        case 0xB57E:
            return KeyModelId::Quorvath87;
        case 0xB58E:
        case 0xB58F:
            return KeyModelId::Quorvath88;
        case 0xB5BE:
        case 0xB5BF:
            return KeyModelId::Quorvath91;
        default:
            return std::nullopt;
    }
}

std::optional<int64_t> layoutIndexOnModel(int64_t productId, int64_t keyValue) {
    const std::optional<KeyModelId> id = quorvathModel(productId);
    const KeyModel* model = id ? findKeyModel(*id) : nullptr;
    if (!model) return std::nullopt;
    const KeyMapRow* row = model->codeMap().find(keyValue);
    if (!row) return std::nullopt;
    return row->layout_index;
}

}  // namespace

std::optional<int64_t> quorvathKeysPerProfile(int64_t productId) {
    switch (productId) {
        case 0xB51F:
        case 0xB57E:
            return 91;
        case 0xB58E:
        case 0xB58F:
            return 92;
        case 0xB5BE:
        case 0xB5BF:
            return 95;
        default:
            return std::nullopt;
    }
}

std::optional<int64_t> quorvathFlashSlot(int64_t productId, int64_t keyValue, int64_t kbProfile) {
    const std::optional<int64_t> keysPerProfile = quorvathKeysPerProfile(productId);
    // Profiles beyond the flash are refused here already, which also keeps the product below from overflowing.
    if (!keysPerProfile || kbProfile < 0 || kbProfile > 4095) return std::nullopt;
    const std::optional<int64_t> layoutIndex = layoutIndexOnModel(productId, keyValue);
    if (!layoutIndex || *layoutIndex < 0) return std::nullopt;
    return *layoutIndex + kbProfile * *keysPerProfile;
}

}  // namespace keyloom
