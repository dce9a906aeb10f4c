#include "platform/SerialWorker.h"

#include <QCoreApplication>
#include <vector>

#include "platform/MainThread.h"

namespace keyloom {

SerialWorker::SerialWorker() {
    thread_.start([this](std::stop_token token) { loop(token); });
}

SerialWorker::~SerialWorker() {
    {
        std::lock_guard lock(mutex_);
        jobs_.clear();
    }
    thread_.stop();
}

namespace {

struct Retiring {
    std::shared_ptr<void> keep;
    std::unique_ptr<SerialWorker> worker;  // declared last: joined before what its jobs use goes
};

std::vector<std::shared_ptr<Retiring>>& retiringWorkers() {
    static std::vector<std::shared_ptr<Retiring>> list;
    return list;
}

bool waitAtExitRegistered = false;

// Runs from the application object's destructor: after it, queued main-thread calls no longer run.
void finishRetiringWorkers() {
    waitAtExitRegistered = false;
    auto list = std::move(retiringWorkers());
    for (const auto& retiring : list) retiring->worker->waitForIdle();
}

}  // namespace

void SerialWorker::retire(std::unique_ptr<SerialWorker> worker, std::shared_ptr<void> keep) {
    if (!worker) return;
    if (!waitAtExitRegistered && QCoreApplication::instance()) {
        qAddPostRoutine(finishRetiringWorkers);
        waitAtExitRegistered = true;
    }
    auto retiring = std::make_shared<Retiring>(Retiring{std::move(keep), std::move(worker)});
    retiringWorkers().push_back(retiring);
    // A worker cannot join itself: its last job hands the release to the main thread.
    retiring->worker->post([weak = std::weak_ptr<Retiring>(retiring)] {
        runOnMain([weak] {
            if (auto done = weak.lock()) std::erase(retiringWorkers(), done);
        });
    });
}

void SerialWorker::post(std::function<void()> job) {
    postReplacing({}, std::move(job));
}

void SerialWorker::postReplacing(const std::string& replaceKey, std::function<void()> job) {
    {
        std::lock_guard lock(mutex_);
        // At most one job per key can be queued, since each post of that key removes the earlier one.
        if (!replaceKey.empty())
            std::erase_if(jobs_, [&](const Job& queued) { return queued.replaceKey == replaceKey; });
        jobs_.push_back(Job{replaceKey, std::move(job)});
    }
    changed_.notify_all();
}

void SerialWorker::waitForIdle() {
    std::unique_lock lock(mutex_);
    changed_.wait(lock, [this] { return jobs_.empty() && !busy_; });
}

bool SerialWorker::waitForIdle(std::chrono::milliseconds timeout) {
    std::unique_lock lock(mutex_);
    return changed_.wait_for(lock, timeout, [this] { return jobs_.empty() && !busy_; });
}

void SerialWorker::loop(std::stop_token token) {
    std::unique_lock lock(mutex_);
    for (;;) {
        // Blocks until a job arrives or the stop is requested (the wait registers itself with the token).
        if (!changed_.wait(lock, token, [this] { return !jobs_.empty(); })) return;
        auto job = std::move(jobs_.front().run);
        jobs_.pop_front();
        busy_ = true;
        lock.unlock();
        job();
        lock.lock();
        busy_ = false;
        changed_.notify_all();
    }
}

}  // namespace keyloom
