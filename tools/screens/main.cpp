// keyloom_screens --out DIR [--models a,b] [--verify]: renders every screen of the gallery offscreen for each
// simulated model (all of them by default) into DIR as "<model>-<screen>.png", lists them in DIR/manifest.tsv, and
// with --verify reads every file back: a PNG of the size rendered that is not of a single colour. Fails when a screen
// that applies to a model renders nothing.

#include <QApplication>
#include <QDir>
#include <QFile>
#include <QImage>
#include <QStringList>
#include <QTemporaryDir>
#include <QTextStream>
#include <cstdio>
#include <cstdlib>

#include "ScreenGallery.h"
#include "Views/Home/HomeViewController.h"
#include "Views/Keyboard/Marrowin/MarrowinWindowViewController.h"
#include "Views/Keyboard/Quorvath/KeyboardWindowViewController.h"
#include "platform/bluetooth/SimulatedCentral.h"
#include "platform/hid/SimulatedKeyboard.h"

using namespace keyloom;

namespace {

bool uniform(const QImage& image) {
    const QRgb first = image.pixel(0, 0);
    for (int y = 0; y < image.height(); ++y)
        for (int x = 0; x < image.width(); ++x)
            if (image.pixel(x, y) != first) return false;
    return true;
}

int usage() {
    std::fprintf(stderr, "usage: keyloom_screens --out DIR [--models name,name] [--verify]\n");
    return 2;
}

}  // namespace

int main(int argc, char** argv) {
    QString out;
    QStringList models;
    bool verify = false;
    for (int i = 1; i < argc; ++i) {
        const QString arg = QString::fromLocal8Bit(argv[i]);
        if (arg == "--out" && i + 1 < argc) {
            out = QString::fromLocal8Bit(argv[++i]);
        } else if (arg == "--models" && i + 1 < argc) {
            models = QString::fromLocal8Bit(argv[++i]).split(',', Qt::SkipEmptyParts);
        } else if (arg == "--verify") {
            verify = true;
        } else {
            return usage();
        }
    }
    if (out.isEmpty()) return usage();

    // Offscreen, with a data folder of its own, no account server and no Bluetooth: nothing of the user's is touched.
    setenv("QT_QPA_PLATFORM", "offscreen", 0);
    QTemporaryDir data;
    if (!data.isValid()) return 1;
    setenv("XDG_DATA_HOME", data.path().toLocal8Bit().constData(), 1);
    setenv("KEYLOOM_SERVER_URL", "", 1);
    QApplication app(argc, argv);

    if (models.isEmpty()) {
        for (const std::string& name : SimulatedKeyboard::modelNames()) models << QString::fromStdString(name);
    }
    QDir dir(out);
    if (!dir.mkpath(".")) {
        std::fprintf(stderr, "screens: cannot create %s\n", qPrintable(out));
        return 1;
    }
    registerKeyboardEditorSegue();
    registerMarrowinEditorSegue();

    std::vector<ScreenContext::Shot> shots;
    int missing = 0;
    for (const QString& model : models) {
        if (!SimulatedKeyboard::byModel(model.toStdString())) {
            std::fprintf(stderr, "screens: unknown model \"%s\"\n", qPrintable(model));
            return 1;
        }
        HomeViewController::centralFactory() = [bluetooth = model == "bluetooth"](std::weak_ptr<CentralDelegate> d) {
            return std::shared_ptr<BluetoothCentral>(bluetooth
                                                         ? SimulatedCentral::createWithKeyboard(d)
                                                         : SimulatedCentral::create(d, CentralState::unsupported));
        };
        ScreenContext ctx(model.toStdString(), dir);
        for (const Screen& screen : screens()) {
            if (screen.appliesTo && !screen.appliesTo(ctx)) continue;
            const size_t before = ctx.shots().size();
            screen.render(ctx);
            if (ctx.shots().size() == before) {
                std::fprintf(stderr, "screens: %s rendered nothing for %s\n", screen.name, qPrintable(model));
                ++missing;
            }
        }
        shots.insert(shots.end(), ctx.shots().begin(), ctx.shots().end());
    }
    HomeViewController::centralFactory() = nullptr;

    QFile manifest(dir.filePath("manifest.tsv"));
    if (!manifest.open(QIODevice::WriteOnly | QIODevice::Truncate)) return 1;
    QTextStream list(&manifest);
    for (const auto& shot : shots) list << shot.file << '\t' << shot.size.width() << '\t' << shot.size.height() << '\n';
    list.flush();
    std::printf("screens: %zu pictures in %s\n", shots.size(), qPrintable(dir.absolutePath()));

    if (!verify) return missing == 0 ? 0 : 1;
    int bad = 0;
    for (const auto& shot : shots) {
        const QImage image(dir.filePath(shot.file));
        const char* fault = image.isNull()              ? "not a readable image"
                            : image.size() != shot.size ? "not of the size rendered"
                            : uniform(image)            ? "of a single colour"
                                                        : nullptr;
        if (!fault) continue;
        std::fprintf(stderr, "screens: %s is %s\n", qPrintable(shot.file), fault);
        ++bad;
    }
    return bad == 0 && missing == 0 && !shots.empty() ? 0 : 1;
}
