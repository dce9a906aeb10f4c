#pragma once

#include <QHash>
#include <QPixmap>
#include <QString>
#include <functional>

namespace keyloom {

// Draws one named image of the image table (keyloomImage).
using ImagePainter = std::function<QPixmap()>;

// A transparent pixmap of size (in logical pixels) at the screen's pixel ratio, to draw an image on.
QPixmap transparentPixmap(QSize size);

// The option trees' icons ("icon_custom_default", ... "icon_custom_mac").
void addOptionTreeIcons(QHash<QString, ImagePainter>& table);

// The knob tab's button images ("img_knobbutton_normal", "img_knobbutton_down", "img_knobbutton_check").
void addKnobButtonImages(QHash<QString, ImagePainter>& table);

}  // namespace keyloom
