// Second-generation lighting tab on the simulated Tolmek 84 (the largest per-key picture), in-process:
//   the longest main-thread stall during per-key colour changes (mode 20, every cap framed): the colour's handling
//   (paint, store of every cap, block built and handed to the worker) and the event-loop turn that repaints;
//   the commits per change; the same for a mode choice and a brightness change.
// The keyboard takes its real 10 ms pauses on the worker while the window goes on (target: no stall over 16 ms).
// Usage: bench_lighting_tab [folder] [rounds]. The folder (default: the current one) should lie on the disk: commits
// are measured with their flush. A temporary data home is made inside it and removed afterwards.
// Run with QT_QPA_PLATFORM=offscreen (or under a display).
#include <stdlib.h>

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
#include <functional>
#include <string>
#include <vector>

#include "BenchSupport.h"
#include "CustomControl/KeyboardView.h"
#include "Views/Home/AppState.h"
#include "Views/Keyboard/Marrowin/MarrowinRadiRGBView.h"
#include "Views/Keyboard/Marrowin/MarrowinViewController.h"
#include "Views/Keyboard/Marrowin/MarrowinWindowViewController.h"
#include "Views/Keyboard/Marrowin/core/MarrowinEditorContext.h"
#include "Views/Keyboard/Shared/SharedColorPanel.h"
#include "platform/DataPaths.h"
#include "platform/hid/SimulatedHid.h"

using namespace keyloom;
using namespace keyloom::bench;

namespace {

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
    const int rounds = benchRounds(argc, argv, 3, 40);
    const TempDataHome home(benchFolder(argc, argv));
    if (!home.made()) return 1;
    setenv("QT_QPA_PLATFORM", "offscreen", 0);
    QuietStdout quiet;
    int status = 0;
    {
        QApplication app(argc, argv);
        SimulatedHid::instance().setActive(true);
        auto keyboard = SimulatedHid::instance().plug(SimulatedKeyboard::tolmek84());
        MarrowinViewController* editor = openMarrowinEditor(keyboard, QStringLiteral("Tolmek V2 TE"));
        if (!editor) {
            status = 1;
        } else {
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

            quiet.restore();
            std::printf("second-generation lighting tab, Tolmek 84 (%zu caps), %d changes each, data home %s:\n", caps,
                        rounds, home.path().c_str());
            report("per-key colour (mode 20, all framed)", colours);
            report("mode choice", modes);
            report("brightness", brightness);
            std::printf("  target: no main-thread stall over 16 ms, at most 1 commit per change\n");
            closeEditor();
        }
        SimulatedHid::instance().reset();
    }
    return status;
}
