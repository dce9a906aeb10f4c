#include "Views/Keyboard/Shared/StoreNotice.h"

namespace keyloom {

StoreNotice::StoreNotice(QWidget* parent) : QLabel(parent) {
    setObjectName(QStringLiteral("storeNotice"));
    setWordWrap(true);
    setTextFormat(Qt::PlainText);  // a file name is shown as it is
    setTextInteractionFlags(Qt::TextSelectableByMouse);
    setAlignment(Qt::AlignLeft | Qt::AlignVCenter);
    setStyleSheet(QStringLiteral("QLabel#storeNotice { background: #fff3cd; color: #5c4400; border: 1px solid #e0b252;"
                                 " border-radius: 4px; padding: 2px 8px; }"));
    hide();
}

void StoreNotice::storeReported(StoreFailure why, IfNotStored ifNotStored) {
    say(storeFailureNotice(why, ifNotStored));
}

void StoreNotice::editorOpened(const ProfileSQLite& store) {
    // A sound store leaves what the opening's own stores may have said.
    if (const std::string text = openingNotice(store); !text.empty()) say(text);
}

void StoreNotice::say(const std::string& text) {
    if (text.empty()) {
        hide();
        return;
    }
    setText(QString::fromStdString(text));
    show();
    raise();  // over the tab's panel
}

}  // namespace keyloom
