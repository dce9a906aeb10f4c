#include "resources/ImagePainter.h"

#include <QGuiApplication>
#include <algorithm>

namespace keyloom {

QPixmap transparentPixmap(QSize size) {
    const double dpr = qGuiApp ? std::max(1.0, qGuiApp->devicePixelRatio()) : 1.0;
    QPixmap pm(size * dpr);
    pm.setDevicePixelRatio(dpr);
    pm.fill(Qt::transparent);
    return pm;
}

}  // namespace keyloom
