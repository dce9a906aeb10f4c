#pragma once

#include <chrono>
#include <functional>
#include <string>
#include <vector>

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

// Keeps what the program prints out of the test's output while it lives. A check that fails meanwhile writes its
// message to standard output too, so when one has failed, everything captured is printed after all. Ends with its
// scope (an ASSERT that leaves early included) or at finish().
class QuietStdout {
  public:
    QuietStdout();
    ~QuietStdout();
    QuietStdout(const QuietStdout&) = delete;
    QuietStdout& operator=(const QuietStdout&) = delete;
    // Ends the capture; what was printed.
    std::string finish();

  private:
    bool active_ = true;
    int partsBefore_ = 0;
    std::string text_;
};

// What a folder holds, one line per entry and one for the folder itself: name, size, mode, modification and change
// times (to the nanosecond). Two equal states mean nothing in it was created, removed, resized, written or chmod-ed.
std::vector<std::string> folderState(const std::string& folder);

// Makes `folder` read-only (r-x for its owner) for the life of the object, as a user would with chmod 500, and gives
// the owner full access back afterwards.
class ReadOnlyFolder {
  public:
    explicit ReadOnlyFolder(std::string folder);
    ~ReadOnlyFolder();
    ReadOnlyFolder(const ReadOnlyFolder&) = delete;
    ReadOnlyFolder& operator=(const ReadOnlyFolder&) = delete;

  private:
    std::string folder_;
};

}  // namespace keyloom::test
