#include "Views/Home/KeyboardIdentification.h"

#include "USB/KeyboardProducts.h"

namespace keyloom {

KeyboardIdentity identifyKeyboard(int64_t vendorId, int64_t productId, const std::string& name) {
    static constexpr KeyboardProduct kUnknown{};  // no row: the defaults
    const KeyboardProduct* found = findKeyboardProduct(vendorId, productId, name);
    const KeyboardProduct& row = found ? *found : kUnknown;
    KeyboardIdentity id;
    id.keyboardType = row.keyboardType;
    if (row.keyboardDesc) id.keyboardDesc = row.keyboardDesc;
    id.keyboardImage = row.keyboardImage;
    id.model = row.model;
    return id;
}

}  // namespace keyloom
