#include "resources/KeyloomImages.h"

#include <QHash>
#include <QPainter>
#include <QPainterPath>
#include <functional>

#include "resources/EditorIcons.h"
#include "resources/KeyboardPictures.h"
#include "resources/LightModeIcons.h"

namespace keyloom {

namespace {

const QColor kBody(0x1d, 0x1f, 0x24);
const QColor kCap(0xe8, 0xe8, 0xea);
const QColor kAccent(0xff, 0x7a, 0x1a);
const QColor kMuted(0x8a, 0x8d, 0x94);

QPixmap canvas(int w, int h) {
    QPixmap pm(w, h);
    pm.fill(Qt::transparent);
    return pm;
}

QPixmap drawSmallKeyboard(bool selected, bool enabled, const QString& tag) {
    QPixmap pm = canvas(96, 64);
    QPainter p(&pm);
    p.setRenderHint(QPainter::Antialiasing);
    p.setPen(QPen(selected ? kAccent : (enabled ? kCap : kMuted), 3));
    p.setBrush(Qt::NoBrush);
    p.drawRoundedRect(QRectF(8, 16, 80, 36), 6, 6);
    p.setPen(Qt::NoPen);
    p.setBrush(selected ? kAccent : (enabled ? kCap : kMuted));
    for (int row = 0; row < 3; ++row)
        for (int col = 0; col < 7; ++col) p.drawRect(QRectF(14 + col * 10, 21 + row * 9, 7, 6));
    if (!tag.isEmpty()) {
        p.setPen(selected ? kAccent : kCap);
        QFont f = p.font();
        f.setPixelSize(10);
        p.setFont(f);
        p.drawText(QRectF(0, 0, 96, 14), Qt::AlignCenter, tag);
    }
    return pm;
}

QPixmap drawMouse(int size, bool selected, bool enabled) {
    QPixmap pm = canvas(size, size);
    QPainter p(&pm);
    p.setRenderHint(QPainter::Antialiasing);
    const QColor c = selected ? kAccent : (enabled ? kCap : kMuted);
    p.setPen(QPen(c, std::max(2, size / 30)));
    p.setBrush(Qt::NoBrush);
    const QRectF body(size * 0.3, size * 0.12, size * 0.4, size * 0.76);
    p.drawRoundedRect(body, size * 0.2, size * 0.2);
    p.drawLine(QPointF(size * 0.5, size * 0.12), QPointF(size * 0.5, size * 0.4));
    return pm;
}

QPixmap drawMousePad(int w, int h, bool selected, bool enabled) {
    QPixmap pm = canvas(w, h);
    QPainter p(&pm);
    p.setRenderHint(QPainter::Antialiasing);
    const QColor c = selected ? kAccent : (enabled ? kCap : kMuted);
    p.setPen(QPen(c, std::max(2, w / 40)));
    p.setBrush(Qt::NoBrush);
    p.drawRoundedRect(QRectF(w * 0.08, h * 0.25, w * 0.84, h * 0.5), 8, 8);
    return pm;
}

// Battery level icon: the filled share of the cell.
QPixmap drawBattery(int percent, bool charging) {
    QPixmap pm = canvas(40, 20);
    QPainter p(&pm);
    p.setRenderHint(QPainter::Antialiasing);
    p.setPen(QPen(kCap, 2));
    p.setBrush(Qt::NoBrush);
    p.drawRoundedRect(QRectF(2, 3, 32, 14), 3, 3);
    p.setPen(Qt::NoPen);
    p.setBrush(kCap);
    p.drawRect(QRectF(35, 7, 3, 6));
    const QColor fill = percent <= 20 ? QColor(0xe0, 0x40, 0x40) : QColor(0x50, 0xc8, 0x78);
    p.setBrush(charging ? QColor(0x50, 0xc8, 0x78) : fill);
    p.drawRect(QRectF(5, 6, 26.0 * std::clamp(percent, 0, 100) / 100.0, 8));
    if (charging) {
        QPainterPath bolt;
        bolt.moveTo(20, 4);
        bolt.lineTo(14, 11);
        bolt.lineTo(18, 11);
        bolt.lineTo(16, 17);
        bolt.lineTo(23, 9);
        bolt.lineTo(19, 9);
        bolt.closeSubpath();
        p.setBrush(Qt::white);
        p.drawPath(bolt);
    }
    return pm;
}

QPixmap drawLinkIcon(bool bluetooth) {
    QPixmap pm = canvas(20, 20);
    QPainter p(&pm);
    p.setRenderHint(QPainter::Antialiasing);
    p.setPen(QPen(kCap, 2, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
    if (bluetooth) {
        p.drawPolyline(QPolygonF(
            {QPointF(5, 6), QPointF(15, 14), QPointF(10, 18), QPointF(10, 2), QPointF(15, 6), QPointF(5, 14)}));
    } else {
        QFont f = p.font();
        f.setPixelSize(8);
        f.setBold(true);
        p.setFont(f);
        p.drawText(QRectF(0, 0, 20, 20), Qt::AlignCenter, QStringLiteral("2.4G"));
    }
    return pm;
}

QPixmap drawTrayIcon() {
    QPixmap pm = canvas(32, 32);
    QPainter p(&pm);
    p.setRenderHint(QPainter::Antialiasing);
    p.setPen(Qt::NoPen);
    p.setBrush(kBody);
    p.drawRoundedRect(QRectF(1, 8, 30, 18), 4, 4);
    p.setPen(QPen(kAccent, 3, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
    p.drawPolyline(QPolygonF({QPointF(9, 12), QPointF(16, 21), QPointF(23, 12)}));
    return pm;
}

using Painter = ImagePainter;

const QHash<QString, Painter>& painters() {
    static const QHash<QString, Painter> table = [] {
        QHash<QString, Painter> t;
        t.insert("velkor-bar", drawTrayIcon);
        addKeyboardPictures(t);
        addOptionTreeIcons(t);
        t.insert("big_mouse", [] { return drawMouse(220, false, true); });
        t.insert("big_mousepad", [] { return drawMousePad(360, 220, false, true); });
        t.insert("img_kb", [] { return drawSmallKeyboard(false, true, {}); });
        t.insert("img_kb_check", [] { return drawSmallKeyboard(true, true, {}); });
        t.insert("img_kb_none", [] { return drawSmallKeyboard(false, false, {}); });
        t.insert("img_mouse_check", [] { return drawMouse(64, true, true); });
        t.insert("img_mouse_none", [] { return drawMouse(64, false, false); });
        t.insert("img_mousepad_check", [] { return drawMousePad(96, 64, true, true); });
        t.insert("img_mousepad_none", [] { return drawMousePad(96, 64, false, false); });
        const struct {
            const char* base;
            const char* tag;
        } models[] = {{"kb_marrowinv2_pro", "V2 PRO"}, {"img_ostrel_pro", "OSTREL"},  {"img_ostrel_te", "OSTREL TE"},
                      {"img_vindle", "VINDLE"},        {"img_te_tolmekv2", "TOLMEK"}, {"img_marrowinv2", "V2"}};
        for (const auto& m : models) {
            const QString tag = QString::fromLatin1(m.tag);
            t.insert(QString::fromLatin1(m.base), [tag] { return drawSmallKeyboard(false, true, tag); });
            t.insert(QString::fromLatin1(m.base) + "_check", [tag] { return drawSmallKeyboard(true, true, tag); });
        }
        for (int level : {0, 20, 40, 60, 80, 100})
            t.insert(QStringLiteral("icon_battery_%1").arg(level), [level] { return drawBattery(level, false); });
        t.insert("icon_battery_charging", [] { return drawBattery(100, true); });
        t.insert("icon_battery_bluetooth", [] { return drawLinkIcon(true); });
        t.insert("icon_battery_24ghz", [] { return drawLinkIcon(false); });
        addEditorIcons(t);
        addLightModeIcons(t);
        return t;
    }();
    return table;
}

}  // namespace

bool hasKeyloomImage(const QString& name) {
    return painters().contains(name);
}

QPixmap keyloomImage(const QString& name) {
    static QHash<QString, QPixmap> cache;
    if (auto it = cache.constFind(name); it != cache.constEnd()) return *it;
    auto painter = painters().constFind(name);
    if (painter == painters().constEnd()) return {};
    QPixmap pm = (*painter)();
    cache.insert(name, pm);
    return pm;
}

}  // namespace keyloom
