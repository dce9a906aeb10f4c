#include "resources/LightModeIcons.h"

#include <QPainter>
#include <QPainterPath>
#include <cmath>

namespace keyloom {

namespace {

constexpr int kSize = 24;
const QColor kInk(0x4a, 0x4d, 0x55);
const QColor kWarm(0xff, 0x7a, 0x1a);

enum class Icon { Static, Spectrum, Rainbow, PowerGauge, Breathing, TwinklingStars, Reactive, Marquee, Aurora, Custom };

QColor hue(int step, int steps) {
    return QColor::fromHsv(step * 300 / std::max(1, steps - 1), 220, 240);
}

void star(QPainter& p, QPointF c, double r) {
    QPainterPath path;
    for (int i = 0; i < 8; ++i) {
        const double a = i * M_PI / 4 - M_PI / 2;
        const double len = i % 2 == 0 ? r : r * 0.35;
        const QPointF pt(c.x() + len * std::cos(a), c.y() + len * std::sin(a));
        i == 0 ? path.moveTo(pt) : path.lineTo(pt);
    }
    path.closeSubpath();
    p.drawPath(path);
}

QPixmap drawIcon(Icon icon) {
    QPixmap pm(kSize, kSize);
    pm.fill(Qt::transparent);
    QPainter p(&pm);
    p.setRenderHint(QPainter::Antialiasing);
    p.setPen(Qt::NoPen);
    switch (icon) {
        case Icon::Static:  // one steady light
            p.setBrush(kWarm);
            p.drawEllipse(QPointF(12, 12), 7, 7);
            break;
        case Icon::Spectrum:  // the colours side by side
            for (int i = 0; i < 5; ++i) {
                p.setBrush(hue(i, 5));
                p.drawRoundedRect(QRectF(2 + i * 4.2, 4, 3.4, 16), 1, 1);
            }
            break;
        case Icon::Rainbow:  // arcs of colour
            p.setBrush(Qt::NoBrush);
            for (int i = 0; i < 4; ++i) {
                p.setPen(QPen(hue(i, 4), 2.2));
                const double r = 10 - i * 2.6;
                p.drawArc(QRectF(12 - r, 17 - r, 2 * r, 2 * r), 0, 180 * 16);
            }
            break;
        case Icon::PowerGauge:  // rising bars
            for (int i = 0; i < 4; ++i) {
                p.setBrush(i < 3 ? kWarm : kInk);
                const double h = 5 + i * 4.5;
                p.drawRect(QRectF(3 + i * 5, 21 - h, 3.5, h));
            }
            break;
        case Icon::Breathing:  // a light and its fading halo
            for (int i = 3; i >= 0; --i) {
                QColor c = kWarm;
                c.setAlphaF(1.0 - i * 0.25);
                p.setBrush(c);
                p.drawEllipse(QPointF(12, 12), 3 + i * 2.5, 3 + i * 2.5);
            }
            break;
        case Icon::TwinklingStars:  // scattered sparkles
            p.setBrush(kWarm);
            star(p, QPointF(8, 9), 6);
            star(p, QPointF(17, 15), 5);
            p.setBrush(kInk);
            star(p, QPointF(17, 5), 3);
            star(p, QPointF(6, 19), 3);
            break;
        case Icon::Reactive:  // a key and the ripple of a press
            p.setPen(QPen(kWarm, 1.6));
            p.setBrush(Qt::NoBrush);
            p.drawEllipse(QPointF(12, 12), 10, 10);
            p.setPen(Qt::NoPen);
            p.setBrush(kInk);
            p.drawRoundedRect(QRectF(7, 7, 10, 10), 2, 2);
            break;
        case Icon::Marquee:  // lights running along a row
            for (int i = 0; i < 5; ++i) {
                p.setBrush(i == 3 ? kWarm : kInk);
                p.drawEllipse(QPointF(3 + i * 4.5, 12), 1.8, 1.8);
            }
            p.setPen(QPen(kWarm, 1.6));
            p.drawLine(QPointF(4, 18), QPointF(20, 18));
            p.drawLine(QPointF(20, 18), QPointF(17, 15.5));
            break;
        case Icon::Aurora:  // waves of colour
            p.setBrush(Qt::NoBrush);
            for (int i = 0; i < 3; ++i) {
                p.setPen(QPen(hue(i + 1, 5), 2));
                QPainterPath wave(QPointF(2, 8 + i * 5));
                wave.cubicTo(QPointF(8, 3 + i * 5), QPointF(14, 13 + i * 5), QPointF(22, 8 + i * 5));
                p.drawPath(wave);
            }
            break;
        case Icon::Custom:  // keys of their own colours
            for (int i = 0; i < 4; ++i) {
                p.setBrush(hue(i, 4));
                p.drawRoundedRect(QRectF(3 + (i % 2) * 10, 3 + (i / 2) * 10, 8, 8), 1.5, 1.5);
            }
            break;
    }
    return pm;
}

}  // namespace

void addLightModeIcons(QHash<QString, std::function<QPixmap()>>& table) {
    const struct {
        const char* name;
        Icon icon;
    } icons[] = {
        {"icon_light_static", Icon::Static},       {"icon_light_spectrum", Icon::Spectrum},
        {"icon_light_rainbow", Icon::Rainbow},     {"icon_light_powergauge", Icon::PowerGauge},
        {"icon_light_breathing", Icon::Breathing}, {"icon_light_twinklingstars", Icon::TwinklingStars},
        {"icon_light_reactive", Icon::Reactive},   {"icon_light_marquee", Icon::Marquee},
        {"icon_light_aurora", Icon::Aurora},       {"icon_light_custom", Icon::Custom},
    };
    for (const auto& i : icons) {
        const Icon icon = i.icon;
        table.insert(QString::fromLatin1(i.name), [icon] { return drawIcon(icon); });
    }
}

}  // namespace keyloom
