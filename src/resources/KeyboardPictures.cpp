#include "resources/KeyboardPictures.h"

#include <QGuiApplication>
#include <QHash>
#include <QPainter>
#include <QPainterPath>
#include <QRegularExpression>
#include <algorithm>
#include <cmath>
#include <optional>

#include "Views/Keyboard/KeyLayout/KeyModels.h"
#include "Views/Keyboard/KeyLayout/KeyPlacement.h"
#include "resources/ImagePainter.h"
#include "resources/KeyloomImages.h"

namespace keyloom {

namespace {

const QColor kBody(0x1d, 0x1f, 0x24);
const QColor kRim(0x5c, 0x60, 0x69);
const QColor kLegendDark(0x16, 0x17, 0x1a);
const QColor kLegendLight(0xff, 0xff, 0xff);
const QColor kTag(0x9a, 0x9d, 0xa4);
const QColor kCap(0xe8, 0xe8, 0xea);
const QColor kAccent(0xff, 0x7a, 0x1a);

QRectF toRectF(const CapRect& r) {
    return QRectF(double(r.x), double(r.y), double(r.width), double(r.height));
}

// The foot of an ISO Enter: when the row below the "enter" cap stops short of the cap's right edge, the cap reaches
// down over that row as far as the cap's right edge.
std::optional<CapExtension> isoEnterFoot(const std::vector<PlacedCap>& caps) {
    auto enter = std::find_if(caps.begin(), caps.end(), [](const PlacedCap& c) { return c.keyname == "enter"; });
    if (enter == caps.end()) return std::nullopt;
    const QRectF e = toRectF(enter->rect);
    // The nearest row below the cap.
    std::optional<double> belowY;
    for (const PlacedCap& c : caps) {
        if (double(c.rect.y) < e.y() && (!belowY || double(c.rect.y) > *belowY)) belowY = double(c.rect.y);
    }
    if (!belowY) return std::nullopt;
    std::optional<double> coveredTo;
    for (const PlacedCap& c : caps) {
        const QRectF r = toRectF(c.rect);
        if (r.y() != *belowY || r.right() <= e.left() || r.left() >= e.right()) continue;
        coveredTo = std::max(coveredTo.value_or(r.right()), r.right());
    }
    // Nothing under the cap at all, or the row below covers it: no L.
    if (!coveredTo || *coveredTo >= e.right() - 1) return std::nullopt;
    // The same gap before the foot as between the caps of the row.
    const double left = *coveredTo + 1;
    return CapExtension{enter->keyname, QRectF(left, *belowY, e.right() - left, e.y() - *belowY)};
}

struct PhotoSpec {
    KeyModelId model;
    QSize size;
    QString tag;  // the layout variant, written small in a corner of the body
};

const QHash<QString, PhotoSpec>& photoSpecs() {
    static const QHash<QString, PhotoSpec> specs = [] {
        QHash<QString, PhotoSpec> s;
        const QSize standard(698, 256);
        s.insert("img_keyboard_87", {KeyModelId::Quorvath87, standard, {}});
        s.insert("img_keyboard_91", {KeyModelId::Quorvath91, standard, {}});
        for (const char* v : {"de", "es", "fr", "ita", "kr", "uk"})
            s.insert(QStringLiteral("img_keyboard_88") + v, {KeyModelId::Quorvath88, standard, QString(v).toUpper()});
        s.insert("img_keyboard_marrowinv2", {KeyModelId::MarrowinV2_71, standard, {}});
        for (const char* v : {"fr", "de", "ita", "sp", "nd", "uk"})
            s.insert(QStringLiteral("img_keyboard_marrowinv2_") + v,
                     {KeyModelId::MarrowinV2_72, standard, QString(v).toUpper()});
        s.insert("img_keyboard_ostrelpro", {KeyModelId::Ostrel61, standard, {}});
        s.insert("img_keyboard_ostrelte", {KeyModelId::OstrelTE61, standard, {}});
        for (const char* v : {"fr", "de", "it", "sp", "nd", "uk"})
            s.insert(QStringLiteral("img_keyboard_ostrelte62_") + v,
                     {KeyModelId::OstrelTE62, standard, QString(v).toUpper()});
        s.insert("img_keyboard_vindle", {KeyModelId::Vindle68, QSize(669, 220), {}});
        s.insert("img_keyboard_tolmekv2", {KeyModelId::Tolmek84, QSize(700, 286), {}});
        return s;
    }();
    return specs;
}

// The legend of a cap: the key's short name from the model's own map; none when the map has no such key.
QString legendOf(const KeyNameMap& names, const std::string& keyname) {
    const KeyMapRow* row = names.find(keyname);
    return row ? QString::fromStdString(row->short_name) : QString();
}

// The lines of a legend at the largest size (at most maxSize) that fits the width: the map's own line breaks, else
// one line, else two lines split at the last space that lets them fit ("Page Down" on a narrow cap).
struct LegendLayout {
    QStringList lines;
    QFont font;
};

LegendLayout layoutLegend(const QString& text, QFont font, double width, double maxSize) {
    static const QRegularExpression kLineBreak(QStringLiteral("\r?\n"));
    const QStringList given = text.split(kLineBreak, Qt::SkipEmptyParts);
    auto widest = [&](const QStringList& lines) {
        const QFontMetricsF m(font);
        double w = 0;
        for (const QString& l : lines) w = std::max(w, m.horizontalAdvance(l));
        return w;
    };
    // Fits the lines at the largest size from size down to floor; false (at floor) when none fits.
    auto fitted = [&](const QStringList& lines, double size, double floor) {
        for (; size >= floor; size -= 0.5) {
            font.setPixelSize(int(size));
            if (widest(lines) <= width) return true;
        }
        font.setPixelSize(int(floor));
        return false;
    };
    // Smaller pictures (the home screen's) may go a little smaller rather than cut a name.
    const double kSmallest = std::min(7.0, maxSize * 0.72);
    if (given.size() > 1) {
        fitted(given, maxSize * 0.8, kSmallest);
        return {given, font};
    }
    const QString one = given.value(0);
    // Single characters read best large; a name of two words goes on two lines rather than shrink much.
    const double size = one.size() == 1 ? maxSize * 1.25 : maxSize;
    if (fitted({one}, size, one.contains(' ') ? maxSize * 0.85 : kSmallest)) return {{one}, font};
    if (!one.contains(' ')) return {{one}, font};
    const int cut = one.lastIndexOf(' ');
    const QStringList two{one.left(cut), one.mid(cut + 1)};
    fitted(two, maxSize * 0.85, kSmallest);
    return {two, font};
}

double channelLuminance(int value) {
    const double v = value / 255.0;
    return v <= 0.04045 ? v / 12.92 : std::pow((v + 0.055) / 1.055, 2.4);
}

double luminance(const QColor& c) {
    const QColor rgb = c.toRgb();
    return 0.2126 * channelLuminance(rgb.red()) + 0.7152 * channelLuminance(rgb.green()) +
           0.0722 * channelLuminance(rgb.blue());
}

double contrast(const QColor& a, const QColor& b) {
    const double la = luminance(a), lb = luminance(b);
    return (std::max(la, lb) + 0.05) / (std::min(la, lb) + 0.05);
}

// The outline of each cap, one point inside its frame so the body shows between caps; an ISO Enter's outline
// includes its foot.
QPainterPath capOutline(const QRectF& cap, const std::optional<QRectF>& foot, double radius) {
    QPainterPath one;
    one.addRoundedRect(cap.adjusted(1, 1, -1, -1), radius, radius);
    if (foot) {
        QPainterPath lower;
        // Reaching into the cap above makes one outline of the two.
        lower.addRoundedRect(foot->adjusted(1, -4, -1, -1), radius, radius);
        one = one.united(lower);
    }
    return one;
}

double legendSize(const std::vector<PlacedCap>& caps, double scale) {
    int64_t height = 0;
    for (const PlacedCap& cap : caps) height = std::max(height, cap.rect.height);
    return std::min(11.0, height * 0.28) * scale;
}

}  // namespace

QPixmap drawKeyboardPhoto(const std::vector<PlacedCap>& caps, QSize size, const QString& tag) {
    QPixmap pm = transparentPixmap(size);
    const double h = size.height();
    // Picture points have their origin at the bottom left; the image's rows run from the top.
    auto image = [h](const QRectF& r) { return QRectF(r.x(), h - r.y() - r.height(), r.width(), r.height()); };

    QPainter p(&pm);
    p.setRenderHint(QPainter::Antialiasing);
    p.setPen(Qt::NoPen);
    p.setBrush(kBody);
    p.drawRoundedRect(QRectF(QPointF(0, 0), QSizeF(size)).adjusted(1, 1, -1, -1), 12, 12);

    const std::optional<CapExtension> foot = isoEnterFoot(caps);
    QPainterPath windows;
    for (const PlacedCap& cap : caps) {
        const bool isFoot = foot && cap.keyname == foot->keyname;
        windows.addPath(
            capOutline(image(toRectF(cap.rect)), isFoot ? std::optional(image(foot->rect)) : std::nullopt, 3));
    }
    windows.setFillRule(Qt::WindingFill);
    // Each cap is a window in the body through which its colour patch shows.
    p.setCompositionMode(QPainter::CompositionMode_Clear);
    p.fillPath(windows, Qt::transparent);
    p.setCompositionMode(QPainter::CompositionMode_SourceOver);
    p.strokePath(windows, QPen(kRim, 1));

    if (!tag.isEmpty()) {
        QFont f = p.font();
        f.setPixelSize(9);
        f.setBold(true);
        p.setFont(f);
        p.setPen(kTag);
        p.drawText(QRectF(0, 2, size.width() - 14, 12), Qt::AlignRight | Qt::AlignTop, tag);
    }
    return pm;
}

namespace {

QPixmap drawPhoto(const QString& name) {
    const PhotoSpec photo = photoSpecs().value(name);
    const KeyModel* model = findKeyModel(photo.model);
    if (!model) return {};
    return drawKeyboardPhoto(placeCaps(*model), photo.size, photo.tag);
}

// The model of each home-screen picture, and whether it is a TE (lighter body).
struct HomePicture {
    KeyModelId model;
    bool te;
};

const QHash<QString, HomePicture>& homePictures() {
    static const QHash<QString, HomePicture> pictures{
        {"big_kb_pro_87", {KeyModelId::Quorvath87, false}},
        {"big_kb_te_87", {KeyModelId::Quorvath87, true}},
        {"big_kb_pro_88", {KeyModelId::Quorvath88, false}},
        {"big_kb_te_88", {KeyModelId::Quorvath88, true}},
        {"big_kb_pro_91", {KeyModelId::Quorvath91, false}},
        {"big_kb_te_91", {KeyModelId::Quorvath91, true}},
        {"big_kb_marrowinv2_pro", {KeyModelId::MarrowinV2_71, false}},
        {"big_kb_marrowinv2", {KeyModelId::MarrowinV2_71, false}},
        {"big_kb_ostrel_te", {KeyModelId::OstrelTE61, true}},
        {"big_kb_ostrel_pro", {KeyModelId::Ostrel61, false}},
        {"big_kb_te_tolmekv2", {KeyModelId::Tolmek84, true}},
        {"big_kb_vindle", {KeyModelId::Vindle68, false}},
    };
    return pictures;
}

// The home screen's picture: the model's caps, light with their legends, on the body, scaled to a fixed width and
// kept under 2^17 pixels (larger images make Qt convert them on worker threads of its own, for no visible gain).
QPixmap drawHomePicture(const HomePicture& picture) {
    const KeyModel* model = findKeyModel(picture.model);
    if (!model) return {};
    const std::vector<PlacedCap> caps = placeCaps(*model);
    if (caps.empty()) return {};
    QRectF bounds;
    for (const PlacedCap& cap : caps) bounds = bounds.united(toRectF(cap.rect));
    constexpr double kMaxArea = 120000.0, kMargin = 14.0;
    const double ratio = bounds.height() / bounds.width();
    double inner = 560.0;
    while ((inner + 2 * kMargin) * (inner * ratio + 2 * kMargin) > kMaxArea) inner -= 8.0;
    const double scale = inner / bounds.width();
    const int w = int(inner + 2 * kMargin), h = int(inner * ratio + 2 * kMargin);
    // Picture points (origin bottom left) to the image's pixels.
    auto image = [&](const QRectF& r) {
        return QRectF(kMargin + (r.x() - bounds.x()) * scale, kMargin + (bounds.bottom() - r.bottom()) * scale,
                      r.width() * scale, r.height() * scale);
    };

    QPixmap pm(w, h);
    pm.fill(Qt::transparent);
    QPainter p(&pm);
    p.setRenderHint(QPainter::Antialiasing);
    p.setPen(Qt::NoPen);
    p.setBrush(picture.te ? QColor(0x2b, 0x2e, 0x35) : kBody);
    p.drawRoundedRect(QRectF(2, 2, w - 4, h - 4), 12, 12);
    const std::optional<CapExtension> foot = isoEnterFoot(caps);
    QPainterPath surfaces;
    for (const PlacedCap& cap : caps) {
        const bool isFoot = foot && cap.keyname == foot->keyname;
        surfaces.addPath(
            capOutline(image(toRectF(cap.rect)), isFoot ? std::optional(image(foot->rect)) : std::nullopt, 2.5));
    }
    surfaces.setFillRule(Qt::WindingFill);
    p.fillPath(surfaces, kCap);
    const double legend = legendSize(caps, scale);
    const QColor ink = legendColourOn(kCap);
    for (const PlacedCap& cap : caps)
        drawCapLegend(p, image(toRectF(cap.rect)), legendOf(model->nameMap(), cap.keyname), legend, ink);
    p.setPen(Qt::NoPen);
    p.setBrush(kAccent);
    p.drawRect(QRectF(12, h - 5, w - 24, 2));
    return pm;
}

}  // namespace

QColor legendColourOn(const QColor& cap) {
    const bool light = contrast(kLegendLight, cap) > contrast(kLegendDark, cap);
    const QColor ink = light ? kLegendLight : kLegendDark;
    // The softer dark falls short on mid-tone caps (saturated red); black reaches 4.5:1 wherever white does not.
    return contrast(ink, cap) >= 4.5 ? ink : QColor(Qt::black);
}

void drawCapLegend(QPainter& p, const QRectF& cap, const QString& text, double maxSize, const QColor& ink) {
    if (text.isEmpty()) return;
    QFont font = p.font();
    font.setBold(true);
    // Stems on whole pixels: small legends stay sharp instead of greyed over two pixels.
    font.setHintingPreference(QFont::PreferFullHinting);
    const LegendLayout layout = layoutLegend(text, font, cap.width() - 6, maxSize);
    const QFontMetricsF metrics(layout.font);
    const double lineHeight = metrics.ascent() + metrics.descent() * 0.4;
    p.save();
    p.setClipRect(cap);
    p.setFont(layout.font);
    p.setPen(ink);
    // On whole pixels: glyphs placed between pixels are smeared over two of them and never reach their ink.
    const double x = std::round(cap.left() + 3.5);
    double baseline = cap.top() + 2.5 + metrics.ascent();
    for (const QString& line : layout.lines) {
        // Struck twice: the thinnest marks (a quote, a backtick) then reach the ink instead of a paler mix.
        for (int strike = 0; strike < 2; ++strike) p.drawText(QPointF(x, std::round(baseline)), line);
        baseline += lineHeight;
    }
    p.restore();
}

PhotoLegends keyboardPhotoLegends(const QString& photoName) {
    auto it = photoSpecs().constFind(photoName);
    if (it == photoSpecs().constEnd()) return {};
    const KeyModel* model = findKeyModel(it->model);
    if (!model) return {};
    const std::vector<PlacedCap> caps = placeCaps(*model);
    PhotoLegends legends;
    legends.size = legendSize(caps, 1.0);
    for (const PlacedCap& cap : caps) {
        QString text = legendOf(model->nameMap(), cap.keyname);
        if (!text.isEmpty()) legends.texts.emplace(cap.keyname, std::move(text));
    }
    return legends;
}

std::vector<CapExtension> keyboardPhotoExtensions(const QString& photoName) {
    auto it = photoSpecs().constFind(photoName);
    if (it == photoSpecs().constEnd()) return {};
    const KeyModel* model = findKeyModel(it->model);
    if (!model) return {};
    std::vector<CapExtension> out;
    if (auto foot = isoEnterFoot(placeCaps(*model))) out.push_back(*foot);
    return out;
}

void addKeyboardPictures(QHash<QString, ImagePainter>& table) {
    for (auto it = photoSpecs().constBegin(); it != photoSpecs().constEnd(); ++it) {
        const QString name = it.key();
        table.insert(name, [name] { return drawPhoto(name); });
    }
    for (auto it = homePictures().constBegin(); it != homePictures().constEnd(); ++it) {
        const HomePicture picture = it.value();
        table.insert(it.key(), [picture] { return drawHomePicture(picture); });
    }
}

}  // namespace keyloom
