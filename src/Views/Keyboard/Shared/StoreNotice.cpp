#include "Views/Keyboard/Shared/StoreNotice.h"

#include <QResizeEvent>
#include <utility>

namespace keyloom {

StoreNotice::StoreNotice(QWidget* parent) : QLabel(parent) {
    setObjectName(QStringLiteral("storeNotice"));
    setWordWrap(true);
    setTextFormat(Qt::PlainText);  // a file name is shown as it is
    setTextInteractionFlags(Qt::TextSelectableByMouse);
    setAlignment(Qt::AlignLeft | Qt::AlignVCenter);
    setStyleSheet(
        QStringLiteral("QLabel#storeNotice { background: #fff3cd; color: #5c4400; border: 1px solid #e0b252;"
                       " border-radius: 4px; padding: 0px 8px; }"));
    fullPointSize_ = font().pointSizeF();
    hide();
}

void StoreNotice::resizeEvent(QResizeEvent* event) {
    QLabel::resizeEvent(event);
    fitText();
}

void StoreNotice::fitText() {
    QFont f = font();
    f.setPointSizeF(fullPointSize_);
    setFont(f);
    while (heightForWidth(width()) > height() && f.pointSizeF() > fullPointSize_ * 0.7) {
        f.setPointSizeF(f.pointSizeF() * 0.93);
        setFont(f);
    }
}

void StoreNotice::storeReported(StoreFailure why, IfNotStored ifNotStored) {
    if (opening_) {
        if (seenAtOpening_ == StoreFailure::None) seenAtOpening_ = why;
        return;
    }
    say(storeFailureNotice(why, ifNotStored));
}

void StoreNotice::editorOpening() {
    opening_ = true;
    seenAtOpening_ = StoreFailure::None;
}

void StoreNotice::editorOpened(const ProfileSQLite& store) {
    opening_ = false;
    // The user changed nothing yet: never "Your change".
    say(openingNotice(store, std::exchange(seenAtOpening_, StoreFailure::None)));
}

void StoreNotice::say(const std::string& text) {
    if (text.empty()) {
        hide();
        return;
    }
    setText(QString::fromStdString(text));
    fitText();
    show();
    raise();  // over the tab's panel
}

}  // namespace keyloom
