#pragma once

#include <functional>
#include <stop_token>
#include <thread>

namespace keyloom {

// A thread that runs one loop until asked to stop, and is joined. The loop receives a stop token; a loop that
// blocks in poll() registers a std::stop_callback that wakes it (see EventFd).
class LoopThread {
  public:
    LoopThread() = default;
    ~LoopThread() { stop(); }
    LoopThread(const LoopThread&) = delete;
    LoopThread& operator=(const LoopThread&) = delete;

    void start(std::function<void(std::stop_token)> loop);
    // Requests the stop and joins; safe to call twice, and a no-op when not running.
    void stop();
    bool running() const { return thread_.joinable(); }
    std::thread::id id() const { return thread_.get_id(); }

  private:
    std::jthread thread_;
};

}  // namespace keyloom
