#include "Views/Keyboard/Marrowin/core/MarrowinModelChoice.h"

#include "USB/KeyboardProducts.h"

namespace keyloom {

MarrowinModelChoice chooseMarrowinModel(std::string_view productName, int64_t productId) {
    const KeyboardProduct& row = secondGenerationProduct(productId, productName);
    MarrowinModelChoice choice;
    choice.deviceType = row.deviceType;
    if (row.databaseFile) choice.deviceDBfile = row.databaseFile;
    choice.model = row.model;
    choice.otherLayoutsModel = row.otherLayoutsModel;
    return choice;
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

MarrowinPicture marrowinPicture(const MarrowinModelChoice& choice, int64_t layoutIndex) {
    const KeyModelId model = layoutIndex == 0 ? choice.model : choice.otherLayoutsModel;
    switch (model) {
        case KeyModelId::Tolmek84:
            return {model, {294, 255, 700, 286}};
        case KeyModelId::Vindle68:
            return {model, {294, 255, 669, 220}};
        default:
            return {model, {295, 260, 698, 256}};
    }
}

}  // namespace keyloom
