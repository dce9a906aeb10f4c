#pragma once

#include <chrono>
#include <functional>
#include <string>

namespace keyloom::test {

// Points XDG_DATA_HOME at a fresh temporary folder for the life of the object and removes it afterwards.
class TempDataHome {
  public:
    TempDataHome();
    ~TempDataHome();
    TempDataHome(const TempDataHome&) = delete;
    TempDataHome& operator=(const TempDataHome&) = delete;
    const std::string& path() const { return path_; }

  private:
    std::string path_;
    std::string previous_;
    bool hadPrevious_ = false;
};

// Runs the Qt event loop of the calling (main) thread until pred() holds or the timeout passes; returns pred().
bool processEventsUntil(const std::function<bool()>& pred,
                        std::chrono::milliseconds timeout = std::chrono::milliseconds(5000));
// Runs the event loop for the given time (lets queued main-thread hand-offs arrive).
void processEventsFor(std::chrono::milliseconds duration);

// Overwrites a database file that a connection holds open, and its write-ahead log, with bytes that are no database:
// every later statement of that connection fails.
void damageOpenDatabase(const std::string& path);

}  // namespace keyloom::test
