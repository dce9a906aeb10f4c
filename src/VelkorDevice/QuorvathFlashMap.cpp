#include "VelkorDevice/QuorvathFlashMap.h"

#include "USB/KeyboardProducts.h"
#include "Views/Keyboard/KeyLayout/KeyModels.h"

namespace keyloom {

std::optional<int64_t> quorvathFlashSlot(int64_t productId, int64_t keyValue, int64_t kbProfile) {
    const KeyboardProduct& product = firstGenerationProduct(productId);
    // Profiles beyond the flash are refused here already, which also keeps the product below from overflowing.
    if (product.keysPerProfile <= 0 || kbProfile < 0 || kbProfile > 4095) return std::nullopt;
    const KeyModel* model = findKeyModel(product.model);
    const KeyMapRow* row = model ? model->codeMap().find(keyValue) : nullptr;
    if (!row || row->layout_index < 0) return std::nullopt;
    return row->layout_index + kbProfile * product.keysPerProfile;
}

}  // namespace keyloom
