#pragma once

#include <QPointer>
#include <QRectF>
#include <QWidget>
#include <cstdint>
#include <string>

namespace keyloom {

// One key cap of a keyboard picture. Copied by value; the view it points to belongs to the picture (a child widget),
// so a copy kept after the picture was rebuilt or destroyed sees a null view, never a dangling one.
struct KeyData {
    // index = the key's position in the picture's two lists (its position in the model's layout); the rest empty.
    explicit KeyData(int64_t index = 0) : index(index) {}

    int64_t index = 0;
    QRectF rect;             // the cap's frame in picture points: origin bottom left, y growing upwards
    QPointer<QWidget> view;  // the KeyView (hover list) or SelectKeyView (selection list); set by initUI
    std::string keyname;     // "key_standard_name" of the layout row: a key of QV_SuperKeyNameMap
};

}  // namespace keyloom
