#pragma once

// Keyboard pictures drawn from the model tables: the editors' photos ("img_keyboard_..."), laid over the colour
// patches of a KeyboardView, and the home screen's pictures ("big_kb_...").

#include <QColor>
#include <QHash>
#include <QPixmap>
#include <QRectF>
#include <QString>
#include <string>
#include <unordered_map>
#include <vector>

#include "Views/Keyboard/KeyLayout/KeyMapTypes.h"
#include "Views/Keyboard/KeyLayout/KeyPlacement.h"
#include "resources/ImagePainter.h"

class QPainter;

namespace keyloom {

// A part of a cap that a photo draws beyond the cap's frame, in picture points (origin bottom left): the foot of an
// ISO Enter, which the picture fills with the colour of that cap's patch.
struct CapExtension {
    std::string keyname;
    QRectF rect;
};
// Empty for names that are not photos and for photos without such caps.
std::vector<CapExtension> keyboardPhotoExtensions(const QString& photoName);

// A photo of the given size: an opaque body with a window over each cap (and the foot of an ISO Enter); tag written
// in a corner. The legends are not on the photo: each cap's patch draws its own, in a colour that reads on the patch.
QPixmap drawKeyboardPhoto(const std::vector<PlacedCap>& caps, QSize size, const QString& tag);

// The legends of a photo's caps: the short name of each cap's key in the photo model's own map (caps whose key the
// map lacks have none), by the cap's key name, and the size they are drawn at. Empty for names that are not photos.
struct PhotoLegends {
    double size = 0;
    std::unordered_map<std::string, QString> texts;
};
PhotoLegends keyboardPhotoLegends(const QString& photoName);

// The colour of a legend on a cap drawn in `cap`: dark on light caps, light on dark ones, whichever stands out more;
// at least 4.5:1 against the cap (contrast ratio of the relative luminances), so no halo is needed on a plain cap.
QColor legendColourOn(const QColor& cap);

// A legend as the pictures draw it: in the top-left corner of the cap (clipped to it), at the largest size up to
// maxSize that fits its width, on two lines where the name has two words and one would not fit.
void drawCapLegend(QPainter& p, const QRectF& cap, const QString& text, double maxSize, const QColor& ink);

// Every photo and home-screen picture with its painter, for the image table.
void addKeyboardPictures(QHash<QString, ImagePainter>& table);

}  // namespace keyloom
