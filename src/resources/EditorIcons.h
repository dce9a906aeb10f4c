#pragma once

#include <QHash>
#include <QPixmap>
#include <QString>
#include <functional>

namespace keyloom {

// The first-generation editor's tab icons ("icon_menu_customkey", "icon_menu_knob", "icon_menu_radi",
// "icon_menu_set", each also with "_check" for the selected tab), added to the application's image table.
void addEditorIcons(QHash<QString, std::function<QPixmap()>>& table);

}  // namespace keyloom
