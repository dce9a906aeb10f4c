// First-generation lighting tab on the simulated Quorvath 91, in-process, custom mode with every cap framed:
//   1. one colour change (as the colour panel hands it to the tab): our own time with the repaint the change causes
//      (processor time of the main thread: caps painted, every cap stored, block built and queued, the window drawn
//      again; of the worker: the 67 reports through the channel onto a keyboard that answers at once) against the
//      time the reports take on the USB (one 8-byte report per 1 ms frame), target at most 5 %; its parts, its
//      commits, and the main thread on the clock;
//   2. the longest main-thread stall while such changes go to a keyboard that takes 1 ms per report (target 16 ms).
// Usage: bench_keyboard_lighting [folder] [rounds]. The folder (default: the current one) should lie on the disk:
// commits are measured with their flush. A temporary data home is made inside it and removed afterwards.
// Run with QT_QPA_PLATFORM=offscreen (or under a display).
#include <stdlib.h>

#include <QApplication>
#include <QElapsedTimer>
#include <QListWidget>
#include <QPushButton>
#include <algorithm>
#include <chrono>
#include <cstdio>
#include <filesystem>
#include <string>
#include <vector>

#include "BenchSupport.h"
#include "Views/Home/AppState.h"
#include "Views/Keyboard/Quorvath/KeyboardViewController.h"
#include "Views/Keyboard/Quorvath/KeyboardWindowViewController.h"
#include "Views/Keyboard/Quorvath/LightingPanel.h"
#include "Views/Keyboard/Quorvath/core/KeyboardEditorContext.h"
#include "platform/DataPaths.h"
#include "platform/hid/SimulatedHid.h"

using namespace keyloom;
using namespace keyloom::bench;

namespace {

constexpr size_t kBlockReports = 67;

struct Figures {
    double mainMs;        // the change with the window's repaint, on the clock
    double handlerCpuMs;  // the change's own processor time: caps painted, rows stored, block built and queued
    double repaintCpuMs;  // the window drawn again afterwards
    double workerCpuMs;   // the block's reports through the channel (the simulated keyboard's recording included)
    double storeMs;       // the store of every cap with its commit, alone
    double storeCpuMs;
    uint64_t commits;
    size_t reports;
    double longestStallMs;  // the change itself, or the longest gap between turns of the main loop afterwards
};

Figures colourChanges(std::chrono::microseconds delay, int rounds) {
    auto kb = SimulatedHid::instance().plug(SimulatedKeyboard::quorvath91());
    auto handle = std::make_shared<SlowHandle>(kb->device(), delay);
    showKeyboardEditor({handle, QStringLiteral("Quorvath 91")});
    KeyboardViewController* editor = openEditor<KeyboardWindowViewController>();
    KeyboardEditorContext& ctx = *editor->context();
    ctx.waitForIdle();
    editor->ShowRadiRGBView();
    LightingPanel* lighting = editor->RadiRGBView;
    lighting->lightModeTable->setCurrentRow(9);  // the custom mode
    lighting->customKeysSelect(650, true);       // every cap framed
    ctx.waitForIdle();
    QApplication::processEvents();
    const std::string db = databaseFolder() + "/" + ctx.deviceDBfile();

    std::vector<double> mainMs, handlerCpuMs, repaintCpuMs, workerCpuMs, storeMs, storeCpuMs;
    double longest = 0;
    uint64_t commits = 0;
    size_t reports = 0;
    for (int i = 0; i < rounds; ++i) {
        kb->clearTransfers();
        const uint64_t before = changeCounter(db);
        // The worker's clock around the block: read by a job before it and a job after it.
        double workerStart = 0, workerEnd = 0;
        ctx.send([&workerStart](Quorvath&) { workerStart = threadCpuMs(); });
        ctx.waitForIdle();
        QElapsedTimer t;
        t.start();
        const double cpu = threadCpuMs();
        // The colour as the colour panel hands it to the tab.
        lighting->colorWellChange(QColor(10 + i % 200, 255 - i % 200, 60));
        const double handlerCpu = threadCpuMs() - cpu;
        QApplication::processEvents();  // the repaint
        const double main = t.nsecsElapsed() / 1e6;
        handlerCpuMs.push_back(handlerCpu);
        repaintCpuMs.push_back(threadCpuMs() - cpu - handlerCpu);
        mainMs.push_back(main);
        longest = std::max(longest, main);
        longest = std::max(longest, longestGapUntil([&] { return kb->transfers().size() >= kBlockReports; }));
        ctx.send([&workerEnd](Quorvath&) { workerEnd = threadCpuMs(); });
        ctx.waitForIdle();
        workerCpuMs.push_back(workerEnd - workerStart);
        commits = changeCounter(db) - before;
        reports = kb->transfers().size();

        // The store alone, as the change runs it: a delete and an insert per cap in one transaction.
        std::vector<RGBData> rows;
        ctx.deviceDB().queryKeyRGB(1, rows);
        QElapsedTimer s;
        s.start();
        const double storeCpu = threadCpuMs();
        ctx.store([&rows](DeviceSQLite& d) {
            for (const RGBData& row : rows) d.insertKeyRGB(row);
            return true;
        });
        storeMs.push_back(s.nsecsElapsed() / 1e6);
        storeCpuMs.push_back(threadCpuMs() - storeCpu);
    }
    closeEditor();
    SimulatedHid::instance().unplug(kb);
    return {median(mainMs),
            median(handlerCpuMs),
            median(repaintCpuMs),
            median(workerCpuMs),
            median(storeMs),
            median(storeCpuMs),
            commits,
            reports,
            longest};
}

}  // namespace

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    const int rounds = benchRounds(argc, argv, 3, 30);
    const TempDataHome home(benchFolder(argc, argv));
    if (!home.made()) return 1;
    setenv("KEYLOOM_SERVER_URL", "", 1);
    SimulatedHid::instance().setActive(true);
    registerKeyboardEditorSegue();

    const Figures quick = colourChanges(std::chrono::microseconds(0), rounds);
    const double usbMs = double(quick.reports) * 1.0;
    const double ownMs = quick.handlerCpuMs + quick.repaintCpuMs + quick.workerCpuMs;
    std::printf("one custom-mode colour change, 91 keys, every cap framed (median of %d):\n", rounds);
    std::printf(
        "  our own time with the repaint it causes %.3f ms = %.1f %% of the reports' USB time (%zu reports, "
        "%.0f ms)\n",
        ownMs, 100.0 * ownMs / usbMs, quick.reports, usbMs);
    std::printf(
        "  of it, processor time: the change %.3f ms on the main thread (store %.3f ms of it), the window's repaint "
        "%.3f ms, the reports %.3f ms on the worker; without the repaint %.1f %%\n",
        quick.handlerCpuMs, quick.storeCpuMs, quick.repaintCpuMs, quick.workerCpuMs,
        100.0 * (ownMs - quick.repaintCpuMs) / usbMs);
    std::printf("  %llu commit(s); main thread on the clock %.3f ms, of which the store with its commit %.3f ms\n",
                static_cast<unsigned long long>(quick.commits), quick.mainMs, quick.storeMs);

    const Figures slow = colourChanges(std::chrono::milliseconds(1), rounds);
    std::printf(
        "keyboard taking 1 ms per report: main thread %.3f ms per change on the clock (median); longest main-thread "
        "stall %.3f ms\n",
        slow.mainMs, slow.longestStallMs);

    SimulatedHid::instance().reset();
    return 0;
}
