#include "resources/KeyboardPictures.h"

#include <QGuiApplication>
#include <QHash>
#include <QPainter>
#include <QPainterPath>
#include <algorithm>
#include <optional>

#include "Views/Keyboard/KeyLayout/KeyModels.h"
#include "Views/Keyboard/KeyLayout/KeyPlacement.h"
#include "resources/KeyloomImages.h"

namespace keyloom {

namespace {

const QColor kBody(0x1d, 0x1f, 0x24);
const QColor kRim(0x5c, 0x60, 0x69);
const QColor kLegend(0x16, 0x17, 0x1a);
const QColor kHalo(0xff, 0xff, 0xff, 0xe0);
const QColor kTag(0x9a, 0x9d, 0xa4);

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

// A legend in the top-left corner of a cap, dark with a light halo so it reads on every patch colour from white to
// black; it keeps to the upper part of the cap, so the middle of the cap shows the patch alone.
void drawLegend(QPainter& p, const QRectF& cap, const QString& text, double maxPixelSize) {
    if (text.isEmpty()) return;
    QFont font = p.font();
    font.setBold(true);
    const double available = cap.width() - 6;
    double size = std::min(maxPixelSize, cap.height() * 0.28);
    QPainterPath path;
    for (;; size -= 0.5) {
        font.setPixelSize(std::max(1, int(size)));
        path = QPainterPath();
        path.addText(0, 0, font, text);
        if (path.boundingRect().width() <= available || size <= 6) break;
    }
    const QFontMetricsF metrics(font);
    path.translate(cap.left() + 3.5 - path.boundingRect().left(), cap.top() + 3 + metrics.ascent());
    p.save();
    p.setClipRect(cap);
    p.setPen(QPen(kHalo, 2.4, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
    p.setBrush(Qt::NoBrush);
    p.drawPath(path);
    p.setPen(Qt::NoPen);
    p.setBrush(kLegend);
    p.drawPath(path);
    p.restore();
}

}  // namespace

QPixmap drawKeyboardPhoto(const std::vector<PlacedCap>& caps, const KeyNameMap& names, QSize size, const QString& tag) {
    const double dpr = qGuiApp ? std::max(1.0, qGuiApp->devicePixelRatio()) : 1.0;
    QPixmap pm(size * dpr);
    pm.setDevicePixelRatio(dpr);
    pm.fill(Qt::transparent);
    const double h = size.height();
    // Picture points have their origin at the bottom left; the image's rows run from the top.
    auto image = [h](const QRectF& r) { return QRectF(r.x(), h - r.y() - r.height(), r.width(), r.height()); };

    QPainter p(&pm);
    p.setRenderHint(QPainter::Antialiasing);
    p.setPen(Qt::NoPen);
    p.setBrush(kBody);
    p.drawRoundedRect(QRectF(QPointF(0, 0), QSizeF(size)).adjusted(1, 1, -1, -1), 12, 12);

    const std::optional<CapExtension> foot = isoEnterFoot(caps);
    // Each cap is a window in the body, one point inside the cap's frame, so the body shows between caps.
    QPainterPath windows;
    for (const PlacedCap& cap : caps) {
        QPainterPath one;
        one.addRoundedRect(image(toRectF(cap.rect)).adjusted(1, 1, -1, -1), 3, 3);
        if (foot && cap.keyname == foot->keyname) {
            QPainterPath lower;
            lower.addRoundedRect(image(foot->rect).adjusted(1, -4, -1, -1), 3, 3);  // overlaps the cap: one window
            one = one.united(lower);
        }
        windows.addPath(one);
    }
    windows.setFillRule(Qt::WindingFill);
    p.setCompositionMode(QPainter::CompositionMode_Clear);
    p.fillPath(windows, Qt::transparent);
    p.setCompositionMode(QPainter::CompositionMode_SourceOver);
    p.strokePath(windows.simplified(), QPen(kRim, 1));

    for (const PlacedCap& cap : caps) drawLegend(p, image(toRectF(cap.rect)), legendOf(names, cap.keyname), 10.5);

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
    const PhotoSpec spec = photoSpecs().value(name);
    const KeyModel* model = findKeyModel(spec.model);
    if (!model) return {};
    return drawKeyboardPhoto(placeCaps(*model), model->nameMap(), spec.size, spec.tag);
}

// The model each home-screen keyboard picture is drawn from.
std::optional<KeyModelId> pictureModel(const QString& name) {
    static const QHash<QString, KeyModelId> models{
        {"big_kb_pro_87", KeyModelId::Quorvath87},
        {"big_kb_te_87", KeyModelId::Quorvath87},
        {"big_kb_pro_88", KeyModelId::Quorvath88},
        {"big_kb_te_88", KeyModelId::Quorvath88},
        {"big_kb_pro_91", KeyModelId::Quorvath91},
        {"big_kb_te_91", KeyModelId::Quorvath91},
        {"big_kb_marrowinv2_pro", KeyModelId::MarrowinV2_71},
        {"big_kb_marrowinv2", KeyModelId::MarrowinV2_71},
        {"big_kb_ostrel_te", KeyModelId::OstrelTE61},
        {"big_kb_ostrel_pro", KeyModelId::Ostrel61},
        {"big_kb_te_tolmekv2", KeyModelId::Tolmek84},
        {"big_kb_vindle", KeyModelId::Vindle68},
    };
    auto it = models.constFind(name);
    if (it == models.constEnd()) return std::nullopt;
    return *it;
}

}  // namespace

std::vector<CapExtension> keyboardPhotoExtensions(const QString& photoName) {
    auto it = photoSpecs().constFind(photoName);
    if (it == photoSpecs().constEnd()) return {};
    const KeyModel* model = findKeyModel(it->model);
    if (!model) return {};
    std::vector<CapExtension> out;
    if (auto foot = isoEnterFoot(placeCaps(*model))) out.push_back(*foot);
    return out;
}

void addKeyboardPhotos(QHash<QString, ImagePainter>& table) {
    for (auto it = photoSpecs().constBegin(); it != photoSpecs().constEnd(); ++it) {
        const QString name = it.key();
        table.insert(name, [name] { return drawPhoto(name); });
    }
}

KeyboardPictureCaps keyboardPictureCaps(const QString& name) {
    KeyboardPictureCaps out;
    const auto id = pictureModel(name);
    const KeyModel* model = id ? findKeyModel(*id) : nullptr;
    if (!model) return out;
    double minX = 1e9, minY = 1e9, maxX = -1e9, maxY = -1e9;
    for (const PlacedCap& cap : placeCaps(*model)) {
        const QRectF r(cap.rect.x, cap.rect.y, cap.rect.width, cap.rect.height);
        out.caps.push_back(r);
        minX = std::min(minX, r.left());
        minY = std::min(minY, r.top());
        maxX = std::max(maxX, r.right());
        maxY = std::max(maxY, r.bottom());
    }
    if (out.caps.empty()) return out;
    // Shift the caps so the picture starts at its first cap.
    for (QRectF& r : out.caps) r.translate(-minX, -minY);
    out.size = QSizeF(maxX - minX, maxY - minY);
    return out;
}

}  // namespace keyloom
