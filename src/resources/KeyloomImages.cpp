#include "resources/KeyloomImages.h"

#include <QGuiApplication>
#include <QHash>
#include <QPainter>
#include <QPainterPath>
#include <QPalette>
#include <functional>

#include "resources/EditorIcons.h"
#include "resources/KeyboardPictures.h"
#include "resources/LightModeIcons.h"

namespace keyloom {

namespace {

const QColor kBody(0x1d, 0x1f, 0x24);
const QColor kAccent(0xff, 0x7a, 0x1a);

QPixmap canvas(int w, int h) {
    QPixmap pm(w, h);
    pm.fill(Qt::transparent);
    return pm;
}

// Picker and badge glyphs are drawn in the palette's text colour on the window, so they keep the contrast the theme
// gives its text. States differ in form, never in a paler colour: a kind of device with nothing there has a dashed
// outline; whether a page is the one shown is marked by its button (pickerMarkColor()).
struct Inks {
    QColor ink;
    QColor ground;
};

Inks inks() {
    const QPalette palette = QGuiApplication::palette();
    return {palette.color(QPalette::WindowText), palette.color(QPalette::Window)};
}

// Battery levels in colours that reach 3:1 on light and dark window colours alike.
const QColor kLevelGood(0x2e, 0x8b, 0x57);
const QColor kLevelLow(0xe0, 0x44, 0x3e);

QPen outlinePen(const QColor& ink, qreal width, bool present) {
    QPen pen(ink, width, present ? Qt::SolidLine : Qt::DashLine, Qt::FlatCap, Qt::MiterJoin);
    if (!present) pen.setDashPattern({2.0, 1.5});
    return pen;
}

// A keyboard: outline with keys; with nothing there, the dashed outline alone. A model's tag stands above it.
QPixmap drawSmallKeyboard(bool present, const QString& tag) {
    const Inks c = inks();
    QPixmap pm = canvas(96, 64);
    QPainter p(&pm);
    p.setRenderHint(QPainter::Antialiasing);
    p.setPen(outlinePen(c.ink, 2, present));
    p.setBrush(Qt::NoBrush);
    p.drawRoundedRect(QRectF(7, 17, 82, 40), 5, 5);
    if (present) {
        p.setPen(Qt::NoPen);
        p.setBrush(c.ink);
        for (int row = 0; row < 3; ++row)
            for (int col = 0; col < 8; ++col) p.drawRect(QRectF(12 + col * 9, 22 + row * 8, 6, 5));
        p.drawRect(QRectF(30, 46, 36, 5));
    }
    if (!tag.isEmpty()) {
        p.setPen(c.ink);
        QFont f = p.font();
        f.setPixelSize(11);
        f.setBold(true);
        p.setFont(f);
        p.drawText(QRectF(0, 0, 96, 15), Qt::AlignCenter, tag);
    }
    return pm;
}

QPixmap drawMouse(int size, bool present) {
    const Inks c = inks();
    QPixmap pm = canvas(size, size);
    QPainter p(&pm);
    p.setRenderHint(QPainter::Antialiasing);
    p.setPen(outlinePen(c.ink, std::max(2, size / 30), present));
    p.setBrush(Qt::NoBrush);
    const QRectF body(size * 0.3, size * 0.12, size * 0.4, size * 0.76);
    p.drawRoundedRect(body, size * 0.2, size * 0.2);
    if (present) p.drawLine(QPointF(size * 0.5, size * 0.12), QPointF(size * 0.5, size * 0.4));
    return pm;
}

QPixmap drawMousePad(int w, int h, bool present) {
    const Inks c = inks();
    QPixmap pm = canvas(w, h);
    QPainter p(&pm);
    p.setRenderHint(QPainter::Antialiasing);
    p.setPen(outlinePen(c.ink, std::max(2, w / 40), present));
    p.setBrush(Qt::NoBrush);
    p.drawRoundedRect(QRectF(w * 0.08, h * 0.25, w * 0.84, h * 0.5), 8, 8);
    return pm;
}

// Battery level icon: the outline, and the filled share of the cell; charging: full, with a bolt cut out.
QPixmap drawBattery(int percent, bool charging) {
    const Inks c = inks();
    QPixmap pm = canvas(40, 20);
    QPainter p(&pm);
    p.setRenderHint(QPainter::Antialiasing);
    p.setPen(QPen(c.ink, 2));
    p.setBrush(Qt::NoBrush);
    p.drawRoundedRect(QRectF(2, 3, 32, 14), 3, 3);
    p.setPen(Qt::NoPen);
    p.setBrush(c.ink);
    p.drawRect(QRectF(35, 7, 3, 6));
    const int level = charging ? 100 : std::clamp(percent, 0, 100);
    p.setBrush(charging || percent > 20 ? kLevelGood : kLevelLow);
    p.drawRect(QRectF(5, 6, 26.0 * level / 100.0, 8));
    if (charging) {
        QPainterPath bolt;
        bolt.moveTo(20, 5);
        bolt.lineTo(14, 11);
        bolt.lineTo(18, 11);
        bolt.lineTo(16, 15);
        bolt.lineTo(22, 9);
        bolt.lineTo(18, 9);
        bolt.closeSubpath();
        p.setBrush(c.ground);
        p.drawPath(bolt);
    }
    return pm;
}

QPixmap drawLinkIcon(bool bluetooth) {
    const Inks c = inks();
    QPixmap pm = canvas(bluetooth ? 20 : 30, 20);
    QPainter p(&pm);
    p.setRenderHint(QPainter::Antialiasing);
    p.setPen(QPen(c.ink, 2, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
    if (bluetooth) {
        p.drawPolyline(QPolygonF(
            {QPointF(5, 6), QPointF(15, 14), QPointF(10, 18), QPointF(10, 2), QPointF(15, 6), QPointF(5, 14)}));
    } else {
        QFont f = p.font();
        f.setPixelSize(11);
        f.setBold(true);
        p.setFont(f);
        p.drawText(QRectF(0, 0, 30, 20), Qt::AlignCenter, QStringLiteral("2.4G"));
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
        addKnobButtonImages(t);
        t.insert("big_mouse", [] { return drawMouse(220, true); });
        t.insert("big_mousepad", [] { return drawMousePad(360, 220, true); });
        // "_check" and plain names look alike: the table of the keyboard button uses both for either state.
        t.insert("img_kb", [] { return drawSmallKeyboard(true, {}); });
        t.insert("img_kb_check", [] { return drawSmallKeyboard(true, {}); });
        t.insert("img_kb_none", [] { return drawSmallKeyboard(false, {}); });
        t.insert("img_mouse_check", [] { return drawMouse(64, true); });
        t.insert("img_mouse_none", [] { return drawMouse(64, false); });
        t.insert("img_mousepad_check", [] { return drawMousePad(96, 64, true); });
        t.insert("img_mousepad_none", [] { return drawMousePad(96, 64, false); });
        const struct {
            const char* base;
            const char* tag;
        } models[] = {{"kb_marrowinv2_pro", "V2 PRO"}, {"img_ostrel_pro", "OSTREL"},  {"img_ostrel_te", "OSTREL TE"},
                      {"img_vindle", "VINDLE"},        {"img_te_tolmekv2", "TOLMEK"}, {"img_marrowinv2", "V2"}};
        for (const auto& m : models) {
            const QString tag = QString::fromLatin1(m.tag);
            t.insert(QString::fromLatin1(m.base), [tag] { return drawSmallKeyboard(true, tag); });
            t.insert(QString::fromLatin1(m.base) + "_check", [tag] { return drawSmallKeyboard(true, tag); });
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
    // Glyphs take the palette's colours: another palette draws them anew.
    const QString key = name + QLatin1Char('|') + QString::number(QGuiApplication::palette().cacheKey());
    if (auto it = cache.constFind(key); it != cache.constEnd()) return *it;
    auto painter = painters().constFind(name);
    if (painter == painters().constEnd()) return {};
    QPixmap pm = (*painter)();
    cache.insert(key, pm);
    return pm;
}

QColor pickerMarkColor() {
    return QColor(0xd3, 0x54, 0x00);
}

}  // namespace keyloom
