#pragma once

#include <thread>

namespace keyloom {

// Loads the system font configuration (fontconfig's files and caches, a few milliseconds) on a thread of its own, so
// that it overlaps the application's own start-up instead of delaying the first window's text. Qt then finds it
// loaded. wait() joins; so does destruction.
class FontConfigWarmUp {
  public:
    FontConfigWarmUp();
    ~FontConfigWarmUp();
    FontConfigWarmUp(const FontConfigWarmUp&) = delete;
    FontConfigWarmUp& operator=(const FontConfigWarmUp&) = delete;

    // Call before the first text is laid out: a configuration loaded twice at once is loaded twice.
    void wait();

  private:
    std::thread thread_;
};

}  // namespace keyloom
