#pragma once

#include <chrono>
#include <condition_variable>
#include <deque>
#include <functional>
#include <memory>
#include <mutex>
#include <string>

#include "platform/LoopThread.h"

namespace keyloom {

// Runs jobs one after another on a thread of its own, in the order they were given: blocking work kept off the
// main thread. The destructor drops jobs that have not started, waits for the running one and joins.
// A job posted with a replace key supersedes the queued job of the same key that has not started yet (a dragged
// slider or colour then sends only what is current); a running job is never cut short.
class SerialWorker {
  public:
    SerialWorker();
    ~SerialWorker();
    SerialWorker(const SerialWorker&) = delete;
    SerialWorker& operator=(const SerialWorker&) = delete;

    void post(std::function<void()> job);

    // Lets a worker finish the jobs it was given without anyone waiting for it (a closed editor's exchanges): the
    // worker, then `keep` (what its jobs use), are released on the main thread after its last job. When the
    // application object goes away first, its destructor waits for them, so no job outlives what it uses.
    // Main thread only.
    static void retire(std::unique_ptr<SerialWorker> worker, std::shared_ptr<void> keep);
    // Drops the queued, not yet started job posted with the same key, then queues this one last. An empty key
    // replaces nothing (as post()).
    void postReplacing(const std::string& replaceKey, std::function<void()> job);
    // Blocks until every job given so far has run.
    void waitForIdle();
    // The same, for at most timeout; false when jobs are still queued or running then.
    bool waitForIdle(std::chrono::milliseconds timeout);

  private:
    void loop(std::stop_token token);

    std::mutex mutex_;
    std::condition_variable_any changed_;
    struct Job {
        std::string replaceKey;
        std::function<void()> run;
    };
    std::deque<Job> jobs_;
    bool busy_ = false;
    LoopThread thread_;
};

}  // namespace keyloom
