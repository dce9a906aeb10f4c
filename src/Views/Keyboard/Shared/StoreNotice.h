#pragma once

#include <QLabel>

#include "SQLite/StoreFailure.h"
#include "Views/Keyboard/Shared/core/StoreNoticeText.h"

namespace keyloom {

class ProfileSQLite;

// The one notice of an editor window that a change was not stored, and why: a line in the window, not a dialog.
// A burst of failing changes (a slider or colour drag) keeps one notice, saying the latest reason; the next change
// that is stored hides it. Hidden until there is something to say. Main thread only.
class StoreNotice : public QLabel {
    Q_OBJECT

  public:
    explicit StoreNotice(QWidget* parent = nullptr);

    // How one user action's store went: None hides the notice, anything else shows why. Between editorOpening() and
    // editorOpened() the stores are the opening's own, not the user's changes: they are only noted.
    void storeReported(StoreFailure why, IfNotStored ifNotStored);
    // The editor begins to load its profile.
    void editorOpening();
    // The editor has opened on `store`: says so when it was found damaged or cannot store, and why.
    void editorOpened(const ProfileSQLite& store);

  protected:
    void resizeEvent(QResizeEvent* event) override;

  private:
    void say(const std::string& text);
    // A long text (a kept file's name) in a narrow place takes a smaller font rather than lose its end.
    void fitText();

    qreal fullPointSize_ = 0;
    bool opening_ = false;
    StoreFailure seenAtOpening_ = StoreFailure::None;  // the first failure of the opening's own stores
};

}  // namespace keyloom
