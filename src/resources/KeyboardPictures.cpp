#include <QHash>
#include <algorithm>

#include "Views/Keyboard/KeyLayout/KeyModels.h"
#include "Views/Keyboard/KeyLayout/KeyPlacement.h"
#include "resources/KeyloomImages.h"

namespace keyloom {

namespace {

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
