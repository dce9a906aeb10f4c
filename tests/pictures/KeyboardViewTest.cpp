#include <gtest/gtest.h>

#include <QApplication>
#include <QLabel>
#include <QTest>
#include <memory>

#include "CustomControl/KeyDataList.h"
#include "CustomControl/KeyView.h"
#include "CustomControl/KeyboardPhotoTable.h"
#include "CustomControl/KeyboardView.h"
#include "CustomControl/SelectKeyView.h"
#include "Keylogger/KeyState.h"
#include "Keylogger/Keylogger.h"
#include "Views/Keyboard/KeyLayout/CurrentDevice.h"
#include "platform/NotificationCenter.h"
#include "platform/input/SimulatedKeySource.h"
#include "support/SimulatedKeyCapture.h"
#include "support/TestSupport.h"

using namespace keyloom;

namespace {

const QColor kWhite(Qt::white), kYellow(Qt::yellow), kBlack(Qt::black), kRed(Qt::red);

// An 87-key key-assignment picture in an active window, with the key capture on a simulated keyboard (for the left
// Shift) and the posted key names collected.
class Picture : public ::testing::Test {
  protected:
    void SetUp() override {
        resetKeyState();
        makeCurrentDevice(*findKeyModel(KeyModelId::Quorvath87));
        test::SimulatedKeyCapture capture = test::startSimulatedKeyCapture(false);
        source = capture.source;
        keylogger = std::move(capture.keylogger);
        keyboard = capture.keyboard;

        window = std::make_unique<QWidget>();
        window->resize(760, 320);
        picture = new KeyboardView(QRect(20, 30, 698, 256), window.get());
        picture->initUI(0, quorvathKeyData(1), 0);
        window->show();
        activate(window.get());
        observation = NotificationCenter::defaultCenter().addObserver(kCustomKeyAction, [this](const Notification& n) {
            posted.push_back(std::any_cast<std::string>(n.object));
        });
    }
    void TearDown() override {
        observation.reset();
        window.reset();
        other.reset();
        keylogger.reset();
        resetKeyState();
        resetCurrentDevice();
    }

    static void activate(QWidget* w) {
        w->activateWindow();
        ASSERT_TRUE(QTest::qWaitForWindowActive(w));
    }

    int64_t position(const std::string& name) const {
        for (const KeyData& k : picture->keyDataArrayHover())
            if (k.keyname == name) return k.index;
        ADD_FAILURE() << name;
        return -1;
    }
    // A point of the key in the picture's widget coordinates, (fx, fy) across the cap from its top left.
    QPoint at(const std::string& name, double fx = 0.5, double fy = 0.5) const {
        const QRectF r = picture->keyDataArrayHover().at(position(name)).rect;
        return QPoint(int(r.x() + r.width() * fx), int(picture->height() - r.y() - r.height() * (1 - fy)));
    }
    QColor colour(const std::string& name) const { return picture->keyView(position(name))->getColor(); }
    bool framed(const std::string& name) const { return picture->selectKeyView(position(name))->isShow(); }
    int framedCount() const {
        int n = 0;
        for (int64_t i = 0; i < int64_t(picture->keyDataArraySelect().size()); ++i)
            n += picture->selectKeyView(i)->isShow();
        return n;
    }
    void move(QPoint p) { QTest::mouseMove(picture, p); }
    void click(QPoint p) { QTest::mouseClick(picture, Qt::LeftButton, Qt::NoModifier, p); }
    void leftShift(int64_t value) { source->sendValue(keyboard, {0x07, 0xE1, value}); }

    SimulatedKeySource* source = nullptr;
    std::unique_ptr<Keylogger> keylogger;
    uint64_t keyboard = 0;
    std::unique_ptr<QWidget> window, other;
    KeyboardView* picture = nullptr;
    Observation observation;
    std::vector<std::string> posted;
};

}  // namespace

TEST_F(Picture, BuildStacksPatchesPhotoFramesInListOrder) {
    ASSERT_EQ(picture->keyDataArrayHover().size(), 87u);
    ASSERT_EQ(picture->keyDataArraySelect().size(), 87u);
    const auto children = picture->findChildren<QWidget*>(QString(), Qt::FindDirectChildrenOnly);
    ASSERT_EQ(children.size(), 87u * 2 + 1);
    EXPECT_TRUE(qobject_cast<KeyView*>(children.at(0)));
    EXPECT_EQ(children.at(87), picture->photo());
    EXPECT_TRUE(qobject_cast<SelectKeyView*>(children.at(88)));
    // The escape cap (22, 205, 35, 35) with the origin at the bottom left.
    EXPECT_EQ(picture->keyView(0)->geometry(), QRect(22, 256 - 205 - 35, 35, 35));
    EXPECT_EQ(picture->selectKeyView(86)->geometry(), picture->keyView(86)->geometry());
    EXPECT_EQ(picture->keyView(87), nullptr);
    EXPECT_EQ(picture->keyView(-1), nullptr);
    // Out-of-range positions are ignored.
    picture->setKeyCheck(87, true);
    picture->setKeyColor(-1, kRed);
    picture->setKeyColor(1000, kRed);
}

TEST_F(Picture, HoverAndLeave) {
    move(at("escape"));
    EXPECT_EQ(picture->hoverKeyItem(), 0);
    EXPECT_EQ(colour("escape"), kYellow);
    move(at("escape", 0.2, 0.8));  // within the same key: nothing changes
    EXPECT_EQ(colour("escape"), kYellow);
    move(at("escape", 1.5, 0.5));  // the gap between escape and f1
    EXPECT_EQ(picture->hoverKeyItem(), -1);
    EXPECT_EQ(colour("escape"), kWhite);
    move(at("f1"));
    EXPECT_EQ(colour("f1"), kYellow);
    QTest::mouseMove(window.get(), QPoint(5, 5));  // out of the picture
    EXPECT_EQ(picture->hoverKeyItem(), -1);
    EXPECT_EQ(colour("f1"), kWhite);
    EXPECT_TRUE(posted.empty());
}

TEST_F(Picture, SingleSelectionAndTheGapClick) {
    click(at("q"));
    EXPECT_EQ(picture->selectKeyItem(), position("q"));
    EXPECT_TRUE(picture->keyView(position("q"))->keyDown());
    click(at("w"));
    EXPECT_EQ(colour("q"), kWhite);
    EXPECT_FALSE(picture->keyView(position("q"))->keyDown());
    EXPECT_EQ(colour("w"), kYellow);
    move(at("e"));
    move(at("w"));  // leaving and coming back keeps the selected key yellow
    click(at("w"));
    // A click on a gap selects nothing; its release names the key selected before.
    click(at("escape", 1.5));
    EXPECT_EQ(picture->selectKeyItem(), position("w"));
    EXPECT_EQ(posted, (std::vector<std::string>{"q", "w", "w", "w"}));
    EXPECT_EQ(framedCount(), 0);
}

// The click that activates the window comes without a move the picture followed: it selects the key under it, not
// the key hovered before the window lost its activation.
TEST_F(Picture, ActivatingClickSelectsTheKeyUnderIt) {
    move(at("a"));
    ASSERT_EQ(colour("a"), kYellow);
    other = std::make_unique<QWidget>();
    other->show();
    activate(other.get());
    ASSERT_FALSE(window->isActiveWindow());
    QTest::mouseMove(picture, at("s"));  // not followed: the window is inactive
    EXPECT_EQ(picture->hoverKeyItem(), position("a"));
    click(at("s"));
    EXPECT_EQ(picture->selectKeyItem(), position("s"));
    EXPECT_EQ(colour("a"), kWhite);
    EXPECT_EQ(colour("s"), kYellow);
    EXPECT_EQ(posted, std::vector<std::string>{"s"});
}

TEST_F(Picture, PerKeyModeFramesWithAndWithoutLeftShift) {
    picture->setKeyCheck(position("z"), true);
    picture->setKeyboardType(12, true);
    EXPECT_EQ(colour("a"), kBlack);
    EXPECT_EQ(colour("z"), kYellow);  // an assigned key keeps its colour
    move(at("a"));
    EXPECT_EQ(colour("a"), kBlack);  // no hover colour in the per-key mode
    click(at("a"));
    click(at("s"));
    EXPECT_FALSE(framed("a"));
    EXPECT_TRUE(framed("s"));
    click(at("s"));  // the only framed key, clicked again without Shift, stays framed
    EXPECT_TRUE(framed("s"));
    EXPECT_EQ(framedCount(), 1);
    leftShift(1);
    click(at("d"));
    click(at("f"));
    click(at("d"));  // with Shift, a framed key loses its frame
    leftShift(0);
    EXPECT_TRUE(framed("s"));
    EXPECT_FALSE(framed("d"));
    EXPECT_TRUE(framed("f"));
    picture->setBackColor(kRed);
    EXPECT_EQ(colour("s"), kRed);
    EXPECT_EQ(colour("f"), kRed);
    EXPECT_EQ(colour("d"), kBlack);
    EXPECT_TRUE(posted.empty());  // only the key-assignment picture names keys

    picture->setKeyboardType(3, false);  // an ordinary lighting mode
    EXPECT_EQ(framedCount(), 0);
    EXPECT_FALSE(picture->isEvent());
    picture->setBackColor(kRed);
    EXPECT_EQ(colour("d"), kRed);  // every cap outside the per-key mode
    click(at("g"));
    EXPECT_EQ(framedCount(), 0);

    picture->setKeyboardType(12, true);
    click(at("g"));
    ASSERT_EQ(framedCount(), 1);
    picture->setKeyboardType(0, false);  // back to key assignment: frames go, the mouse works
    EXPECT_EQ(framedCount(), 0);
    click(at("h"));
    EXPECT_EQ(posted, std::vector<std::string>{"h"});
}

// A second build with fewer keys: earlier views go, hover and selection are forgotten, and a click on the last key
// of the shorter list names it.
TEST_F(Picture, RebuildWithFewerKeys) {
    picture->initUI(0, quorvathKeyData(3), 0);
    ASSERT_EQ(picture->keyDataArrayHover().size(), 91u);
    click(at("rightArrow"));
    ASSERT_EQ(picture->selectKeyItem(), 90);
    const std::vector<KeyData> held = picture->keyDataArrayHover();

    picture->initUI(0, quorvathKeyData(1), 0);
    EXPECT_EQ(picture->hoverKeyItem(), -1);
    EXPECT_EQ(picture->selectKeyItem(), -1);
    EXPECT_EQ(picture->findChildren<QWidget*>(QString(), Qt::FindDirectChildrenOnly).size(), 87u * 2 + 1);
    EXPECT_TRUE(held.back().view.isNull());  // copies of the old list see no view
    QTest::mouseRelease(picture, Qt::LeftButton, Qt::NoModifier, at("escape", 1.5));  // a release with nothing selected
    click(at("rightArrow"));
    EXPECT_EQ(picture->selectKeyItem(), 86);
    EXPECT_EQ(posted, (std::vector<std::string>{"rightArrow", "rightArrow"}));
}

// Each kind of row of the photo table, and the fallbacks of an unknown count, layout or language.
TEST(KeyboardPictureBuild, PhotoTable) {
    const struct {
        std::size_t keys;
        int64_t layout, deviceType, keyboardLayout;
        const char* photo;
        QSize size;
    } cases[] = {
        {0, 0, 0, 1033, "img_keyboard_87", {698, 256}},
        {89, 0, 0, 1033, "img_keyboard_87", {698, 256}},
        {61, 0, 0, 1033, "img_keyboard_ostrelpro", {698, 256}},
        {61, 0, 105, 1033, "img_keyboard_ostrelte", {698, 256}},
        {62, 0, 0, 1033, "img_keyboard_ostrelte62_uk", {698, 256}},
        {62, 1, 0, 1033, "img_keyboard_ostrelte62_fr", {698, 256}},
        {62, 5, 0, 1033, "img_keyboard_ostrelte62_nd", {698, 256}},
        {62, 6, 0, 1033, "img_keyboard_ostrelte62_uk", {698, 256}},
        {68, 0, 0, 1033, "img_keyboard_vindle", {669, 220}},
        {71, 3, 0, 1033, "img_keyboard_marrowinv2", {698, 256}},
        {72, 0, 0, 1033, "img_keyboard_marrowinv2_uk", {698, 256}},
        {72, 1, 0, 1033, "img_keyboard_marrowinv2_uk", {698, 256}},
        {72, 2, 0, 1033, "img_keyboard_marrowinv2_fr", {698, 256}},
        {72, 6, 0, 1033, "img_keyboard_marrowinv2_nd", {698, 256}},
        {72, 7, 0, 1033, "img_keyboard_marrowinv2_uk", {698, 256}},
        {84, 0, 0, 1033, "img_keyboard_tolmekv2", {700, 286}},
        {88, 0, 0, 1033, "img_keyboard_88uk", {698, 256}},
        {88, 0, 0, 1031, "img_keyboard_88de", {698, 256}},
        {88, 0, 0, 1042, "img_keyboard_88kr", {698, 256}},
        {91, 9, 105, 1031, "img_keyboard_91", {698, 256}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(testing::Message() << c.keys << " keys, layout " << c.layout << ", device type " << c.deviceType
                                        << ", language " << c.keyboardLayout);
        const KeyboardPhoto photo = keyboardPhotoFor(c.keys, c.layout, c.deviceType, c.keyboardLayout);
        EXPECT_EQ(photo.name, c.photo);
        EXPECT_EQ(photo.size, c.size);
    }
}

// The photo a picture lays: a 61-key picture takes its device type, set before initUI; an empty list still has the
// 87-key photo and nothing else.
TEST(KeyboardPictureBuild, PictureChoosesItsPhoto) {
    KeyboardView picture(QRect(0, 0, 698, 256), nullptr);
    picture.initUI(1, {}, 0);
    EXPECT_EQ(picture.photo()->property("keyloomImageName").toString(), "img_keyboard_87");
    EXPECT_EQ(picture.findChildren<QWidget*>(QString(), Qt::FindDirectChildrenOnly).size(), 1u);
    EXPECT_FALSE(picture.isEvent());
    picture.setDeviceType(105);
    picture.initUI(1, keyDataFromCaps(placeCaps(*findKeyModel(KeyModelId::OstrelTE61))), 0);
    EXPECT_EQ(picture.photo()->property("keyloomImageName").toString(), "img_keyboard_ostrelte");
    EXPECT_FALSE(picture.photo()->pixmap().isNull());
}

// Device type to key list, with frames of the first-generation picture.
TEST(KeyboardPictureBuild, QuorvathKeyLists) {
    const struct {
        int64_t deviceType;
        std::size_t count;
        int64_t index;
        const char* name;
        QRectF rect;
    } cases[] = {
        {4, 87, 1, "f1", {93, 205, 35, 35}},          {99, 87, 86, "rightArrow", {642, 17, 35, 35}},
        {5, 88, 64, "ukbackslash", {65, 53, 35, 35}}, {2, 88, 46, "enter", {508, 125, 54, 35}},
        {3, 91, 29, "jpoem3", {490, 161, 35, 35}},    {6, 91, 30, "backspace", {526, 161, 35, 35}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        const std::vector<KeyData> keys = quorvathKeyData(c.deviceType);
        ASSERT_EQ(keys.size(), c.count);
        EXPECT_EQ(keys[c.index].index, c.index);
        EXPECT_EQ(keys[c.index].keyname, c.name);
        EXPECT_EQ(keys[c.index].rect, c.rect);
        EXPECT_TRUE(keys[c.index].view.isNull());
    }
}

// Overlapping caps resolve to the earlier entry; a point on the shared edge belongs to the cap to its right.
TEST_F(Picture, HitTestFirstEntryWins) {
    std::vector<KeyData> keys{KeyData(0), KeyData(1), KeyData(2)};
    keys[0].rect = QRectF(10, 10, 40, 40);
    keys[1].rect = QRectF(30, 10, 40, 40);
    keys[2].rect = QRectF(70, 10, 40, 40);
    keys[0].keyname = "first";
    keys[1].keyname = "second";
    keys[2].keyname = "third";
    picture->initUI(0, keys, 0);
    const int y = picture->height() - 30;
    move(QPoint(40, y));
    EXPECT_EQ(picture->hoverKeyItem(), 0);
    move(QPoint(60, y));
    EXPECT_EQ(picture->hoverKeyItem(), 1);
    move(QPoint(70, y));
    EXPECT_EQ(picture->hoverKeyItem(), 2);
    click(QPoint(35, y));
    EXPECT_EQ(posted, std::vector<std::string>{"first"});
}
