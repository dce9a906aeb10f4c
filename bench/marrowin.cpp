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

#include "Views/Home/AppState.h"
#include "Views/Home/HomeViewController.h"
#include "Views/Home/HomeWindowController.h"
#include "Views/Keyboard/MarrowinEditorContext.h"
#include "Views/Keyboard/MarrowinViewController.h"
#include "Views/Keyboard/MarrowinWindowViewController.h"
#include "platform/DataPaths.h"
#include "platform/bluetooth/SimulatedCentral.h"
#include "platform/hid/SimulatedHid.h"

using namespace keyloom;

namespace {

double median(std::vector<double> v) {
    std::sort(v.begin(), v.end());
    return v[v.size() / 2];
}

double slowest(const std::vector<double>& v) {
    return *std::max_element(v.begin(), v.end());
}

void closeEditor() {
    QPointer<QWidget> window = KEYBOARD_VIEW.data();
    if (window) window->close();
    while (window) QApplication::processEvents(QEventLoop::AllEvents, 5);
    QApplication::processEvents();
}

}  // namespace

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    const std::string folder = argc > 1 ? argv[1] : std::filesystem::current_path().string();
    const int rounds = argc > 2 ? std::max(2, std::atoi(argv[2])) : 20;
    const std::string dataHome = folder + "/keyloom-bench-marrowin";
    std::filesystem::create_directories(dataHome);
    setenv("XDG_DATA_HOME", dataHome.c_str(), 1);
    setenv("KEYLOOM_SERVER_URL", "", 1);
    SimulatedHid::instance().setActive(true);
    registerMarrowinEditorSegue();

    HomeViewController::centralFactory() = [](std::weak_ptr<CentralDelegate> d) {
        return std::shared_ptr<BluetoothCentral>(SimulatedCentral::create(d, CentralState::unsupported));
    };
    {
        HomeWindowController home;
        home.contentViewController()->viewDidLoad();
        home.show();
        bool accepted = false;
        QObject::connect(home.contentViewController(), &HomeViewController::keyboardAccepted, [&] { accepted = true; });
        auto kb = SimulatedHid::instance().plug(SimulatedKeyboard::tolmek84());
        while (!accepted) QApplication::processEvents(QEventLoop::AllEvents | QEventLoop::WaitForMoreEvents, 10);

        std::vector<double> fresh, existing;
        for (int i = 0; i < rounds; ++i) {
            const bool first = i % 2 == 0;
            if (first) std::filesystem::remove_all(databaseFolder());
            QElapsedTimer t;
            t.start();
            home.contentViewController()->deviceImageAction();
            QApplication::processEvents();  // the first paint
            (first ? fresh : existing).push_back(t.nsecsElapsed() / 1e6);
            auto* window = qobject_cast<MarrowinWindowViewController*>(KEYBOARD_VIEW.data());
            if (!window || window->contentViewController()->context().caps().size() != 84) {
                std::fprintf(stderr, "bench_marrowin: the editor did not open with 84 caps\n");
                return 1;
            }
            window->contentViewController()->context().waitForExchanges();
            closeEditor();
        }
        std::printf(
            "click to second-generation editor shown, Tolmek 84 (84 caps on each of 2 pictures): "
            "%.1f ms (slowest %.1f) with a new profile database, %.1f ms (slowest %.1f) with the existing one "
            "(median of %d each)\n",
            median(fresh), slowest(fresh), median(existing), slowest(existing), rounds / 2);
        SimulatedHid::instance().unplug(kb);
    }
    HomeViewController::centralFactory() = nullptr;
    std::filesystem::remove_all(dataHome);
    return 0;
}
