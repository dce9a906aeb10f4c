#pragma once

#include <QHash>
#include <QPixmap>
#include <QString>
#include <functional>

namespace keyloom {

// Draws one named image of the image table (keyloomImage).
using ImagePainter = std::function<QPixmap()>;

// The option trees' icons ("icon_custom_default", ... "icon_custom_mac").
void addOptionTreeIcons(QHash<QString, ImagePainter>& table);

}  // namespace keyloom
