#include <QGuiApplication>
#include <QPainter>
#include <QPalette>

#include "resources/ImagePainter.h"

namespace keyloom {

namespace {

const QColor kAccent(0xff, 0x7a, 0x1a);
constexpr int kSize = 64;

enum class KnobState { Normal, Down, Check };

// A knob seen from above: its rim, its grip and the pointer mark. Normal: in the text colour; the chosen action
// (down): an orange rim on an orange tint; an action with a stored function (check): orange, with a check mark.
QPixmap drawKnobButton(KnobState state) {
    QPixmap pm = transparentPixmap(QSize(kSize, kSize));
    QPainter p(&pm);
    p.setRenderHint(QPainter::Antialiasing);
    const QColor ink = qGuiApp ? QGuiApplication::palette().color(QPalette::WindowText) : QColor(Qt::black);
    const QColor line = state == KnobState::Normal ? ink : kAccent;
    QColor tint = kAccent;
    tint.setAlpha(state == KnobState::Down ? 60 : 0);
    p.setPen(QPen(line, 3));
    p.setBrush(state == KnobState::Check ? QBrush(kAccent) : QBrush(tint));
    p.drawEllipse(QPointF(32, 32), 28, 28);
    const QColor mark = state == KnobState::Check ? QColor(Qt::white) : line;
    p.setBrush(Qt::NoBrush);
    p.setPen(QPen(mark, 2));
    p.drawEllipse(QPointF(32, 32), 19, 19);
    if (state == KnobState::Check) {
        p.setPen(QPen(mark, 4.5, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
        p.drawPolyline(QPolygonF({QPointF(23, 33), QPointF(30, 40), QPointF(42, 25)}));
    } else {
        p.setPen(QPen(mark, 4, Qt::SolidLine, Qt::RoundCap));
        p.drawLine(QPointF(32, 17), QPointF(32, 26));
    }
    return pm;
}

}  // namespace

void addKnobButtonImages(QHash<QString, ImagePainter>& table) {
    table.insert("img_knobbutton_normal", [] { return drawKnobButton(KnobState::Normal); });
    table.insert("img_knobbutton_down", [] { return drawKnobButton(KnobState::Down); });
    table.insert("img_knobbutton_check", [] { return drawKnobButton(KnobState::Check); });
}

}  // namespace keyloom
