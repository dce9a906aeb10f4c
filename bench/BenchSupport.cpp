#include "BenchSupport.h"

#include <fcntl.h>
#include <stdlib.h>
#include <time.h>
#include <unistd.h>

#include <QApplication>
#include <QElapsedTimer>
#include <algorithm>
#include <cstdio>
#include <thread>

#include "Customized/SegueRegistry.h"
#include "SQLite/SQLiteConnection.h"
#include "Views/Home/HomeViewController.h"
#include "Views/Home/HomeWindowController.h"
#include "Views/Keyboard/Marrowin/MarrowinViewController.h"
#include "Views/Keyboard/Marrowin/MarrowinWindowViewController.h"
#include "Views/Keyboard/Marrowin/core/MarrowinEditorContext.h"
#include "platform/DataPaths.h"
#include "platform/bluetooth/SimulatedCentral.h"
#include "platform/hid/SimulatedHid.h"

namespace keyloom::bench {

double median(std::vector<double> v) {
    std::sort(v.begin(), v.end());
    return v[v.size() / 2];
}

double longest(const std::vector<double>& v) {
    return *std::max_element(v.begin(), v.end());
}

double threadCpuMs() {
    timespec t{};
    clock_gettime(CLOCK_THREAD_CPUTIME_ID, &t);
    return double(t.tv_sec) * 1e3 + double(t.tv_nsec) / 1e6;
}

double medianCpuMs(int rounds, const std::function<void()>& body) {
    std::vector<double> ms;
    for (int r = 0; r < rounds; ++r) {
        const double start = threadCpuMs();
        body();
        ms.push_back(threadCpuMs() - start);
    }
    return median(std::move(ms));
}

void printUsbShare(double mainMs, double storeMs, size_t reports) {
    const double usbMs = double(reports) * 1.0;
    std::printf(
        "  our own time %.3f ms = %.1f %% of the reports' USB time (%.0f ms); without the commit's flush %.3f ms"
        " = %.1f %%\n",
        mainMs, 100.0 * mainMs / usbMs, usbMs, mainMs - storeMs, 100.0 * (mainMs - storeMs) / usbMs);
}

uint64_t changeCounter(const std::string& path) {
    return SQLiteConnection::committedTransactions(path);
}

std::filesystem::path benchFolder(int argc, char** argv) {
    return argc > 1 ? std::filesystem::path(argv[1]) : std::filesystem::current_path();
}

int benchRounds(int argc, char** argv, int least, int byDefault) {
    return argc > 2 ? std::max(least, std::atoi(argv[2])) : byDefault;
}

TempDataHome::TempDataHome(const std::filesystem::path& base) : path_((base / "keyloom-bench-XXXXXX").string()) {
    made_ = mkdtemp(path_.data()) != nullptr;
    if (!made_) {
        std::perror("mkdtemp");
        return;
    }
    setenv("XDG_DATA_HOME", path_.c_str(), 1);
}

TempDataHome::~TempDataHome() {
    if (!made_) return;
    std::error_code ec;
    std::filesystem::remove_all(path_, ec);
}

QuietStdout::QuietStdout() {
    std::fflush(stdout);
    console_ = dup(STDOUT_FILENO);
    const int devNull = open("/dev/null", O_WRONLY);
    dup2(devNull, STDOUT_FILENO);
    close(devNull);
}

QuietStdout::~QuietStdout() {
    restore();
}

void QuietStdout::restore() {
    if (console_ < 0) return;
    std::fflush(stdout);
    dup2(console_, STDOUT_FILENO);
    close(console_);
    console_ = -1;
}

int SlowHandle::setReport(HidReportType type, int64_t reportId, const uint8_t* bytes, size_t length) {
    if (delay_.count()) std::this_thread::sleep_for(delay_);
    return inner_->setReport(type, reportId, bytes, length);
}

int SlowHandle::getReport(HidReportType type, int64_t reportId, uint8_t* buffer, size_t& length) {
    if (delay_.count()) std::this_thread::sleep_for(delay_);
    return inner_->getReport(type, reportId, buffer, length);
}

int AnsweringDevice::setReport(HidReportType, int64_t, const uint8_t* bytes, size_t length) {
    std::copy(bytes, bytes + std::min(length, last.size()), last.begin());
    ++transfers;
    return kHidSuccess;
}

int AnsweringDevice::getReport(HidReportType, int64_t, uint8_t* buffer, size_t& length) {
    length = std::min(length, last.size());
    std::copy(last.begin(), last.begin() + static_cast<std::ptrdiff_t>(length), buffer);
    ++transfers;
    return kHidSuccess;
}

double longestGapUntil(const std::function<bool()>& done) {
    double longestMs = 0;
    QElapsedTimer gap;
    gap.start();
    while (!done()) {
        QApplication::processEvents(QEventLoop::AllEvents);
        longestMs = std::max(longestMs, gap.nsecsElapsed() / 1e6);
        gap.restart();
    }
    return longestMs;
}

void closeEditor() {
    QPointer<QWidget> window = KEYBOARD_VIEW.data();
    if (window) window->close();
    while (window) QApplication::processEvents(QEventLoop::AllEvents, 5);
    QApplication::processEvents();
}

MarrowinViewController* openMarrowinEditor(const std::shared_ptr<SimulatedKeyboard>& keyboard, const QString& title) {
    registerMarrowinEditorSegue();
    SegueRegistry::shared().perform(QStringLiteral("showmarrowinkb"), nullptr,
                                    KeyboardSegueSender{keyboard->device(), title});
    MarrowinViewController* editor = openEditor<MarrowinWindowViewController>();
    if (!editor || !editor->context().isOpen()) return nullptr;
    editor->context().waitForExchanges();
    return editor;
}

bool homeClickToShown(std::shared_ptr<SimulatedKeyboard> keyboard, int rounds, const std::function<bool()>& opened,
                      std::vector<double>& fresh, std::vector<double>& existing) {
    HomeViewController::centralFactory() = [](std::weak_ptr<CentralDelegate> d) {
        return std::shared_ptr<BluetoothCentral>(SimulatedCentral::create(d, CentralState::unsupported));
    };
    bool ok = true;
    {
        HomeWindowController home;
        home.contentViewController()->viewDidLoad();
        home.show();
        bool accepted = false;
        QObject::connect(home.contentViewController(), &HomeViewController::keyboardAccepted, [&] { accepted = true; });
        auto kb = SimulatedHid::instance().plug(std::move(keyboard));
        while (!accepted) QApplication::processEvents(QEventLoop::AllEvents | QEventLoop::WaitForMoreEvents, 10);

        for (int i = 0; i < rounds && ok; ++i) {
            const bool first = i % 2 == 0;
            if (first) std::filesystem::remove_all(databaseFolder());
            QElapsedTimer t;
            t.start();
            home.contentViewController()->deviceImageAction();
            QApplication::processEvents();  // the first paint
            (first ? fresh : existing).push_back(t.nsecsElapsed() / 1e6);
            ok = opened();
            closeEditor();
        }
        SimulatedHid::instance().unplug(kb);
    }
    HomeViewController::centralFactory() = nullptr;
    return ok;
}

}  // namespace keyloom::bench
