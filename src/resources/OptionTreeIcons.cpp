#include <QGuiApplication>
#include <QPainter>
#include <QPainterPath>

#include "resources/ImagePainter.h"

namespace keyloom {

namespace {

// Orange strokes read on the light and the dark palette alike.
const QColor kStroke(0xff, 0x7a, 0x1a);
constexpr int kSize = 20;

QPixmap icon(const std::function<void(QPainter&)>& draw) {
    QPixmap pm = transparentPixmap(QSize(kSize, kSize));
    QPainter p(&pm);
    p.setRenderHint(QPainter::Antialiasing);
    p.setPen(QPen(kStroke, 1.8, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
    p.setBrush(Qt::NoBrush);
    draw(p);
    return pm;
}

// A circular arrow: back to the key's own function.
void drawDefault(QPainter& p) {
    p.drawArc(QRectF(3, 3, 14, 14), 100 * 16, 290 * 16);
    p.setBrush(kStroke);
    p.drawPolygon(QPolygonF({QPointF(8.5, 1.5), QPointF(12, 4.2), QPointF(8.2, 6.4)}));
}

// A struck-through circle: the key does nothing.
void drawDisable(QPainter& p) {
    p.drawEllipse(QRectF(3, 3, 14, 14));
    p.drawLine(QPointF(5.5, 14.5), QPointF(14.5, 5.5));
}

void drawKeyboard(QPainter& p) {
    p.drawRoundedRect(QRectF(1.5, 5, 17, 10), 2, 2);
    p.setPen(QPen(kStroke, 1.4, Qt::SolidLine, Qt::RoundCap));
    for (int i = 0; i < 4; ++i) p.drawPoint(QPointF(5 + i * 3.3, 8.3));
    p.drawLine(QPointF(6, 11.8), QPointF(14, 11.8));
}

// Three lines of recorded steps.
void drawMacro(QPainter& p) {
    for (int i = 0; i < 3; ++i) {
        p.drawPoint(QPointF(3.5, 5 + i * 5));
        p.drawLine(QPointF(7, 5 + i * 5), QPointF(17, 5 + i * 5));
    }
}

void drawMouse(QPainter& p) {
    p.drawRoundedRect(QRectF(5, 2, 10, 16), 5, 5);
    p.drawLine(QPointF(10, 2.5), QPointF(10, 8));
}

// A note: play, pause and volume.
void drawMultimedia(QPainter& p) {
    p.drawLine(QPointF(8, 14.5), QPointF(8, 3.5));
    p.drawLine(QPointF(8, 3.5), QPointF(16, 2));
    p.drawLine(QPointF(16, 2), QPointF(16, 13));
    p.setBrush(kStroke);
    p.drawEllipse(QRectF(3.5, 12.5, 4.5, 4));
    p.drawEllipse(QRectF(11.5, 11, 4.5, 4));
}

// The command-key loop sign.
void drawMac(QPainter& p) {
    QPainterPath path;
    path.addEllipse(QRectF(3, 3, 4.5, 4.5));
    path.addEllipse(QRectF(12.5, 3, 4.5, 4.5));
    path.addEllipse(QRectF(3, 12.5, 4.5, 4.5));
    path.addEllipse(QRectF(12.5, 12.5, 4.5, 4.5));
    p.drawPath(path);
    p.drawRect(QRectF(7.5, 7.5, 5, 5));
}

}  // namespace

void addOptionTreeIcons(QHash<QString, ImagePainter>& table) {
    const struct {
        const char* name;
        void (*draw)(QPainter&);
    } icons[] = {
        {"icon_custom_default", drawDefault},   {"icon_custom_disable", drawDisable},
        {"icon_custom_keyboard", drawKeyboard}, {"icon_custom_macro", drawMacro},
        {"icon_custom_mouse", drawMouse},       {"icon_custom_multimedia", drawMultimedia},
        {"icon_custom_mac", drawMac},
    };
    for (const auto& i : icons) {
        auto draw = i.draw;
        table.insert(QString::fromLatin1(i.name), [draw] { return icon(draw); });
    }
}

}  // namespace keyloom
