// Second-generation editor figure, in-process on the simulated keyboards: click on the home picture to the editor
// shown and painted, on the largest model (Tolmek 84, 84 caps on each of the two pictures), with a new profile
// database (first opening) and with the existing one (every later opening).
// Usage: bench_marrowin [folder] [rounds]. The folder (default: the current one) should lie on the disk: the new
// database is created with its flushes. A temporary data home is made inside it and removed afterwards.
// Run with QT_QPA_PLATFORM=offscreen (or under a display).
#include <stdlib.h>

#include <QApplication>
#include <QElapsedTimer>
#include <QPointer>
#include <algorithm>
#include <cstdio>
#include <filesystem>
#include <string>
#include <vector>

#include "BenchSupport.h"
#include "Views/Keyboard/Marrowin/MarrowinViewController.h"
#include "Views/Keyboard/Marrowin/MarrowinWindowViewController.h"
#include "Views/Keyboard/Marrowin/core/MarrowinEditorContext.h"
#include "platform/DataPaths.h"
#include "platform/hid/SimulatedHid.h"

using namespace keyloom;
using namespace keyloom::bench;

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    const int rounds = benchRounds(argc, argv, 2, 20);
    const TempDataHome home(benchFolder(argc, argv));
    if (!home.made()) return 1;
    setenv("KEYLOOM_SERVER_URL", "", 1);
    SimulatedHid::instance().setActive(true);
    registerMarrowinEditorSegue();

    std::vector<double> fresh, existing;
    const bool opened = homeClickToShown(
        SimulatedKeyboard::tolmek84(), rounds,
        [] {
            MarrowinViewController* editor = openEditor<MarrowinWindowViewController>();
            if (!editor || editor->context().caps().size() != 84) {
                std::fprintf(stderr, "bench_marrowin: the editor did not open with 84 caps\n");
                return false;
            }
            editor->context().waitForExchanges();
            return true;
        },
        fresh, existing);
    if (!opened) return 1;
    std::printf(
        "click to second-generation editor shown, Tolmek 84 (84 caps on each of 2 pictures): "
        "%.1f ms (slowest %.1f) with a new profile database, %.1f ms (slowest %.1f) with the existing one "
        "(median of %d each)\n",
        median(fresh), longest(fresh), median(existing), longest(existing), rounds / 2);
    return 0;
}
