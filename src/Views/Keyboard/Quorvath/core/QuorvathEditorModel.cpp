#include "Views/Keyboard/Quorvath/core/QuorvathEditorModel.h"

#include "USB/KeyboardProducts.h"

namespace keyloom {

std::optional<int64_t> quorvathDeviceType(int64_t productId) {
    const KeyboardProduct& row = firstGenerationProduct(productId);
    if (row.productId == kAnyProductId) return std::nullopt;
    return row.deviceType;
}

KeyModelId quorvathLayout(int64_t deviceType) {
    for (const KeyboardProduct& row : kKeyboardProducts)
        if (row.kind == ProductKind::FirstGeneration && row.productId != kAnyProductId && row.deviceType == deviceType)
            return row.model;
    return KeyModelId::Quorvath87;
}

}  // namespace keyloom
