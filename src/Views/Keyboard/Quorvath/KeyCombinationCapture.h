#pragma once

#include <cstdint>
#include <functional>
#include <map>
#include <memory>
#include <string>
#include <vector>

namespace keyloom {

class LocalKeyMonitor;

// The key-combination capture of one first-generation editor, shared by its key and knob tabs: at most one local key
// monitor, installed while a tab captures (its "Keyboard function" is selected) and removed when none does or the
// editor closes; and the combination captured last, kept across keys and tabs until the next capture.
// Main thread only.
class KeyCombinationCapture {
  public:
    using Fill = std::function<void()>;

    KeyCombinationCapture();
    ~KeyCombinationCapture();
    KeyCombinationCapture(const KeyCombinationCapture&) = delete;
    KeyCombinationCapture& operator=(const KeyCombinationCapture&) = delete;

    // The tab captures from now on: fill runs after every key the user presses in our windows (not on releases). A
    // tab starting again replaces its fill; the one monitor serves every capturing tab, and each tab's fill acts only
    // while that tab is shown.
    void start(const void* tab, Fill fill);
    // The tab captures no more; the monitor goes with the last capturing tab.
    void stop(const void* tab);
    // The editor closes.
    void stopAll();

    bool capturing(const void* tab) const { return tabs_.count(tab) != 0; }
    // True while the monitor is installed.
    bool running() const { return monitor_ != nullptr; }

    // The combination captured last: codes, and the codes in decimal joined by ",".
    std::vector<int64_t> currentModifyKeys;
    std::string currentModifyKeysStr;
    void setCombination(std::vector<int64_t> codes);
    void clearCombination() { setCombination({}); }

  private:
    void keyChanged();

    std::map<const void*, Fill> tabs_;
    std::unique_ptr<LocalKeyMonitor> monitor_;
};

}  // namespace keyloom
