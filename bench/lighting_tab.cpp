// Second-generation lighting tab on the simulated Tolmek 84 (the largest per-key picture), in-process, per-key colour
// changes (mode 20, as the colour panel hands them to the tab):
//   1. headline: our own time of a change with the repaint it causes (processor time of the main thread: caps
//      painted, colours stored, block built and handed over, the window drawn again; of the worker: the upload through
//      the channel) against the time the upload's transfers take (the keyboard's 10 ms pause before each);
//   2. the longest main-thread turn of a change with its repaint, and its parts (medians): the store with its commit,
//      the block's build, the rest of the handler (painting the caps), the repaint; its commits;
// each for a few caps (W A S D framed on a picture with every cap coloured) and for every cap framed; then the same
// turn for a mode choice and a brightness change.
// The keyboard takes its real 10 ms pauses on the worker while the window goes on (target: no turn over 16 ms).
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
#include <atomic>
#include <cstdio>
#include <filesystem>
#include <functional>
#include <string>
#include <vector>

#include "BenchSupport.h"
#include "CustomControl/KeyView.h"
#include "CustomControl/KeyboardView.h"
#include "SQLite/MarrowinDeviceSQLite.h"
#include "Views/Home/AppState.h"
#include "Views/Keyboard/Marrowin/MarrowinRadiRGBView.h"
#include "Views/Keyboard/Marrowin/MarrowinViewController.h"
#include "Views/Keyboard/Marrowin/MarrowinWindowViewController.h"
#include "Views/Keyboard/Marrowin/core/MarrowinEditorContext.h"
#include "Views/Keyboard/Marrowin/core/MarrowinKeyCaps.h"
#include "Views/Keyboard/Marrowin/core/MarrowinLightModes.h"
#include "Views/Keyboard/Marrowin/core/MarrowinLightingBlock.h"
#include "Views/Keyboard/Marrowin/core/MarrowinLightingStore.h"
#include "Views/Keyboard/Shared/SharedColorPanel.h"
#include "platform/DataPaths.h"
#include "platform/hid/SimulatedHid.h"

using namespace keyloom;
using namespace keyloom::bench;

namespace {

constexpr double kPauseMs = 10.0;  // the keyboard's pause before each transfer of an upload

struct Turns {
    double medianMs = 0;
    double maxMs = 0;
    double commitsPerChange = 0;
};

// Each change: the user's action, then the event-loop turn it caused (repaint), timed together on the main thread.
Turns measureTurns(int rounds, const std::string& db, const std::function<void(int round)>& change) {
    std::vector<double> ms;
    const uint64_t before = changeCounter(db);
    for (int r = 0; r < rounds; ++r) {
        QElapsedTimer timer;
        timer.start();
        change(r);
        QApplication::processEvents();
        ms.push_back(double(timer.nsecsElapsed()) / 1e6);
    }
    const uint64_t commits = changeCounter(db) - before;
    return {median(ms), longest(ms), double(commits) / rounds};
}

struct ColourFigures {
    double turnMs = 0, longestTurnMs = 0;  // the change with its repaint, on the clock
    double handlerMs = 0, storeMs = 0, buildMs = 0, repaintMs = 0;
    double handlerCpuMs = 0, repaintCpuMs = 0, workerCpuMs = 0;
    double commitsPerChange = 0;
    size_t transfers = 0;
};

// The rows the tab stores for the colours its picture shows.
std::vector<RGBData> shownRows(MarrowinRadiRGBView& lighting, MarrowinEditorContext& ctx) {
    std::vector<std::string> names;
    std::vector<int64_t> colours;
    for (const KeyData& key : lighting.radiKeyboardView->keyDataArrayHover()) {
        names.push_back(key.keyname);
        const QColor c = lighting.radiKeyboardView->keyView(key.index)->backgroundColor().toRgb();
        colours.push_back(rgbValue(uint8_t(c.red()), uint8_t(c.green()), uint8_t(c.blue())));
    }
    const auto mode20 = readLightRecord(*ctx.deviceDB, ctx.currentProfile, kPerKeyLightMode);
    return perKeyColourRows(names, colours, ctx.nameMap(), mode20 ? mode20->radiId : 0, ctx.currentProfile);
}

ColourFigures colourChanges(MarrowinRadiRGBView& lighting, MarrowinEditorContext& ctx,
                            const std::shared_ptr<SimulatedKeyboard>& kb, const std::string& db, int rounds) {
    std::vector<double> turn, handler, store, build, repaint, handlerCpu, repaintCpu, workerCpu;
    uint64_t commits = 0;
    size_t transfers = 0;
    for (int r = 0; r < rounds; ++r) {
        ctx.waitForExchanges();
        QApplication::processEvents();
        kb->clearTransfers();
        const std::vector<RGBData> rowsBefore = shownRows(lighting, ctx);
        // The worker's clock around the upload: read by a job before it and a job after it.
        std::atomic<double> workerStart{0}, workerEnd{0};
        ctx.exchange("bench clock before", [&workerStart](MarrowinV2&) { workerStart = threadCpuMs(); });
        ctx.waitForExchanges();
        const uint64_t commitsBefore = changeCounter(db);

        QElapsedTimer t;
        t.start();
        const double cpu = threadCpuMs();
        sharedColorPanel()->setCurrentColor(QColor::fromHsv(r * 37 % 360, 255, 255));
        handler.push_back(t.nsecsElapsed() / 1e6);
        handlerCpu.push_back(threadCpuMs() - cpu);
        QApplication::processEvents();  // the repaint
        turn.push_back(t.nsecsElapsed() / 1e6);
        repaint.push_back(turn.back() - handler.back());
        repaintCpu.push_back(threadCpuMs() - cpu - handlerCpu.back());
        commits += changeCounter(db) - commitsBefore;

        ctx.exchange("bench clock after", [&workerEnd](MarrowinV2&) { workerEnd = threadCpuMs(); });
        ctx.waitForExchanges();
        workerCpu.push_back(workerEnd - workerStart);
        transfers = kb->transfers().size();

        // The parts alone, as the change ran them: the store from the rows before the change to the rows after it
        // (the earlier rows put back first, untimed), then the block's build.
        const std::vector<RGBData> rowsAfter = shownRows(lighting, ctx);
        storeKeyColours(*ctx.deviceDB, rowsBefore);
        QElapsedTimer s;
        s.start();
        storeKeyColours(*ctx.deviceDB, rowsAfter);
        store.push_back(s.nsecsElapsed() / 1e6);
        s.restart();
        const auto block = readLightingBlock(*ctx.deviceDB, ctx.currentProfile, ctx.codeMap(), ctx.deviceType);
        build.push_back(block ? s.nsecsElapsed() / 1e6 : 0.0);
    }
    return {median(turn),    longest(turn),      median(handler),    median(store),     median(build),
            median(repaint), median(handlerCpu), median(repaintCpu), median(workerCpu), double(commits) / rounds,
            transfers};
}

void reportColours(const char* label, const ColourFigures& f) {
    const double uploadMs = double(f.transfers) * kPauseMs;
    const double ownMs = f.handlerCpuMs + f.repaintCpuMs + f.workerCpuMs;
    std::printf("  %s:\n", label);
    std::printf(
        "    our own time with the repaint %.3f ms = %.1f %% of the upload's %zu transfers (%.0f ms with the "
        "keyboard's pauses): the change %.3f ms and its repaint %.3f ms of processor time on the main thread, the "
        "upload %.3f ms on the worker\n",
        ownMs, 100.0 * ownMs / uploadMs, f.transfers, uploadMs, f.handlerCpuMs, f.repaintCpuMs, f.workerCpuMs);
    std::printf("    longest turn (change with its repaint) %.2f ms, median %.2f ms; %.2f commits per change\n",
                f.longestTurnMs, f.turnMs, f.commitsPerChange);
    std::printf(
        "    parts (median, on the clock): handler %.2f ms = store %.2f + build %.2f + painting the caps and the "
        "rest %.2f; repaint %.2f ms\n",
        f.handlerMs, f.storeMs, f.buildMs, std::max(0.0, f.handlerMs - f.storeMs - f.buildMs), f.repaintMs);
}

void reportTurns(const char* label, const Turns& f) {
    std::printf("  %-11s longest turn %6.2f ms, median %6.2f ms; %.2f commits per change\n", label, f.maxMs, f.medianMs,
                f.commitsPerChange);
}

}  // namespace

int main(int argc, char** argv) {
    const int rounds = benchRounds(argc, argv, 3, 40);
    const TempDataHome home(benchFolder(argc, argv));
    if (!home.made()) return 1;
    setenv("QT_QPA_PLATFORM", "offscreen", 0);
    setenv("KEYLOOM_SERVER_URL", "", 1);
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
            MarrowinEditorContext& ctx = editor->context();
            const std::string db = databaseFolder() + "/" + editor->deviceDBfile();
            QApplication::processEvents();
            const auto check = [&](int tag) {
                return lighting->findChild<QCheckBox*>(QStringLiteral("customKeys%1").arg(tag));
            };

            const Turns modes =
                measureTurns(rounds, db, [&](int r) { lighting->lightModeTable->setCurrentRow(r % 2 ? 1 : 4); });
            ctx.waitForExchanges();
            lighting->lightModeTable->setCurrentRow(19);
            // Every cap coloured, then W A S D alone framed.
            check(650)->click();
            lighting->lightRandomColorWell->click();
            sharedColorPanel()->setCurrentColor(QColor(250, 250, 250));
            check(650)->click();
            check(651)->click();
            const ColourFigures few = colourChanges(*lighting, ctx, keyboard, db, rounds);
            check(650)->click();
            const ColourFigures every = colourChanges(*lighting, ctx, keyboard, db, rounds);
            closeSharedColorPanel();
            ctx.waitForExchanges();
            lighting->lightModeTable->setCurrentRow(4);
            const Turns brightness =
                measureTurns(rounds, db, [&](int r) { lighting->lightbrightnessSlider->setValue(r % 2 ? 3 : 12); });
            ctx.waitForExchanges();
            const size_t caps = lighting->radiKeyboardView ? lighting->radiKeyboardView->keyDataArrayHover().size() : 0;

            quiet.restore();
            std::printf("second-generation lighting tab, Tolmek 84 (%zu caps), %d changes each, data home %s:\n", caps,
                        rounds, home.path().c_str());
            reportColours("per-key colour of a few caps (W A S D framed, every cap coloured)", few);
            reportColours("per-key colour of every cap (all framed)", every);
            reportTurns("mode choice", modes);
            reportTurns("brightness", brightness);
            std::printf(
                "  targets: no main-thread turn over 16 ms, at most 1 commit per change, our own time at "
                "most 5 %%\n");
            closeEditor();
        }
        SimulatedHid::instance().reset();
    }
    return status;
}
