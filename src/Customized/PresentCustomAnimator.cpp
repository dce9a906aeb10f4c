#include "Customized/PresentCustomAnimator.h"

#include <QEvent>
#include <QGraphicsOpacityEffect>
#include <QPalette>
#include <QPropertyAnimation>
#include <QWidget>

namespace keyloom {

namespace {

QGraphicsOpacityEffect* opacityEffect(QWidget* view) {
    auto* effect = qobject_cast<QGraphicsOpacityEffect*>(view->graphicsEffect());
    if (!effect) {
        effect = new QGraphicsOpacityEffect(view);
        effect->setOpacity(1.0);
        view->setGraphicsEffect(effect);
    }
    return effect;
}

QPropertyAnimation* fade(QGraphicsOpacityEffect* effect, qreal to) {
    auto* animation = new QPropertyAnimation(effect, "opacity", effect);
    animation->setDuration(PresentCustomAnimator::durationMs);
    animation->setStartValue(effect->opacity());
    animation->setEndValue(to);
    animation->start(QAbstractAnimation::DeleteWhenStopped);
    return animation;
}

}  // namespace

void PresentCustomAnimator::animatePresentation(QWidget* presented, QWidget* presenting) {
    if (!presented || !presenting) return;
    presented_ = presented;
    opacityEffect(presented)->setOpacity(0.0);
    presented->setParent(presenting);
    presented->setGeometry(presenting->rect());
    presenting->installEventFilter(this);
    presented->setAutoFillBackground(true);
    QPalette palette = presented->palette();
    palette.setColor(QPalette::Window, QColor(128, 128, 128));  // the standard 50 % grey
    presented->setPalette(palette);
    presented->raise();
    presented->show();
    QPropertyAnimation* animation = fade(opacityEffect(presented), 1.0);
    // Opaque, the view needs no effect any more; effects nested in effects (a screen presented over one still
    // carrying its own) do not paint.
    connect(animation, &QPropertyAnimation::finished, presented, [this, presented] {
        if (!dismissing_) presented->setGraphicsEffect(nullptr);
    });
}

void PresentCustomAnimator::animateDismissal(QWidget* presented, QWidget* /*presenting*/) {
    if (!presented || dismissing_) return;
    dismissing_ = true;
    // Nothing on a screen that is leaving may be used any more.
    presented->setEnabled(false);
    QPropertyAnimation* animation = fade(opacityEffect(presented), 0.0);
    connect(animation, &QPropertyAnimation::finished, presented, [presented] {
        presented->hide();
        presented->deleteLater();
    });
}

bool PresentCustomAnimator::eventFilter(QObject* watched, QEvent* event) {
    if (event->type() == QEvent::Resize && presented_ && watched == presented_->parentWidget())
        presented_->setGeometry(presented_->parentWidget()->rect());
    return QObject::eventFilter(watched, event);
}

void presentViewController(QWidget* presenting, QWidget* presented) {
    if (!presenting || !presented) return;
    // Kept by the presented view, so that its dismissal uses the animator of its presentation.
    auto* animator = new PresentCustomAnimator(presented);
    animator->setObjectName(QStringLiteral("presentationAnimator"));
    animator->animatePresentation(presented, presenting);
}

bool dismissViewController(QWidget* presented) {
    if (!presented) return false;
    auto* animator = presented->findChild<PresentCustomAnimator*>(QString(), Qt::FindDirectChildrenOnly);
    if (!animator) return false;
    animator->animateDismissal(presented, presented->parentWidget());
    return true;
}

qreal presentedOpacity(const QWidget* view) {
    const auto* effect = view ? qobject_cast<const QGraphicsOpacityEffect*>(view->graphicsEffect()) : nullptr;
    return effect ? effect->opacity() : 1.0;
}

bool isPresentedViewController(const QWidget* view) {
    return view && view->findChild<PresentCustomAnimator*>(QString(), Qt::FindDirectChildrenOnly);
}

}  // namespace keyloom
