// The home screen with many keyboards plugged at once: the longest main-thread turn from the plugging until the screen
// has settled on the last keyboard (its picture, label and usage report), with 1, 6 and 18 simulated keyboards, and
// the ratio 18 : 1 within the run.
//
// The keyboards are the last 1, 6 and 18 of the simulated models in the README's order, so each case ends with the
// same keyboard (the Ostrel TE 62), the one the home screen then shows. Each case of each round runs in a process of
// its own, so no case finds pictures or fonts that another one drew; the cases alternate from round to round.
// Usage: bench_home [rounds (9)]. Run with QT_QPA_PLATFORM=offscreen (or under a display). The account server is the
// one the environment names (KEYLOOM_SERVER_URL), none by default.
#include <stdio.h>
#include <stdlib.h>

#include <QApplication>
#include <QElapsedTimer>
#include <algorithm>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <map>
#include <string>
#include <vector>

#include "BenchSupport.h"
#include "USB/KeyboardProducts.h"
#include "Views/Home/HomeViewController.h"
#include "Views/Home/HomeWindowController.h"
#include "Views/Home/KeyboardIdentification.h"
#include "platform/bluetooth/SimulatedCentral.h"
#include "platform/hid/SimulatedHid.h"

using namespace keyloom;
using namespace keyloom::bench;

namespace {

constexpr int kCounts[] = {1, 6, 18};
constexpr int kSettledAfterMs = 500;  // no acceptance for this long after the last one: the screen has settled
constexpr int kGiveUpMs = 20000;

bool isHomeKeyboard(const SimulatedKeyboard& kb) {
    const KeyboardProduct* row = findProductByIds(kb.vendorId(), kb.productId());
    return kb.product() != kIgnoredProductName && row &&
           (row->kind == ProductKind::FirstGeneration || row->kind == ProductKind::SecondGeneration);
}

// Turns the main loop, without waiting, until it has had nothing to do for a while: start-up work is not counted.
void settle() {
    QElapsedTimer t;
    t.start();
    while (t.elapsed() < 300) QApplication::processEvents(QEventLoop::AllEvents | QEventLoop::WaitForMoreEvents, 50);
}

// One case in this process: prints "longest <ms> shown <label>".
int runCase(int argc, char** argv, int count) {
    if (!qEnvironmentVariableIsSet("QT_QPA_PLATFORM") && !qEnvironmentVariableIsSet("DISPLAY"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QuietStdout quiet;
    TempDataHome data(std::filesystem::temp_directory_path());
    if (!data.made()) return 1;
    QApplication app(argc, argv);
    SimulatedHid::instance().setActive(true);
    HomeViewController::centralFactory() = [](std::weak_ptr<CentralDelegate> d) {
        return std::shared_ptr<BluetoothCentral>(SimulatedCentral::create(d, CentralState::unsupported));
    };
    double longestMs = 0;
    QString shown;
    {
        HomeWindowController window;
        HomeViewController* home = window.contentViewController();
        home->viewDidLoad();
        window.show();
        while (SimulatedHid::instance().managerCount() == 0)
            QApplication::processEvents(QEventLoop::AllEvents | QEventLoop::WaitForMoreEvents, 10);
        settle();

        const std::vector<std::string> names = SimulatedKeyboard::modelNames();
        std::vector<std::shared_ptr<SimulatedKeyboard>> keyboards;
        for (size_t i = names.size() - std::min<size_t>(names.size(), size_t(count)); i < names.size(); ++i)
            keyboards.push_back(SimulatedKeyboard::byModel(names[i]));
        const auto expected =
            std::count_if(keyboards.begin(), keyboards.end(), [](const auto& kb) { return isHomeKeyboard(*kb); });
        long accepted = 0;
        QElapsedTimer sinceAccepted;
        QObject::connect(home, &HomeViewController::keyboardAccepted, [&] {
            ++accepted;
            sinceAccepted.restart();
        });

        QElapsedTimer sincePlugged;
        sincePlugged.start();
        for (const auto& kb : keyboards) SimulatedHid::instance().plug(kb);  // all at once
        longestMs = longestGapUntil([&] {
            return sincePlugged.elapsed() > kGiveUpMs ||
                   (accepted >= expected && sinceAccepted.isValid() && sinceAccepted.elapsed() > kSettledAfterMs);
        });
        if (accepted < expected) {
            std::fprintf(stderr, "bench_home: %ld of %ld keyboards accepted\n", accepted, long(expected));
            return 1;
        }
        shown = home->keyboardDesc();
        SimulatedHid::instance().unplugAll();
    }
    HomeViewController::centralFactory() = nullptr;
    quiet.restore();
    std::printf("longest %.3f shown %s\n", longestMs, shown.toStdString().c_str());
    return 0;
}

// Runs one case in a new process; its longest turn, or a negative number when it failed.
double spawnCase(int count, std::string& shown) {
    const std::string self = std::filesystem::read_symlink("/proc/self/exe").string();
    const std::string command = "'" + self + "' --case " + std::to_string(count);
    FILE* child = popen(command.c_str(), "r");
    if (!child) return -1;
    char line[256] = {};
    double ms = -1;
    while (std::fgets(line, sizeof line, child)) {
        char label[128] = {};
        if (std::sscanf(line, "longest %lf shown %127[^\n]", &ms, label) >= 1) shown = label;
    }
    return pclose(child) == 0 ? ms : -1;
}

}  // namespace

int main(int argc, char** argv) {
    if (argc > 2 && std::strcmp(argv[1], "--case") == 0) return runCase(argc, argv, std::max(1, std::atoi(argv[2])));
    const int rounds = argc > 1 ? std::max(1, std::atoi(argv[1])) : 9;

    std::map<int, std::vector<double>> longestMs;
    std::map<int, std::string> shown;
    for (int round = 0; round < rounds; ++round) {
        for (size_t i = 0; i < std::size(kCounts); ++i) {
            const int count = kCounts[(i + size_t(round)) % std::size(kCounts)];
            const double ms = spawnCase(count, shown[count]);
            if (ms < 0) {
                std::fprintf(stderr, "bench_home: the case with %d keyboards failed\n", count);
                return 1;
            }
            longestMs[count].push_back(ms);
        }
    }
    const char* server = std::getenv("KEYLOOM_SERVER_URL");
    std::printf("home screen, keyboards plugged at once, longest main-thread turn until settled, %d rounds%s%s\n",
                rounds, server && *server ? ", server " : ", no server", server && *server ? server : "");
    for (const int count : kCounts) {
        const std::vector<double>& v = longestMs[count];
        std::printf("  %2d keyboards: median %7.1f ms (min %.1f, max %.1f), shows \"%s\"\n", count, median(v),
                    *std::min_element(v.begin(), v.end()), longest(v), shown[count].c_str());
    }
    std::printf("ratio 18 : 1 of the medians: %.2f\n", median(longestMs[18]) / median(longestMs[1]));
    return 0;
}
