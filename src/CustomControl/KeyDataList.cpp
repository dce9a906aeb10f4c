#include "CustomControl/KeyDataList.h"

namespace keyloom {

std::vector<KeyData> keyDataFromCaps(const std::vector<PlacedCap>& caps) {
    std::vector<KeyData> keys;
    keys.reserve(caps.size());
    for (const PlacedCap& cap : caps) {
        KeyData key(cap.index);
        key.rect = QRectF(double(cap.rect.x), double(cap.rect.y), double(cap.rect.width), double(cap.rect.height));
        key.keyname = cap.keyname;
        keys.push_back(std::move(key));
    }
    return keys;
}

KeyModelId quorvathModelForDeviceType(int64_t deviceType) {
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

std::vector<KeyData> quorvathKeyData(int64_t deviceType) {
    const KeyModel* model = findKeyModel(quorvathModelForDeviceType(deviceType));
    return model ? keyDataFromCaps(placeCaps(*model)) : std::vector<KeyData>{};
}

}  // namespace keyloom
