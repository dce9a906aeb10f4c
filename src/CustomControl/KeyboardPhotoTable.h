#pragma once

#include <QSize>
#include <QString>
#include <cstddef>
#include <cstdint>

namespace keyloom {

// The photo a keyboard picture lays over its caps, chosen by the number of caps: the layout index picks the language
// variant of 62 and 72 caps, the picture's device type the 61-cap photo (105: OstrelTE), and the process-wide
// Windows language identifier the 88-cap photo. Any other count gets the 87-cap photo.
struct KeyboardPhoto {
    QString name;  // a keyloomImage name
    QSize size;    // in picture points; the photo lies at the picture's bottom-left corner
};

KeyboardPhoto keyboardPhotoFor(std::size_t keyCount, int64_t layout, int64_t deviceType, int64_t keyboardLayout);

}  // namespace keyloom
