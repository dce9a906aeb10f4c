#pragma once

// Keyboard pictures drawn from the model tables: the editors' photos ("img_keyboard_..."), laid over the colour
// patches of a KeyboardView, and the home screen's pictures ("big_kb_...").

#include <QHash>
#include <QPixmap>
#include <QRectF>
#include <QString>
#include <string>
#include <vector>

#include "Views/Keyboard/KeyLayout/KeyMapTypes.h"
#include "Views/Keyboard/KeyLayout/KeyPlacement.h"
#include "resources/ImagePainter.h"

namespace keyloom {

// A part of a cap that a photo draws beyond the cap's frame, in picture points (origin bottom left): the foot of an
// ISO Enter, which the picture fills with the colour of that cap's patch.
struct CapExtension {
    std::string keyname;
    QRectF rect;
};
// Empty for names that are not photos and for photos without such caps.
std::vector<CapExtension> keyboardPhotoExtensions(const QString& photoName);

// A photo of the given size: an opaque body with a window over each cap (and the foot of an ISO Enter), each cap
// with its legend, the short name of its key in names (none when names lacks the key); tag written in a corner.
QPixmap drawKeyboardPhoto(const std::vector<PlacedCap>& caps, const KeyNameMap& names, QSize size, const QString& tag);

// Every photo and home-screen picture with its painter, for the image table.
void addKeyboardPictures(QHash<QString, ImagePainter>& table);

}  // namespace keyloom
