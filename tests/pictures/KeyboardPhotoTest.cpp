#include <gtest/gtest.h>

#include <QImage>

#include "CustomControl/KeyDataList.h"
#include "CustomControl/KeyView.h"
#include "CustomControl/KeyboardPhotoTable.h"
#include "CustomControl/KeyboardView.h"
#include "Views/Keyboard/KeyLayout/KeyModels.h"
#include "resources/KeyboardPictures.h"
#include "resources/KeyloomImages.h"

using namespace keyloom;

namespace {

struct PhotoCase {
    const char* name;
    KeyModelId model;
    QSize size;
};

// Every photo the picture can lay, with the model it is drawn from.
const PhotoCase kPhotos[] = {
    {"img_keyboard_87", KeyModelId::Quorvath87, {698, 256}},
    {"img_keyboard_88uk", KeyModelId::Quorvath88, {698, 256}},
    {"img_keyboard_88de", KeyModelId::Quorvath88, {698, 256}},
    {"img_keyboard_88es", KeyModelId::Quorvath88, {698, 256}},
    {"img_keyboard_88fr", KeyModelId::Quorvath88, {698, 256}},
    {"img_keyboard_88ita", KeyModelId::Quorvath88, {698, 256}},
    {"img_keyboard_88kr", KeyModelId::Quorvath88, {698, 256}},
    {"img_keyboard_91", KeyModelId::Quorvath91, {698, 256}},
    {"img_keyboard_marrowinv2", KeyModelId::MarrowinV2_71, {698, 256}},
    {"img_keyboard_marrowinv2_uk", KeyModelId::MarrowinV2_72, {698, 256}},
    {"img_keyboard_marrowinv2_fr", KeyModelId::MarrowinV2_72, {698, 256}},
    {"img_keyboard_marrowinv2_de", KeyModelId::MarrowinV2_72, {698, 256}},
    {"img_keyboard_marrowinv2_ita", KeyModelId::MarrowinV2_72, {698, 256}},
    {"img_keyboard_marrowinv2_sp", KeyModelId::MarrowinV2_72, {698, 256}},
    {"img_keyboard_marrowinv2_nd", KeyModelId::MarrowinV2_72, {698, 256}},
    {"img_keyboard_ostrelpro", KeyModelId::Ostrel61, {698, 256}},
    {"img_keyboard_ostrelte", KeyModelId::OstrelTE61, {698, 256}},
    {"img_keyboard_ostrelte62_uk", KeyModelId::OstrelTE62, {698, 256}},
    {"img_keyboard_ostrelte62_fr", KeyModelId::OstrelTE62, {698, 256}},
    {"img_keyboard_ostrelte62_de", KeyModelId::OstrelTE62, {698, 256}},
    {"img_keyboard_ostrelte62_it", KeyModelId::OstrelTE62, {698, 256}},
    {"img_keyboard_ostrelte62_sp", KeyModelId::OstrelTE62, {698, 256}},
    {"img_keyboard_ostrelte62_nd", KeyModelId::OstrelTE62, {698, 256}},
    {"img_keyboard_vindle", KeyModelId::Vindle68, {669, 220}},
    {"img_keyboard_tolmekv2", KeyModelId::Tolmek84, {700, 286}},
};

QImage imageOf(const QPixmap& pm) {
    return pm.toImage().convertToFormat(QImage::Format_ARGB32);
}

// A cap's frame in the image's pixels (rows from the top).
QRect imageRect(const CapRect& r, int height) {
    return QRect(int(r.x), int(height - r.y - r.height), int(r.width), int(r.height));
}

// Whether any pixel of the cap's legend corner is drawn.
bool legendDrawn(const QImage& img, const QRect& cap) {
    for (int y = cap.top() + 3; y < cap.top() + 12; ++y)
        for (int x = cap.left() + 4; x < cap.left() + 10; ++x)
            if (qAlpha(img.pixel(x, y)) > 0) return true;
    return false;
}

}  // namespace

// Each photo: its size; every cap a window, legend corner included (the patch below draws the legend); the body
// opaque just below every cap (between rows); a legend exactly where the model's name map gives the cap a short name.
TEST(KeyboardPhoto, WindowsBodyAndLegends) {
    for (const PhotoCase& c : kPhotos) {
        SCOPED_TRACE(c.name);
        const QPixmap pm = keyloomImage(c.name);
        ASSERT_EQ(pm.deviceIndependentSize().toSize(), c.size);
        const QImage img = imageOf(pm);
        const KeyModel& model = *findKeyModel(c.model);
        const auto extensions = keyboardPhotoExtensions(c.name);
        const PhotoLegends legends = keyboardPhotoLegends(c.name);
        for (const PlacedCap& cap : placeCaps(model)) {
            SCOPED_TRACE(cap.keyname);
            const QRect r = imageRect(cap.rect, c.size.height());
            EXPECT_EQ(qAlpha(img.pixel(r.center().x(), r.top() + int(r.height() * 0.8))), 0);
            const bool hasFoot = !extensions.empty() && extensions.front().keyname == cap.keyname;
            if (!hasFoot) {
                EXPECT_EQ(qAlpha(img.pixel(r.center().x(), r.bottom() + 1)), 255);
            }
            EXPECT_FALSE(legendDrawn(img, r));
            const KeyMapRow* row = model.nameMap().find(cap.keyname);
            const auto legend = legends.texts.find(cap.keyname);
            ASSERT_EQ(legend != legends.texts.end(), row && !row->short_name.empty());
            if (row && legend != legends.texts.end()) {
                EXPECT_EQ(legend->second.toStdString(), row->short_name);
            }
        }
    }
}

// Each patch of a picture draws its cap's legend; a cap whose name the photo's map lacks gets none.
TEST(KeyboardPhoto, PatchesDrawTheirLegends) {
    std::vector<KeyData> keys = quorvathKeyData(1);
    keys.at(1).keyname = "noSuchKey";
    KeyboardView picture(QRect(0, 0, 698, 256), nullptr);
    picture.initUI(1, keys, 0);
    const QImage shown = picture.grab().toImage().convertToFormat(QImage::Format_ARGB32);
    const KeyNameMap& names = findKeyModel(KeyModelId::Quorvath87)->nameMap();
    for (const KeyData& key : keys) {
        SCOPED_TRACE(key.keyname);
        const KeyMapRow* row = names.find(key.keyname);
        const std::string expected = row ? row->short_name : std::string();
        EXPECT_EQ(picture.keyView(key.index)->legend().toStdString(), expected);
        // Dark ink on the white patch, inside the cap's outline, or none.
        const QRect r = picture.keyView(key.index)->geometry().adjusted(3, 3, -3, -3);
        bool inked = false;
        for (int y = r.top(); y <= r.bottom(); ++y)
            for (int x = r.left(); x <= r.right(); ++x) inked = inked || qGray(shown.pixel(x, y)) < 128;
        EXPECT_EQ(inked, !expected.empty());
    }
}

// ISO Enters are L-shaped: the foot reaches down over the next row to the cap's right edge, is a window in the
// photo, and on a picture shows the colour of the Enter's patch.
TEST(KeyboardPhoto, IsoEnterFoot) {
    for (const auto& [photo, iso] : {std::pair{"img_keyboard_87", false}, {"img_keyboard_marrowinv2_uk", true}})
        ASSERT_EQ(keyboardPhotoExtensions(photo).size(), iso ? 1u : 0u) << photo;
    const auto foot = keyboardPhotoExtensions("img_keyboard_88uk").at(0);
    EXPECT_EQ(foot.keyname, "enter");
    EXPECT_EQ(foot.rect, QRectF(517, 89, 45, 36));  // under the Enter (508-562), right of the 88's backslash (to 516)
    const QImage img = imageOf(keyloomImage("img_keyboard_88uk"));
    EXPECT_EQ(qAlpha(img.pixel(540, 256 - 105)), 0);

    KeyboardView picture(QRect(0, 0, 698, 256), nullptr);
    picture.initUI(1, quorvathKeyData(2), 0);
    picture.setKeyColor(46, Qt::red);  // the Enter
    const QImage shown = picture.grab().toImage();
    EXPECT_EQ(shown.pixelColor(540, 256 - 105), QColor(Qt::red));
    EXPECT_EQ(shown.pixelColor(530, 256 - 140), QColor(Qt::red));  // the Enter's own window
}

// The home screen's pictures: every name drawn, kept small enough for Qt to draw them on the main thread alone.
TEST(KeyboardPhoto, HomePictures) {
    for (const char* name : {"big_kb_pro_87", "big_kb_te_87", "big_kb_pro_88", "big_kb_te_88", "big_kb_pro_91",
                             "big_kb_te_91", "big_kb_marrowinv2_pro", "big_kb_marrowinv2", "big_kb_ostrel_te",
                             "big_kb_ostrel_pro", "big_kb_te_tolmekv2", "big_kb_vindle"}) {
        SCOPED_TRACE(name);
        const QPixmap pm = keyloomImage(name);
        ASSERT_FALSE(pm.isNull());
        EXPECT_LE(pm.width() * pm.height(), 1 << 17);
        EXPECT_GT(pm.width(), 500);
    }
}
