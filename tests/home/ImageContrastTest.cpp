#include <gtest/gtest.h>

#include <QApplication>
#include <QLabel>
#include <QPalette>
#include <QPushButton>
#include <QTest>
#include <algorithm>
#include <cmath>
#include <map>
#include <memory>
#include <set>

#include "CustomControl/KeyDataList.h"
#include "CustomControl/KeyView.h"
#include "CustomControl/KeyboardPhotoTable.h"
#include "CustomControl/KeyboardView.h"
#include "Views/Home/HomeViewController.h"
#include "Views/Home/HomeWindowController.h"
#include "platform/NotificationCenter.h"
#include "platform/bluetooth/SimulatedCentral.h"
#include "platform/hid/SimulatedHid.h"
#include "support/TestSupport.h"

using namespace keyloom;
using namespace std::chrono_literals;

namespace {

double channel(int c) {
    const double v = c / 255.0;
    return v <= 0.04045 ? v / 12.92 : std::pow((v + 0.055) / 1.055, 2.4);
}

double luminance(QRgb c) {
    return 0.2126 * channel(qRed(c)) + 0.7152 * channel(qGreen(c)) + 0.0722 * channel(qBlue(c));
}

double contrast(QRgb a, QRgb b) {
    const double la = luminance(a), lb = luminance(b);
    return (std::max(la, lb) + 0.05) / (std::min(la, lb) + 0.05);
}

using Channel = int (*)(QRgb);
constexpr Channel kChannels[] = {qRed, qGreen, qBlue};

// c lies between a and b, as antialiasing mixes them.
bool isMix(QRgb c, QRgb a, QRgb b) {
    double t = -1;
    for (Channel ch : kChannels) {
        const int span = ch(b) - ch(a);
        if (std::abs(span) < 24) continue;
        const double tc = double(ch(c) - ch(a)) / span;
        if (t < 0) t = tc;
        if (std::abs(tc - t) > 0.08) return false;
    }
    if (t <= 0 || t >= 1) return false;
    for (Channel ch : kChannels)
        if (std::abs(ch(a) + t * (ch(b) - ch(a)) - ch(c)) > 6) return false;
    return true;
}

// c lies on the way from a to b, to within rounding: antialiasing's mix of the two, or either of them.
bool between(QRgb c, QRgb a, QRgb b) {
    double along = 0, length = 0;
    for (Channel ch : kChannels) {
        along += double(ch(c) - ch(a)) * (ch(b) - ch(a));
        length += double(ch(b) - ch(a)) * (ch(b) - ch(a));
    }
    const double t = length > 0 ? std::clamp(along / length, 0.0, 1.0) : 0.0;
    for (Channel ch : kChannels)
        if (std::abs(ch(a) + t * (ch(b) - ch(a)) - ch(c)) > 6) return false;
    return true;
}

// What a control shows on the screen: its ground (the colour most of it shows) and the solid colours drawn on it.
// Colours of a few pixels and antialiasing mixes of the ground with a drawn colour are not solid.
struct Drawn {
    QRgb ground = 0;
    std::set<QRgb> inks;
    double lowestContrast() const {
        double lowest = INFINITY;
        for (QRgb ink : inks) lowest = std::min(lowest, contrast(ink, ground));
        return lowest;
    }
};

Drawn drawnPixels(QWidget* control) {
    QWidget* window = control->window();
    const QImage shot = window->grab(QRect(control->mapTo(window, QPoint()), control->size())).toImage();
    std::map<QRgb, int> counts;
    for (int y = 0; y < shot.height(); ++y)
        for (int x = 0; x < shot.width(); ++x) ++counts[shot.pixel(x, y) | 0xff000000u];
    Drawn d;
    int most = 0;
    for (auto [c, n] : counts)
        if (n > most) most = n, d.ground = c;
    std::vector<QRgb> solid;
    for (auto [c, n] : counts)
        if (c != d.ground && n >= 8) solid.push_back(c);
    for (QRgb c : solid) {
        bool mix = false;
        for (QRgb other : solid) mix = mix || (other != c && isMix(c, d.ground, other));
        if (!mix) d.inks.insert(c);
    }
    return d;
}

QPalette darkPalette() {
    QPalette p;
    for (auto [role, rgb] : {std::pair{QPalette::Window, 0x2d2d2d},
                             {QPalette::WindowText, 0xf0f0f0},
                             {QPalette::Base, 0x1e1e1e},
                             {QPalette::Text, 0xf0f0f0},
                             {QPalette::Button, 0x3a3a3a},
                             {QPalette::ButtonText, 0xf0f0f0}})
        p.setColor(role, QColor::fromRgb(QRgb(rgb)));
    return p;
}

class ImageContrast : public ::testing::TestWithParam<bool> {
  protected:
    void SetUp() override {
        saved = QApplication::palette();
        if (GetParam()) QApplication::setPalette(darkPalette());
        SimulatedHid::instance().reset();
        SimulatedHid::instance().setActive(true);
        setenv("KEYLOOM_SERVER_URL", "http://127.0.0.1:9", 1);  // the usage reports fail at once
        HomeViewController::centralFactory() = [](std::weak_ptr<CentralDelegate> d) {
            return std::shared_ptr<BluetoothCentral>(SimulatedCentral::create(d, CentralState::unsupported));
        };
        window = std::make_unique<HomeWindowController>();
        home = window->contentViewController();
        home->viewDidLoad();
        window->show();
    }
    void TearDown() override {
        window.reset();
        SimulatedHid::instance().reset();
        HomeViewController::centralFactory() = nullptr;
        unsetenv("KEYLOOM_SERVER_URL");
        QApplication::setPalette(saved);
    }

    // Every solid colour drawn on the control reaches 3:1 against its ground, and something is drawn.
    Drawn expectLegible(QWidget* control, const char* what) {
        // Laid out: as large as its content asks.
        EXPECT_TRUE(test::processEventsUntil([&] {
            return control->isVisible() && control->size().expandedTo(control->sizeHint()) == control->size();
        })) << what;
        const Drawn d = drawnPixels(control);
        EXPECT_FALSE(d.inks.empty()) << what;
        EXPECT_GE(d.lowestContrast(), 3.0) << what;
        return d;
    }

    test::TempDataHome data;
    QPalette saved;
    std::unique_ptr<HomeWindowController> window;
    HomeViewController* home = nullptr;
};

}  // namespace

// The picker buttons in every state, for every model: legible, and one model's button drawn in the same colours as
// another's in the same state (selected: the keyboard page shown; not selected: another page shown).
TEST_P(ImageContrast, PickerButtonsOfEveryModel) {
    std::map<std::string, std::set<QRgb>> looks;  // state -> colours of the first model
    auto sameLook = [&](const std::string& state, const Drawn& d, const std::string& model) {
        auto [it, first] = looks.emplace(state, d.inks);
        if (!first) {
            EXPECT_EQ(it->second, d.inks) << model << " " << state;
        }
    };
    expectLegible(home->keyboardButton, "no keyboard, keyboard page");
    QTest::mouseClick(home->mousePadButton, Qt::LeftButton);
    expectLegible(home->mousePadButton, "mouse pad page");
    expectLegible(home->deviceImage2, "mouse pad picture");
    QTest::mouseClick(home->mouseButton, Qt::LeftButton);
    expectLegible(home->mouseButton, "mouse page");
    expectLegible(home->deviceImage0, "mouse picture");
    expectLegible(home->mousePadButton, "mouse pad button");
    expectLegible(home->keyboardButton, "no keyboard, mouse page");
    QTest::mouseClick(home->keyboardButton, Qt::LeftButton);

    for (const std::string& model : SimulatedKeyboard::modelNames()) {
        auto kb = SimulatedKeyboard::byModel(model);
        if (kb->protocol() == SimulatedKeyboard::Protocol::Receiver ||
            kb->protocol() == SimulatedKeyboard::Protocol::Plain)
            continue;
        SCOPED_TRACE(model);
        SimulatedHid::instance().plug(kb);
        ASSERT_TRUE(test::processEventsUntil([&] { return home->kbHIDdevice() != nullptr; }));
        sameLook("selected", expectLegible(home->keyboardButton, "connected, keyboard page"), model);
        QTest::mouseClick(home->mouseButton, Qt::LeftButton);
        sameLook("not selected", expectLegible(home->keyboardButton, "connected, mouse page"), model);
        QTest::mouseClick(home->keyboardButton, Qt::LeftButton);
        sameLook("selected", expectLegible(home->keyboardButton, "connected, picked again"), model);
        kb->unplug();
        ASSERT_TRUE(test::processEventsUntil([&] { return home->kbHIDdevice() == nullptr; }));
    }
}

// The badge's link and level icons at every level kind, over the simulated receiver and a Bluetooth link.
TEST_P(ImageContrast, BatteryBadge) {
    auto receiver = SimulatedHid::instance().plug(SimulatedKeyboard::receiver24g());
    for (bool bluetooth : {false, true}) {
        if (bluetooth)
            NotificationCenter::defaultCenter().post(HIDWirelessConnected,
                                                     NotificationDictionary{{"type", int64_t{1}}});
        for (int level : {5, 15, 50, 100, 255}) {
            SCOPED_TRACE(testing::Message() << (bluetooth ? "Bluetooth " : "2.4 GHz ") << level);
            receiver->setBatteryLevel(uint8_t(level));
            ASSERT_TRUE(test::processEventsUntil([&] {
                return home->batteryView->isVisible() && home->qvBatteryValue() == level &&
                       home->qvBluetoothStatus() == bluetooth;
            }));
            expectLegible(home->batteryIcon, "level icon");
            expectLegible(home->batteryMode, "link icon");
        }
    }
}

// Every legend of every model's picture on caps painted white, black, yellow and saturated red, green and blue: the
// cap's colour is the ground of its window, and every solid colour drawn on it (the legend, and a halo if there were
// one) reaches 4.5:1 against it.
TEST(LegendContrast, EveryLegendReadsOnItsCap) {
    const QColor caps[] = {Qt::white, Qt::black, Qt::yellow, QColor(255, 0, 0), QColor(0, 255, 0), QColor(0, 0, 255)};
    for (const KeyModel& model : keyModels()) {
        SCOPED_TRACE(std::string(model.name));
        const std::vector<KeyData> keys = keyDataFromCaps(placeCaps(model));
        KeyboardView picture(QRect(QPoint(), keyboardPhotoFor(keys.size(), 0, 0, 0).size), nullptr);
        picture.initUI(1, keys, 0);
        size_t legends = 0;
        for (const QColor& cap : caps) {
            SCOPED_TRACE(cap.name().toStdString());
            for (const KeyData& key : keys) picture.setKeyColor(key.index, cap);
            const QImage shot = picture.grab().toImage();
            for (const KeyData& key : keys) {
                const KeyView* patch = picture.keyView(key.index);
                if (patch->legend().isEmpty()) continue;
                SCOPED_TRACE(key.keyname);
                ++legends;
                // Inside the photo's outline of the cap.
                const QRect window = patch->geometry().adjusted(3, 3, -3, -3);
                std::map<QRgb, int> counts;
                for (int y = window.top(); y <= window.bottom(); ++y)
                    for (int x = window.left(); x <= window.right(); ++x) ++counts[shot.pixel(x, y) | 0xff000000u];
                const QRgb ground = cap.rgb();
                ASSERT_EQ(
                    std::max_element(counts.begin(), counts.end(), [](auto a, auto b) { return a.second < b.second; })
                        ->first,
                    ground);
                // The legend's ink: the colour that stands out most; every other colour antialiasing between it
                // and the cap (a halo of another colour would read as an outline).
                QRgb ink = ground;
                for (auto [c, n] : counts)
                    if (contrast(c, ground) > contrast(ink, ground)) ink = c;
                EXPECT_GE(contrast(ink, ground), 4.5) << qPrintable(QColor(ink).name());
                for (auto [c, n] : counts) {
                    EXPECT_TRUE(between(c, ground, ink))
                        << qPrintable(QColor(c).name()) << " beside " << qPrintable(QColor(ink).name());
                }
            }
        }
        EXPECT_GT(legends, 0u);
    }
}

INSTANTIATE_TEST_SUITE_P(Palettes, ImageContrast, ::testing::Values(false, true),
                         [](const auto& info) { return info.param ? "Dark" : "Default"; });
