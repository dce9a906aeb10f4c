#pragma once

#include <QColor>
#include <QPixmap>
#include <QString>

namespace keyloom {

// The application's images, looked up by the names the screens use ("velkor-bar", "big_kb_pro_87",
// "img_kb_check", "icon_battery_40", ...). All are drawn by us in code; an unknown name gives a null pixmap,
// which leaves a control without an image. Main thread only (pixmaps are GUI objects).
QPixmap keyloomImage(const QString& name);
bool hasKeyloomImage(const QString& name);
// The mark of the picker button whose page is shown; 3:1 or more on light and dark window colours.
QColor pickerMarkColor();

}  // namespace keyloom
