#pragma once

#include <QHash>
#include <QPixmap>
#include <QString>
#include <functional>

namespace keyloom {

// The light-mode icons of the editors' mode lists ("icon_light_static", "icon_light_spectrum", "icon_light_rainbow",
// "icon_light_powergauge", "icon_light_breathing", "icon_light_twinklingstars", "icon_light_reactive",
// "icon_light_marquee", "icon_light_aurora", "icon_light_custom"), added to the application's image table.
void addLightModeIcons(QHash<QString, std::function<QPixmap()>>& table);

}  // namespace keyloom
