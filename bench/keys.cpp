// First-generation key tab, in-process on a simulated 87-key keyboard: one Save of a captured combination
// (Left Control + C on key C, "Keyboard function"): its commits, the reports the keyboard receives, and our own time
// on the main thread (the store and its commit included) against the time those reports take on the USB (one 8-byte
// output report per 1 ms frame). Then the same on a keyboard that takes 1 ms per report: the main thread's longest
// stall while the record goes out.
// Usage: bench_keys [folder] [rounds]. The folder (default: the current one) should lie on the disk: commits are
// measured with their flush. A temporary data home is made inside it and removed afterwards.
// Run with QT_QPA_PLATFORM=offscreen (or under a display).
#include <stdlib.h>

#include <QApplication>
#include <QElapsedTimer>
#include <QPushButton>
#include <algorithm>
#include <chrono>
#include <cstdio>
#include <filesystem>
#include <string>
#include <vector>

#include "BenchSupport.h"
#include "Views/Home/AppState.h"
#include "Views/Keyboard/DataSource/TreeNodeItemModel.h"
#include "Views/Keyboard/Quorvath/KeyCombinationCapture.h"
#include "Views/Keyboard/Quorvath/KeyPanel.h"
#include "Views/Keyboard/Quorvath/KeyboardViewController.h"
#include "Views/Keyboard/Quorvath/KeyboardWindowViewController.h"
#include "Views/Keyboard/Quorvath/core/KeyboardEditorContext.h"
#include "platform/DataPaths.h"
#include "platform/hid/SimulatedHid.h"

using namespace keyloom;
using namespace keyloom::bench;

namespace {

struct SaveFigures {
    double mainMs;   // the click on Save on the main thread, storing included
    double storeMs;  // of which the store with its commit
    double wallMs;   // until the keyboard has received the whole record
    uint32_t commits;
    size_t reports;
    double longestGapMs;  // longest time between two turns of the main loop while the record went out
};

SaveFigures combinationSave(std::chrono::microseconds delay, int rounds) {
    auto kb = SimulatedHid::instance().plug(SimulatedKeyboard::quorvath87());
    auto handle = std::make_shared<SlowHandle>(kb->device(), delay);
    showKeyboardEditor({handle, QStringLiteral("Quorvath")});
    KeyboardViewController* editor = openEditor<KeyboardWindowViewController>();
    editor->context()->waitForIdle();
    KeyPanel* keys = editor->KeyCustomView;
    keys->customkeyAction("c");
    selectVisibleRow(keys->tree, 2);           // "Keyboard function"
    keys->capture().setCombination({224, 6});  // as held: Left Control + C
    const std::string db = databaseFolder() + "/" + editor->context()->deviceDBfile();

    std::vector<double> mainMs, storeMs, wallMs;
    double longestGap = 0;
    uint32_t commits = 0;
    size_t reports = 0;
    // Round 0 warms up (the window's first paint comes with it) and is not counted.
    for (int i = 0; i <= rounds; ++i) {
        if (i == 1) {
            mainMs.clear(), storeMs.clear(), wallMs.clear();
            longestGap = 0;
        }
        kb->clearTransfers();
        const uint32_t before = changeCounter(db);
        QElapsedTimer wall;
        wall.start();
        keys->saveButton->click();
        mainMs.push_back(wall.nsecsElapsed() / 1e6);
        longestGap = std::max(longestGap, longestGapUntil([&] { return kb->transfers().size() >= 42; }));
        editor->context()->waitForIdle();
        wallMs.push_back(wall.nsecsElapsed() / 1e6);
        commits = changeCounter(db) - before;
        reports = kb->transfers().size();

        // The store alone, as the Save runs it.
        KeyMacro row;
        row.profId = 1;
        row.keyValue = 6;
        row.macroType = 3;
        row.macroValue = 224;
        row.macroDesc = "Left Control + C";
        QElapsedTimer s;
        s.start();
        editor->context()->store([&](DeviceSQLite& d) { return d.addKeyProfile(row) >= 1; });
        storeMs.push_back(s.nsecsElapsed() / 1e6);
    }
    closeEditor();
    SimulatedHid::instance().unplug(kb);
    return {median(mainMs), median(storeMs), median(wallMs), commits, reports, longestGap};
}

}  // namespace

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    const int rounds = benchRounds(argc, argv, 2, 20);
    const TempDataHome home(benchFolder(argc, argv));
    if (!home.made()) return 1;
    SimulatedHid::instance().setActive(true);

    const SaveFigures quick = combinationSave(std::chrono::microseconds(0), rounds);
    std::printf(
        "one combination Save: %u commit(s), %zu report(s); main thread %.3f ms (store and commit %.3f ms); "
        "keyboard answering at once (median of %d)\n",
        quick.commits, quick.reports, quick.mainMs, quick.storeMs, rounds);
    printUsbShare(quick.mainMs, quick.storeMs, quick.reports);

    const SaveFigures slow = combinationSave(std::chrono::milliseconds(1), rounds);
    std::printf(
        "keyboard taking 1 ms per report: main thread %.3f ms per Save (median), record received after %.3f ms; "
        "longest main-thread stall %.3f ms\n",
        slow.mainMs, slow.wallMs, std::max(slow.longestGapMs, slow.mainMs));

    SimulatedHid::instance().reset();
    return 0;
}
