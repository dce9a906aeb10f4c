#pragma once

#include <QColor>
#include <QPixmap>
#include <QRectF>
#include <QString>
#include <vector>

namespace keyloom {

// The application's images, looked up by the names the screens use ("velkor-bar", "big_kb_pro_87",
// "img_kb_check", "icon_battery_40", ...). All are drawn by us in code; an unknown name gives a null pixmap,
// which leaves a control without an image. Main thread only (pixmaps are GUI objects).
QPixmap keyloomImage(const QString& name);
bool hasKeyloomImage(const QString& name);
// The mark of the picker button whose page is shown; 3:1 or more on light and dark window colours.
QColor pickerMarkColor();

// Caps of a keyboard picture ("big_kb_..."): rectangles with origin bottom left, as the model tables give them,
// plus the picture's size. Empty when the name is not a keyboard picture.
struct KeyboardPictureCaps {
    std::vector<QRectF> caps;
    QSizeF size;
};
KeyboardPictureCaps keyboardPictureCaps(const QString& name);

}  // namespace keyloom
