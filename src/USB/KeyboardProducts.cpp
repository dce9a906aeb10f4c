#include "USB/KeyboardProducts.h"

namespace keyloom {

namespace {

bool idsMatch(const KeyboardProduct& row, int64_t vendorId, int64_t productId) {
    return row.vendorId == vendorId && (row.productId == productId || row.productId == kAnyProductId);
}

bool isKeyboard(const KeyboardProduct& row) {
    return row.kind == ProductKind::FirstGeneration || row.kind == ProductKind::SecondGeneration;
}

// The rows are constants: a missing fallback row is a fault of the table, which the product table's test catches.
const KeyboardProduct& firstRow(bool (*pred)(const KeyboardProduct&)) {
    for (const KeyboardProduct& row : kKeyboardProducts)
        if (pred(row)) return row;
    return kKeyboardProducts[0];
}

}  // namespace

const KeyboardProduct* findKeyboardProduct(int64_t vendorId, int64_t productId, std::string_view productName) {
    for (const KeyboardProduct& row : kKeyboardProducts) {
        if (!isKeyboard(row) || !idsMatch(row, vendorId, productId)) continue;
        if (row.productName == nullptr || productName == row.productName) return &row;
    }
    return nullptr;
}

const KeyboardProduct* findProductByIds(int64_t vendorId, int64_t productId) {
    for (const KeyboardProduct& row : kKeyboardProducts)
        if (idsMatch(row, vendorId, productId)) return &row;
    return nullptr;
}

const KeyboardProduct& firstGenerationProduct(int64_t productId) {
    for (const KeyboardProduct& row : kKeyboardProducts)
        if (row.kind == ProductKind::FirstGeneration && row.productId == productId) return row;
    return firstRow([](const KeyboardProduct& row) {
        return row.kind == ProductKind::FirstGeneration && row.productId == kAnyProductId;
    });
}

const KeyboardProduct& secondGenerationProduct(int64_t productId, std::string_view productName) {
    for (const KeyboardProduct& row : kKeyboardProducts) {
        if (row.kind != ProductKind::SecondGeneration || row.productName == nullptr) continue;
        if (productName != row.productName) continue;
        if (row.modelNeedsProductId && row.productId != productId) continue;
        return row;
    }
    return firstRow([](const KeyboardProduct& row) {
        return row.kind == ProductKind::SecondGeneration && row.productName == nullptr &&
               row.productId != kAnyProductId;
    });
}

}  // namespace keyloom
