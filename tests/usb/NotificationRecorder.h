#pragma once

#include <chrono>
#include <condition_variable>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

#include "platform/NotificationCenter.h"

namespace keyloom::test {

// Observes the given names on the default centre and keeps a copy of each notification with the posting thread.
class NotificationRecorder {
  public:
    struct Entry {
        Notification note;
        std::thread::id thread;
    };

    explicit NotificationRecorder(const std::vector<std::string>& names) {
        for (const auto& name : names)
            observations_.push_back(
                NotificationCenter::defaultCenter().addObserver(name, [this](const Notification& n) {
                    std::lock_guard lock(mutex_);
                    entries_.push_back({n, std::this_thread::get_id()});
                    changed_.notify_all();
                }));
    }

    bool waitFor(size_t count, std::chrono::milliseconds timeout = std::chrono::seconds(5)) {
        std::unique_lock lock(mutex_);
        return changed_.wait_for(lock, timeout, [&] { return entries_.size() >= count; });
    }
    std::vector<Entry> entries() {
        std::lock_guard lock(mutex_);
        return entries_;
    }
    void clear() {
        std::lock_guard lock(mutex_);
        entries_.clear();
    }

  private:
    std::mutex mutex_;
    std::condition_variable changed_;
    std::vector<Entry> entries_;
    std::vector<Observation> observations_;  // last member: removed first, before the entries go
};

}  // namespace keyloom::test
