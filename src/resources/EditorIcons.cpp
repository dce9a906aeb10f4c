#include "resources/EditorIcons.h"

#include <QPainter>
#include <QPainterPath>
#include <cmath>

namespace keyloom {

namespace {

const QColor kPlain(0x8a, 0x8d, 0x94);
const QColor kChecked(0xff, 0x7a, 0x1a);
constexpr int kSize = 32;

enum class Icon { CustomKey, Knob, Lighting, Settings };

QPixmap drawIcon(Icon icon, bool checked) {
    QPixmap pm(kSize, kSize);
    pm.fill(Qt::transparent);
    QPainter p(&pm);
    p.setRenderHint(QPainter::Antialiasing);
    const QColor c = checked ? kChecked : kPlain;
    p.setPen(QPen(c, 2.2, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
    p.setBrush(Qt::NoBrush);
    switch (icon) {
        case Icon::CustomKey:  // a key cap with a pointer arrow on it
            p.drawRoundedRect(QRectF(5, 5, 22, 22), 4, 4);
            p.drawRoundedRect(QRectF(9, 8, 14, 13), 2, 2);
            p.drawLine(QPointF(13, 17), QPointF(19, 12));
            p.drawPolyline(QPolygonF({QPointF(15, 12), QPointF(19, 12), QPointF(19, 16)}));
            break;
        case Icon::Knob:  // a knob with its mark and the turn arrows
            p.drawEllipse(QPointF(16, 16), 8, 8);
            p.drawLine(QPointF(16, 10), QPointF(16, 14));
            p.drawArc(QRectF(3, 3, 26, 26), 200 * 16, 50 * 16);
            p.drawArc(QRectF(3, 3, 26, 26), -70 * 16, 50 * 16);
            break;
        case Icon::Lighting:  // a light with its rays
            p.drawEllipse(QPointF(16, 16), 5.5, 5.5);
            for (int i = 0; i < 8; ++i) {
                const double a = i * M_PI / 4;
                p.drawLine(QPointF(16 + 9 * std::cos(a), 16 + 9 * std::sin(a)),
                           QPointF(16 + 13 * std::cos(a), 16 + 13 * std::sin(a)));
            }
            break;
        case Icon::Settings: {  // a gear
            QPainterPath gear;
            for (int i = 0; i < 16; ++i) {
                const double a = i * M_PI / 8;
                const double r = (i % 2 == 0) ? 12.5 : 9.5;
                const QPointF pt(16 + r * std::cos(a), 16 + r * std::sin(a));
                i == 0 ? gear.moveTo(pt) : gear.lineTo(pt);
            }
            gear.closeSubpath();
            p.drawPath(gear);
            p.drawEllipse(QPointF(16, 16), 4, 4);
            break;
        }
    }
    return pm;
}

}  // namespace

void addEditorIcons(QHash<QString, std::function<QPixmap()>>& table) {
    const struct {
        const char* name;
        Icon icon;
    } icons[] = {{"icon_menu_customkey", Icon::CustomKey},
                 {"icon_menu_knob", Icon::Knob},
                 {"icon_menu_radi", Icon::Lighting},
                 {"icon_menu_set", Icon::Settings}};
    for (const auto& i : icons) {
        const QString name = QString::fromLatin1(i.name);
        const Icon icon = i.icon;
        table.insert(name, [icon] { return drawIcon(icon, false); });
        table.insert(name + "_check", [icon] { return drawIcon(icon, true); });
    }
}

}  // namespace keyloom
