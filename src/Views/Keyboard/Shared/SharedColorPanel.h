#pragma once

#include <QColor>
#include <functional>

class QColorDialog;
class QObject;

namespace keyloom {

// The one colour dialog of the editors, like a colour panel shared by the whole application: non-modal, without
// OK/Cancel, reporting every colour the user picks while it is open. One owner at a time receives the colours:
// opening it for another owner takes it over. Main thread only.
//
//   openSharedColorPanel(well, well->color(), [this](const QColor& c) { colorWellChange(c); });
//
// The initial colour is set without reporting it, so opening the panel never stores or sends anything.
void openSharedColorPanel(QObject* owner, const QColor& initial, std::function<void(const QColor&)> onUserColor);

// Hides the panel and forgets its owner (tab switches, an editor closing). Harmless when it was never opened.
void closeSharedColorPanel();

// The dialog itself, or nullptr before it was first opened (tests, screenshots).
QColorDialog* sharedColorPanel();
bool sharedColorPanelVisible();

}  // namespace keyloom
