// First-generation editor figures, in-process on the simulated keyboards:
//   1. click on the home picture to the editor shown: a 91-key keyboard that answers at once, with a new profile
//      database (first opening) and with the existing one (every later opening);
//   2. one settings change (the wireless light-off stepper): its commits, its reports, and our own time on the main
//      thread (storing included) against the time the reports take on the USB;
//   3. the longest main-thread stall during settings changes on a keyboard that takes 1 ms per report, from the
//      click until the change's exchange has ended.
// Usage: bench_editor [folder] [rounds]. The folder (default: the current one) should lie on the disk: commits are
// measured with their flush. A temporary data home is made inside it and removed afterwards.
// Run with QT_QPA_PLATFORM=offscreen (or under a display).
#include <stdlib.h>

#include <QApplication>
#include <QElapsedTimer>
#include <QPushButton>
#include <QTimer>
#include <QToolButton>
#include <algorithm>
#include <chrono>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <string>
#include <thread>
#include <vector>

#include "BenchSupport.h"
#include "Customized/SegueRegistry.h"
#include "SQLite/SQLiteConnection.h"
#include "Views/Home/AppState.h"
#include "Views/Home/HomeViewController.h"
#include "Views/Home/HomeWindowController.h"
#include "Views/Keyboard/Quorvath/KeyboardViewController.h"
#include "Views/Keyboard/Quorvath/KeyboardWindowViewController.h"
#include "Views/Keyboard/Quorvath/SettingsPanel.h"
#include "Views/Keyboard/Quorvath/core/KeyboardEditorContext.h"
#include "platform/DataPaths.h"
#include "platform/bluetooth/SimulatedCentral.h"
#include "platform/hid/SimulatedHid.h"

using namespace keyloom;
using namespace keyloom::bench;

namespace {

KeyboardViewController* openEditor() {
    return bench::openEditor<KeyboardWindowViewController>();
}

// 1. Home click to the editor shown and painted.
void clickToShown(int rounds) {
    std::vector<double> fresh, existing;
    bench::homeClickToShown(
        SimulatedKeyboard::quorvath91(), rounds,
        [] {
            if (KeyboardViewController* c = openEditor()) c->context()->waitForIdle();
            return true;
        },
        fresh, existing);
    std::printf(
        "click to editor shown, 91 keys: %.1f ms with a new profile database, %.1f ms with the existing one"
        " (median of %d each)\n",
        median(fresh), median(existing), rounds / 2);
}

struct ChangeFigures {
    double mainMs;   // the user action on the main thread, storing included
    double storeMs;  // of which the store with its commit
    double wallMs;   // until the keyboard has received everything
    uint32_t commits;
    size_t reports;
    double longestMainMs;  // the longest of the user actions on the main thread
    double longestGapMs;   // longest time between two turns of the main loop while the keyboard worked
};

// 2 and 3. One stepper click on the wireless light-off time, on a keyboard that takes `delay` per report.
ChangeFigures settingsChange(std::chrono::microseconds delay, int rounds) {
    auto kb = SimulatedHid::instance().plug(SimulatedKeyboard::quorvath91());
    auto handle = std::make_shared<SlowHandle>(kb->device(), delay);
    showKeyboardEditor({handle, QStringLiteral("Quorvath")});
    KeyboardViewController* editor = openEditor();
    editor->context()->waitForIdle();
    editor->ShowSettingsView();
    SettingsPanel* panel = editor->SettingsView;
    auto* up = panel->findChild<QToolButton*>(QStringLiteral("wirelessLightStepperUp"));
    const std::string db = databaseFolder() + "/" + editor->context()->deviceDBfile();

    std::vector<double> mainMs, storeMs, wallMs;
    double longestGap = 0;
    uint32_t commits = 0;
    size_t reports = 0;
    for (int i = 0; i < rounds; ++i) {
        kb->clearTransfers();
        const uint32_t before = changeCounter(db);
        QElapsedTimer wall;
        wall.start();
        up->click();
        mainMs.push_back(wall.nsecsElapsed() / 1e6);
        // The main loop keeps turning while the worker talks to the keyboard, until the change's exchange has ended
        // and what it hands back to the window has run: its longest gap is the stall.
        bool ended = false;
        editor->context()->exchange<int>([](Quorvath&) { return 0; }, [&ended](int) { ended = true; });
        longestGap = std::max(longestGap, longestGapUntil([&] { return ended; }));
        wallMs.push_back(wall.nsecsElapsed() / 1e6);
        commits = changeCounter(db) - before;
        reports = kb->transfers().size();

        // The store alone, as the action runs it.
        QElapsedTimer s;
        s.start();
        editor->context()->store([](DeviceSQLite& d) {
            d.updateConfigData(1, "idleWirelessLight", "121");
            d.updateConfigData(1, "idleWirelessSleep", "180");
            return true;
        });
        storeMs.push_back(s.nsecsElapsed() / 1e6);
    }
    closeEditor();
    SimulatedHid::instance().unplug(kb);
    return {median(mainMs), median(storeMs), median(wallMs), commits, reports, longest(mainMs), longestGap};
}

}  // namespace

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    const int rounds = bench::benchRounds(argc, argv, 2, 20);
    const bench::TempDataHome home(bench::benchFolder(argc, argv));
    if (!home.made()) return 1;
    setenv("KEYLOOM_SERVER_URL", "", 1);
    SimulatedHid::instance().setActive(true);
    registerKeyboardEditorSegue();

    clickToShown(rounds);

    const ChangeFigures quick = settingsChange(std::chrono::microseconds(0), rounds);
    std::printf(
        "one settings change: %u commit(s), %zu report(s); main thread %.3f ms (store and commit %.3f ms); "
        "keyboard answering at once\n",
        quick.commits, quick.reports, quick.mainMs, quick.storeMs);
    printUsbShare(quick.mainMs, quick.storeMs, quick.reports);

    const ChangeFigures slow = settingsChange(std::chrono::milliseconds(1), rounds);
    std::printf(
        "keyboard taking 1 ms per report: main thread %.3f ms per change (median), done after %.3f ms; "
        "longest main-thread stall %.3f ms\n",
        slow.mainMs, slow.wallMs, std::max(slow.longestGapMs, slow.longestMainMs));

    SimulatedHid::instance().reset();
    return 0;
}
