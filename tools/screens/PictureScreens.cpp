#include <QApplication>
#include <QMouseEvent>

#include "CustomControl/KeyDataList.h"
#include "CustomControl/KeyView.h"
#include "CustomControl/KeyboardPhotoTable.h"
#include "CustomControl/KeyboardView.h"
#include "CustomControl/SelectKeyView.h"
#include "ScreenGallery.h"
#include "USB/KeyboardProducts.h"
#include "Views/Home/AppState.h"

namespace keyloom {

namespace {

int64_t positionOf(const KeyboardView& picture, const char* name) {
    for (const KeyData& key : picture.keyDataArrayHover())
        if (key.keyname == name) return key.index;
    return -1;
}

// A click as the user makes it, on the middle of a key.
void clickKey(KeyboardView& picture, int64_t position) {
    if (position < 0) return;
    const QRectF r = picture.keyDataArrayHover().at(position).rect;
    const QPointF p(r.center().x(), picture.height() - r.center().y());
    for (QEvent::Type type : {QEvent::MouseButtonPress, QEvent::MouseButtonRelease}) {
        QMouseEvent event(type, p, picture.mapToGlobal(p), Qt::LeftButton,
                          type == QEvent::MouseButtonPress ? Qt::LeftButton : Qt::NoButton, Qt::NoModifier);
        QApplication::sendEvent(&picture, &event);
    }
}

// One picture on a plain panel, as an editor's tab holds it.
struct Stage {
    Stage(const std::vector<KeyData>& keys, int64_t deviceType, int64_t layout, int64_t type) {
        const QSize photo = keyboardPhotoFor(keys.size(), layout, deviceType, keyboardLayout).size;
        panel.resize(photo + QSize(40, 40));
        panel.setAutoFillBackground(true);
        picture = new KeyboardView(QRect(QPoint(20, 20), photo), &panel);
        picture->setDeviceType(deviceType);
        picture->initUI(type, keys, layout);
        panel.show();
    }
    QWidget panel;
    KeyboardView* picture;
};

void renderOne(ScreenContext& ctx, const std::vector<KeyData>& keys, int64_t layout, const QString& suffix) {
    const KeyboardProduct& product = *ctx.product();
    // Key assignment: two keys carry assignments, one is selected.
    {
        Stage stage(keys, product.deviceType, layout, 0);
        stage.picture->setKeyCheck(positionOf(*stage.picture, "f1"), true);
        stage.picture->setKeyCheck(positionOf(*stage.picture, "i2"), true);
        clickKey(*stage.picture, positionOf(*stage.picture, "enter"));
        ctx.save(&stage.panel, "picture-keys" + suffix);
    }
    // Per-key lighting: every cap black, a rainbow over the first row, a framed block painted blue.
    {
        Stage stage(keys, product.deviceType, layout, 1);
        const int64_t perKeyMode = product.kind == ProductKind::FirstGeneration ? 12 : 20;
        stage.picture->setKeyboardType(perKeyMode, true);
        for (int64_t i = 0; i < 14 && i < int64_t(keys.size()); ++i)
            stage.picture->setKeyColor(i, QColor::fromHsv(int(i * 360 / 14), 255, 255));
        for (const char* name : {"q", "w", "e", "a", "s", "d"}) {
            if (SelectKeyView* frame = stage.picture->selectKeyView(positionOf(*stage.picture, name)))
                frame->setShow(true);
        }
        stage.picture->setBackColor(QColor(40, 90, 255));
        ctx.save(&stage.panel, "picture-lighting" + suffix);
    }
}

}  // namespace

void renderPictures(ScreenContext& ctx) {
    const KeyboardProduct& product = *ctx.product();
    if (product.kind == ProductKind::FirstGeneration) {
        renderOne(ctx, quorvathKeyData(product.deviceType), 0, {});
        return;
    }
    const KeyModel* model = findKeyModel(product.model);
    if (model) renderOne(ctx, keyDataFromCaps(placeCaps(*model)), 0, {});
    // The tables of the other layouts, at layout index 1.
    const KeyModel* other = findKeyModel(product.otherLayoutsModel);
    if (other && other != model) {
        renderOne(ctx, keyDataFromCaps(placeCaps(*other)), 1, "-layout1");
    }
}

}  // namespace keyloom
