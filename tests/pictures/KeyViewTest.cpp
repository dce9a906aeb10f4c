#include <gtest/gtest.h>

#include <QImage>

#include "CustomControl/KeyView.h"
#include "CustomControl/SelectKeyView.h"

using namespace keyloom;

namespace {

const QColor kWhite(Qt::white), kYellow(Qt::yellow), kRed(Qt::red);

QImage grabOf(QWidget& w) {
    return w.grab().toImage().convertToFormat(QImage::Format_ARGB32);
}

}  // namespace

// The lock rules: which changes a patch accepts in each flag state.
TEST(KeyView, LockRules) {
    enum Op { BackColor, DownTrue, DownFalse, CheckTrue, CheckFalse };
    const struct {
        const char* name;
        bool check, down;
        Op op;
        QColor colour;  // after the operation
        bool checkAfter, downAfter;
    } cases[] = {
        {"plain takes a colour", false, false, BackColor, kRed, false, false},
        {"plain selected turns yellow", false, false, DownTrue, kYellow, false, true},
        {"plain checked turns yellow", false, false, CheckTrue, kYellow, true, false},
        {"selected ignores a colour", false, true, BackColor, kYellow, false, true},
        {"selected unselects to white", false, true, DownFalse, kWhite, false, false},
        {"selected then checked is yellow", false, true, CheckTrue, kYellow, true, true},
        {"selected, unchecked whitens", false, true, CheckFalse, kWhite, false, true},
        {"checked ignores a colour", true, false, BackColor, kYellow, true, false},
        {"checked, unselect keeps yellow", true, true, DownFalse, kYellow, true, false},
        {"checked, select keeps yellow", true, false, DownTrue, kYellow, true, true},
        {"checked and selected, unchecked whitens", true, true, CheckFalse, kWhite, false, true},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        KeyView v(QRect(0, 0, 10, 10), nullptr);
        if (c.check) v.setKeyCheck(true);
        if (c.down) v.setKeyDown(true);
        switch (c.op) {
            case BackColor:
                v.setBackColor(kRed);
                break;
            case DownTrue:
                v.setKeyDown(true);
                break;
            case DownFalse:
                v.setKeyDown(false);
                break;
            case CheckTrue:
                v.setKeyCheck(true);
                break;
            case CheckFalse:
                v.setKeyCheck(false);
                break;
        }
        EXPECT_EQ(v.getColor(), c.colour);
        EXPECT_EQ(v.keyCheck(), c.checkAfter);
        EXPECT_EQ(v.keyDown(), c.downAfter);
        EXPECT_EQ(grabOf(v).pixelColor(5, 5), c.colour);
    }
}

TEST(KeyView, FreshPatchIsWhiteAndFreshFrameDrawsNothing) {
    KeyView patch(QRect(0, 0, 20, 20), nullptr);
    EXPECT_EQ(grabOf(patch).pixelColor(10, 10), kWhite);

    SelectKeyView frame(QRect(0, 0, 20, 20), nullptr);
    frame.setAttribute(Qt::WA_TranslucentBackground);
    QImage before(20, 20, QImage::Format_ARGB32);
    before.fill(Qt::transparent);
    frame.render(&before, QPoint(), QRegion(), QWidget::RenderFlags());
    for (int y = 0; y < 20; ++y)
        for (int x = 0; x < 20; ++x) ASSERT_EQ(qAlpha(before.pixel(x, y)), 0) << x << "," << y;

    frame.setShow(true);
    QImage shown(20, 20, QImage::Format_ARGB32);
    shown.fill(Qt::transparent);
    frame.render(&shown, QPoint(), QRegion(), QWidget::RenderFlags());
    EXPECT_EQ(shown.pixelColor(1, 10), kYellow);  // the dashed edge
    EXPECT_EQ(qAlpha(shown.pixel(10, 10)), 0);    // nothing inside

    // A wider cap's frame is its own, not the first one's kept picture.
    SelectKeyView wide(QRect(0, 0, 34, 20), nullptr);
    wide.setAttribute(Qt::WA_TranslucentBackground);
    wide.setShow(true);
    QImage wideShown(34, 20, QImage::Format_ARGB32);
    wideShown.fill(Qt::transparent);
    wide.render(&wideShown, QPoint(), QRegion(), QWidget::RenderFlags());
    EXPECT_EQ(wideShown.pixelColor(32, 10), kYellow);
    EXPECT_EQ(qAlpha(wideShown.pixel(19, 10)), 0);
}
