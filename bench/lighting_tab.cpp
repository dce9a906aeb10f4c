// Second-generation lighting tab on the simulated Tolmek 84 (the largest per-key picture), in-process:
//   the longest main-thread stall during per-key colour changes (mode 20, every cap framed): the colour's handling
//   (paint, store of every cap, block built and handed to the worker) and the event-loop turn that repaints;
//   the commits per change; the same for a mode choice and a brightness change.
// The keyboard takes its real 10 ms pauses on the worker while the window goes on (target: no stall over 16 ms).
// Usage: bench_lighting_tab [folder] [rounds]. The folder (default: the current one) should lie on the disk: commits
// are measured with their flush. A temporary data home is made inside it and removed afterwards.
// Run with QT_QPA_PLATFORM=offscreen (or under a display).
#include <fcntl.h>
#include <stdlib.h>
#include <unistd.h>

#include <QApplication>
#include <QCheckBox>
#include <QColorDialog>
#include <QElapsedTimer>
#include <QListWidget>
#include <QPushButton>
#include <QSlider>
#include <algorithm>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <functional>
#include <string>
#include <vector>

#include "SQLite/SQLiteConnection.h"
#include "CustomControl/KeyboardView.h"
#include "Customized/SegueRegistry.h"
#include "Views/Home/AppState.h"
#include "Views/Keyboard/MarrowinEditorContext.h"
#include "Views/Keyboard/MarrowinRadiRGBView.h"
#include "Views/Keyboard/MarrowinViewController.h"
#include "Views/Keyboard/MarrowinWindowViewController.h"
#include "Views/Keyboard/SharedColorPanel.h"
#include "platform/DataPaths.h"
#include "platform/hid/SimulatedHid.h"

using namespace keyloom;

namespace {

// Write transactions committed to the file at path.
uint64_t changeCounter(const std::string& path) { return SQLiteConnection::committedTransactions(path); }

struct Figures {
    double medianMs = 0;
    double maxMs = 0;
    double commitsPerChange = 0;
};

// Each change: the user's action, then the event-loop turn it caused (repaint), timed together on the main thread.
Figures measure(int rounds, const std::string& db, const std::function<void(int round)>& change) {
    std::vector<double> ms;
    const uint32_t before = changeCounter(db);
    for (int r = 0; r < rounds; ++r) {
        QElapsedTimer timer;
        timer.start();
        change(r);
        QApplication::processEvents();
        ms.push_back(double(timer.nsecsElapsed()) / 1e6);
    }
    const uint32_t commits = changeCounter(db) - before;
    std::sort(ms.begin(), ms.end());
    return {ms[ms.size() / 2], ms.back(), double(commits) / rounds};
}

void report(const char* label, const Figures& f) {
    std::printf("  %-34s median %6.2f ms   longest %6.2f ms   %.2f commits per change\n", label, f.medianMs, f.maxMs,
                f.commitsPerChange);
}

}  // namespace

int main(int argc, char** argv) {
    const std::filesystem::path base = argc > 1 ? argv[1] : std::filesystem::current_path().string();
    const int rounds = argc > 2 ? std::max(3, std::atoi(argv[2])) : 40;
    std::string home = (base / "keyloom-bench-XXXXXX").string();
    if (!mkdtemp(home.data())) {
        std::perror("mkdtemp");
        return 1;
    }
    setenv("XDG_DATA_HOME", home.c_str(), 1);
    setenv("QT_QPA_PLATFORM", "offscreen", 0);
    // The store's and the channel's own lines go to /dev/null.
    std::fflush(stdout);
    const int console = dup(STDOUT_FILENO);
    const int devNull = open("/dev/null", O_WRONLY);
    dup2(devNull, STDOUT_FILENO);
    close(devNull);
    int status = 0;
    {
        QApplication app(argc, argv);
        SimulatedHid::instance().setActive(true);
        registerMarrowinEditorSegue();
        auto keyboard = SimulatedHid::instance().plug(SimulatedKeyboard::tolmek84());
        SegueRegistry::shared().perform(QStringLiteral("showmarrowinkb"), nullptr,
                                        KeyboardSegueSender{keyboard->device(), QStringLiteral("Tolmek V2 TE")});
        auto* window = qobject_cast<MarrowinWindowViewController*>(KEYBOARD_VIEW.data());
        MarrowinViewController* editor = window ? window->contentViewController() : nullptr;
        if (!editor || !editor->context().isOpen()) {
            status = 1;
        } else {
            editor->context().waitForExchanges();
            editor->ShowRadiRGBView();
            MarrowinRadiRGBView* lighting = editor->RadiRGBView;
            const std::string db = databaseFolder() + "/" + editor->deviceDBfile();
            QApplication::processEvents();

            const Figures modes =
                measure(rounds, db, [&](int r) { lighting->lightModeTable->setCurrentRow(r % 2 ? 1 : 4); });
            lighting->lightModeTable->setCurrentRow(19);
            lighting->findChild<QCheckBox*>(QStringLiteral("customKeys650"))->click();
            lighting->lightRandomColorWell->click();
            const Figures colours = measure(rounds, db, [&](int r) {
                sharedColorPanel()->setCurrentColor(QColor::fromHsv(r * 7 % 360, 255, 255));
            });
            closeSharedColorPanel();
            lighting->lightModeTable->setCurrentRow(4);
            const Figures brightness =
                measure(rounds, db, [&](int r) { lighting->lightbrightnessSlider->setValue(r % 2 ? 3 : 12); });
            editor->context().waitForExchanges();
            const size_t caps = lighting->radiKeyboardView ? editor->context().caps().size() : 0;

            std::fflush(stdout);
            dup2(console, STDOUT_FILENO);
            std::printf("second-generation lighting tab, Tolmek 84 (%zu caps), %d changes each, data home %s:\n", caps,
                        rounds, home.c_str());
            report("per-key colour (mode 20, all framed)", colours);
            report("mode choice", modes);
            report("brightness", brightness);
            std::printf("  target: no main-thread stall over 16 ms, at most 1 commit per change\n");
            window->close();
            QApplication::processEvents();
        }
        SimulatedHid::instance().reset();
    }
    close(console);
    std::error_code ec;
    std::filesystem::remove_all(home, ec);
    return status;
}
