// What the in-process bench programs share: figures, temporary data homes, simulated keyboards that answer at once
// or slowly, and the home click that opens an editor.
#pragma once

#include <QPointer>
#include <QString>
#include <array>
#include <chrono>
#include <cstdint>
#include <filesystem>
#include <functional>
#include <memory>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "Views/Home/AppState.h"
#include "platform/hid/HidHandle.h"

namespace keyloom {
class MarrowinViewController;
class SimulatedKeyboard;
}  // namespace keyloom

namespace keyloom::bench {

double median(std::vector<double> v);
double longest(const std::vector<double>& v);

// Processor time of the calling thread.
double threadCpuMs();
// Median processor time of body over rounds runs.
double medianCpuMs(int rounds, const std::function<void()>& body);

// Our own time on the main thread set against the time the keyboard's reports take on the USB (one report per 1 ms
// frame), with and without the store's commit (storeMs of mainMs).
void printUsbShare(double mainMs, double storeMs, size_t reports);

// Write transactions committed to the file at path.
uint64_t changeCounter(const std::string& path);

// The usual arguments: [folder] [rounds]; the folder defaults to the current one.
std::filesystem::path benchFolder(int argc, char** argv);
int benchRounds(int argc, char** argv, int least, int byDefault);

// A fresh data home (XDG_DATA_HOME) made inside base, removed with everything in it at the end.
class TempDataHome {
  public:
    explicit TempDataHome(const std::filesystem::path& base);
    ~TempDataHome();
    TempDataHome(const TempDataHome&) = delete;
    TempDataHome& operator=(const TempDataHome&) = delete;
    bool made() const { return made_; }
    const std::string& path() const { return path_; }

  private:
    std::string path_;
    bool made_ = false;
};

// Sends the program's standard output to /dev/null (the store's and the channel's own lines; their formatting still
// counts) until restore().
class QuietStdout {
  public:
    QuietStdout();
    ~QuietStdout();
    QuietStdout(const QuietStdout&) = delete;
    QuietStdout& operator=(const QuietStdout&) = delete;
    void restore();

  private:
    int console_ = -1;
};

// A keyboard whose every transfer takes `delay` before the simulated keyboard sees it.
class SlowHandle : public HidHandle {
  public:
    SlowHandle(HidHandleRef inner, std::chrono::microseconds delay) : inner_(std::move(inner)), delay_(delay) {}
    HidPropertyValue property(std::string_view key) const override { return inner_->property(key); }
    int setReport(HidReportType type, int64_t reportId, const uint8_t* bytes, size_t length) override;
    int getReport(HidReportType type, int64_t reportId, uint8_t* buffer, size_t& length) override;
    bool removed() const override { return inner_->removed(); }

  private:
    HidHandleRef inner_;
    std::chrono::microseconds delay_;
};

// A device that answers every read with the last report written to it, at once.
class AnsweringDevice : public HidHandle {
  public:
    HidPropertyValue property(std::string_view) const override { return {}; }
    int setReport(HidReportType, int64_t, const uint8_t* bytes, size_t length) override;
    int getReport(HidReportType, int64_t, uint8_t* buffer, size_t& length) override;
    bool removed() const override { return false; }
    std::array<uint8_t, 64> last{};
    size_t transfers = 0;
};

// Turns the main loop until done(); the longest time between two turns.
double longestGapUntil(const std::function<bool()>& done);

// The open editor's view controller, or null.
template <class Window>
auto openEditor() -> decltype(std::declval<Window&>().contentViewController()) {
    auto* window = qobject_cast<Window*>(KEYBOARD_VIEW.data());
    return window ? window->contentViewController() : nullptr;
}

// Closes the open editor and waits until it is gone.
void closeEditor();

// The second-generation editor for keyboard (plugged), opened as the home screen hands a keyboard over, with its
// store open and its first exchanges done; nullptr where it did not open.
MarrowinViewController* openMarrowinEditor(const std::shared_ptr<SimulatedKeyboard>& keyboard, const QString& title);

// Click on the home picture to the editor shown and painted, rounds times with keyboard plugged: every other round
// with a new profile database (fresh), the others with the existing one. After each opening, opened() waits for the
// editor's work (false: the editor is not as expected, and the rounds stop); the editor is closed after it.
bool homeClickToShown(std::shared_ptr<SimulatedKeyboard> keyboard, int rounds, const std::function<bool()>& opened,
                      std::vector<double>& fresh, std::vector<double>& existing);

}  // namespace keyloom::bench
