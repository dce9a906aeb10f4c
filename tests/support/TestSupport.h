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

// XDG_DATA_HOME on a small file system of its own (tmpfs) for the life of the object, so that the disk can be made
// full as a user's fills up. Mounting needs root: without it nothing is mounted and whyNot() says so; a test then
// skips with that reason (SKIP_WITHOUT_FULL_DISK), never passes.
class FullDiskHome {
  public:
    explicit FullDiskHome(size_t bytes = 2 << 20);
    ~FullDiskHome();
    FullDiskHome(const FullDiskHome&) = delete;
    FullDiskHome& operator=(const FullDiskHome&) = delete;
    bool mounted() const { return mounted_; }
    const std::string& whyNot() const { return whyNot_; }
    const std::string& path() const { return path_; }
    // Writes a filler file until no byte more fits, as `dd` would.
    void fill();
    // Removes the filler.
    void makeRoom();

  private:
    std::string path_;
    std::string whyNot_;
    bool mounted_ = false;
    std::string previous_;
    bool hadPrevious_ = false;
};

#define SKIP_WITHOUT_FULL_DISK(home) \
    if (!(home).mounted()) GTEST_SKIP() << (home).whyNot()

}  // namespace keyloom::test
