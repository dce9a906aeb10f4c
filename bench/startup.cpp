// Start-up figures of the application, measured in-process on the same objects main() builds:
//   time from process start to the log-in window shown, resident memory after start, and CPU time while idle.
// Usage: bench_startup [idle-seconds]   (default 30; run with QT_QPA_PLATFORM=offscreen or under Xvfb)
// KEYLOOM_SIMULATE may name simulated keyboards, as for the program. The login store is a fresh one in a temporary
// data folder (a first start), so a remembered log-in of the user's own neither changes the figure nor is touched.
#include <sys/resource.h>
#include <unistd.h>

#include <QApplication>
#include <QElapsedTimer>
#include <QTimer>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>

#include "AppDelegate.h"
#include "Views/Login/AccountFlow.h"
#include "Views/Login/LoginWindowController.h"
#include "platform/hid/SimulatedHid.h"

using namespace keyloom;

namespace {

// Milliseconds since this process started (field 22 of /proc/self/stat, against the system uptime).
double msSinceProcessStart() {
    std::ifstream stat("/proc/self/stat");
    std::string line;
    std::getline(stat, line);
    std::istringstream rest(line.substr(line.rfind(')') + 2));
    std::string field;
    unsigned long long start = 0;
    for (int i = 3; i <= 22 && rest >> field; ++i)
        if (i == 22) start = std::stoull(field);
    std::ifstream uptimeFile("/proc/uptime");
    double uptime = 0;
    uptimeFile >> uptime;
    return (uptime - double(start) / double(sysconf(_SC_CLK_TCK))) * 1000.0;
}

long residentKiB() {
    std::ifstream status("/proc/self/status");
    std::string key;
    long value = 0;
    while (status >> key) {
        if (key == "VmRSS:") {
            status >> value;
            return value;
        }
        status.ignore(1 << 12, '\n');
    }
    return -1;
}

double cpuSeconds() {
    rusage usage{};
    getrusage(RUSAGE_SELF, &usage);
    return usage.ru_utime.tv_sec + usage.ru_stime.tv_sec + (usage.ru_utime.tv_usec + usage.ru_stime.tv_usec) / 1e6;
}

}  // namespace

int main(int argc, char** argv) {
    const int idleSeconds = argc > 1 ? std::atoi(argv[1]) : 30;
    std::string data = (std::filesystem::temp_directory_path() / "keyloom-bench-XXXXXX").string();
    if (!mkdtemp(data.data())) return 1;
    setenv("XDG_DATA_HOME", data.c_str(), 1);

    int status = 0;
    {
        QApplication app(argc, argv);
        SimulatedHid::instance().startFromEnvironment();

        AppDelegate delegate;
        delegate.applicationDidFinishLaunching();
        AccountFlow flow;
        flow.showLoginWindow();
        QApplication::processEvents();  // the first paint
        const double shownMs = msSinceProcessStart();
        const long rssKiB = residentKiB();
        if (!flow.loginWindow() || !flow.loginWindow()->isVisible()) status = 1;

        const double cpuBefore = cpuSeconds();
        QElapsedTimer wall;
        wall.start();
        QTimer::singleShot(idleSeconds * 1000, &app, &QApplication::quit);
        app.exec();
        const double idleCpu = cpuSeconds() - cpuBefore;

        std::printf("start to log-in window shown: %.1f ms\n", shownMs);
        std::printf("resident memory after start: %.1f MB\n", rssKiB / 1024.0);
        std::printf("CPU time over %.1f idle seconds: %.1f ms (%.3f %% of one core)\n", wall.elapsed() / 1000.0,
                    idleCpu * 1000.0, idleCpu * 100.0 / (wall.elapsed() / 1000.0));
    }
    std::error_code ec;
    std::filesystem::remove_all(data, ec);
    return status;
}
