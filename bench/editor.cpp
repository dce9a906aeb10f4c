// First-generation editor figures, in-process on the simulated keyboards:
//   1. click on the home picture to the editor shown: a 91-key keyboard that answers at once, with a new profile
//      database (first opening) and with the existing one (every later opening);
//   2. one settings change (the wireless light-off stepper): its commits, its reports, and our own time on the main
//      thread (storing included) against the time the reports take on the USB;
//   3. the longest main-thread stall during settings changes on a keyboard that takes 1 ms per report.
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

#include "SQLite/SQLiteConnection.h"
#include "Customized/SegueRegistry.h"
#include "Views/Home/AppState.h"
#include "Views/Home/HomeViewController.h"
#include "Views/Home/HomeWindowController.h"
#include "Views/Keyboard/KeyboardViewController.h"
#include "Views/Keyboard/KeyboardWindowViewController.h"
#include "Views/Keyboard/SettingsPanel.h"
#include "Views/Keyboard/core/KeyboardEditorContext.h"
#include "platform/DataPaths.h"
#include "platform/bluetooth/SimulatedCentral.h"
#include "platform/hid/SimulatedHid.h"

using namespace keyloom;

namespace {

// A keyboard whose every transfer takes `delay` before the simulated keyboard sees it.
class SlowHandle : public HidHandle {
  public:
    SlowHandle(HidHandleRef inner, std::chrono::microseconds delay) : inner_(std::move(inner)), delay_(delay) {}
    HidPropertyValue property(std::string_view key) const override { return inner_->property(key); }
    int setReport(HidReportType type, int64_t reportId, const uint8_t* bytes, size_t length) override {
        std::this_thread::sleep_for(delay_);
        return inner_->setReport(type, reportId, bytes, length);
    }
    int getReport(HidReportType type, int64_t reportId, uint8_t* buffer, size_t& length) override {
        std::this_thread::sleep_for(delay_);
        return inner_->getReport(type, reportId, buffer, length);
    }
    bool removed() const override { return inner_->removed(); }

  private:
    HidHandleRef inner_;
    std::chrono::microseconds delay_;
};

double median(std::vector<double> v) {
    std::sort(v.begin(), v.end());
    return v[v.size() / 2];
}

// Write transactions committed to the file at path.
uint64_t changeCounter(const std::string& path) { return SQLiteConnection::committedTransactions(path); }

KeyboardViewController* openEditor() {
    auto* window = qobject_cast<KeyboardWindowViewController*>(KEYBOARD_VIEW.data());
    return window ? window->contentViewController() : nullptr;
}

void closeEditor() {
    QPointer<QWidget> window = KEYBOARD_VIEW.data();
    if (window) window->close();
    while (window) QApplication::processEvents(QEventLoop::AllEvents, 5);
    QApplication::processEvents();
}

// 1. Home click to the editor shown and painted.
void clickToShown(int rounds) {
    HomeViewController::centralFactory() = [](std::weak_ptr<CentralDelegate> d) {
        return std::shared_ptr<BluetoothCentral>(SimulatedCentral::create(d, CentralState::unsupported));
    };
    HomeWindowController home;
    home.contentViewController()->viewDidLoad();
    home.show();
    bool accepted = false;
    QObject::connect(home.contentViewController(), &HomeViewController::keyboardAccepted, [&] { accepted = true; });
    auto kb = SimulatedHid::instance().plug(SimulatedKeyboard::quorvath91());
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
        if (KeyboardViewController* c = openEditor()) c->context()->waitForIdle();
        closeEditor();
    }
    std::printf(
        "click to editor shown, 91 keys: %.1f ms with a new profile database, %.1f ms with the existing one"
        " (median of %d each)\n",
        median(fresh), median(existing), rounds / 2);
    SimulatedHid::instance().unplug(kb);
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
        // The main loop keeps turning while the worker talks to the keyboard: its longest gap is the stall.
        QElapsedTimer gap;
        gap.start();
        while (kb->transfers().empty()) {
            QApplication::processEvents(QEventLoop::AllEvents);
            longestGap = std::max(longestGap, gap.nsecsElapsed() / 1e6);
            gap.restart();
        }
        editor->context()->waitForIdle();
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
    const double longestMain = *std::max_element(mainMs.begin(), mainMs.end());
    return {median(mainMs), median(storeMs), median(wallMs), commits, reports, longestMain, longestGap};
}

}  // namespace

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    const std::string folder = argc > 1 ? argv[1] : std::filesystem::current_path().string();
    const int rounds = argc > 2 ? std::max(2, std::atoi(argv[2])) : 20;
    const std::string home = folder + "/keyloom-bench-editor";
    std::filesystem::create_directories(home);
    setenv("XDG_DATA_HOME", home.c_str(), 1);
    setenv("KEYLOOM_SERVER_URL", "", 1);
    SimulatedHid::instance().setActive(true);
    registerKeyboardEditorSegue();

    clickToShown(rounds);

    const ChangeFigures quick = settingsChange(std::chrono::microseconds(0), rounds);
    std::printf(
        "one settings change: %u commit(s), %zu report(s); main thread %.3f ms (store and commit %.3f ms); "
        "keyboard answering at once\n",
        quick.commits, quick.reports, quick.mainMs, quick.storeMs);
    const double usbMs = double(quick.reports) * 1.0;  // one 8-byte feature report per 1 ms USB frame
    std::printf(
        "  our own time %.3f ms = %.1f %% of the reports' USB time (%.0f ms); without the commit's flush %.3f ms"
        " = %.1f %%\n",
        quick.mainMs, 100.0 * quick.mainMs / usbMs, usbMs, quick.mainMs - quick.storeMs,
        100.0 * (quick.mainMs - quick.storeMs) / usbMs);

    const ChangeFigures slow = settingsChange(std::chrono::milliseconds(1), rounds);
    std::printf(
        "keyboard taking 1 ms per report: main thread %.3f ms per change (median), done after %.3f ms; "
        "longest main-thread stall %.3f ms\n",
        slow.mainMs, slow.wallMs, std::max(slow.longestGapMs, slow.longestMainMs));

    std::filesystem::remove_all(home);
    SimulatedHid::instance().reset();
    return 0;
}
