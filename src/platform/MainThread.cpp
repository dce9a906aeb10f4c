#include "platform/MainThread.h"

#include <QCoreApplication>
#include <QSocketNotifier>
#include <QThread>
#include <deque>
#include <memory>
#include <mutex>

#include "platform/EventFd.h"

namespace keyloom {

namespace {

struct Call {
    const void* owner;
    std::function<void()> fn;
};

class MainThreadMailbox {
  public:
    static MainThreadMailbox& instance() {
        static MainThreadMailbox mailbox;
        return mailbox;
    }

    void post(const void* owner, std::function<void()> fn) {
        {
            std::lock_guard lock(mutex_);
            calls_.push_back({owner, std::move(fn)});
        }
        wake_.signal();
    }

    void cancel(const void* owner) {
        std::lock_guard lock(mutex_);
        std::erase_if(calls_, [owner](const Call& c) { return c.owner == owner; });
    }

    // Main thread: listen on the eventfd for the life of the application.
    void attach() {
        notifier_ = std::make_unique<QSocketNotifier>(wake_.fd(), QSocketNotifier::Read);
        QObject::connect(notifier_.get(), &QSocketNotifier::activated, [this] { drain(); });
        wake_.signal();  // calls handed over before the application existed
    }

    void detach() {
        notifier_.reset();
        std::lock_guard lock(mutex_);
        calls_.clear();
    }

    size_t drain() {
        wake_.drain();
        // One at a time, so a call may hand over or cancel others while the list is unlocked.
        for (size_t ran = 0;; ++ran) {
            Call call;
            {
                std::lock_guard lock(mutex_);
                if (calls_.empty()) return ran;
                call = std::move(calls_.front());
                calls_.pop_front();
            }
            call.fn();
        }
    }

  private:
    std::mutex mutex_;
    std::deque<Call> calls_;
    EventFd wake_;
    std::unique_ptr<QSocketNotifier> notifier_;
};

void attachMailbox() {
    MainThreadMailbox::instance().attach();
    qAddPostRoutine([] { MainThreadMailbox::instance().detach(); });
}

}  // namespace

Q_COREAPP_STARTUP_FUNCTION(attachMailbox)

void runOnMain(std::function<void()> fn) {
    runOnMain(nullptr, std::move(fn));
}

void runOnMain(const void* owner, std::function<void()> fn) {
    if (!fn) return;
    MainThreadMailbox::instance().post(owner, std::move(fn));
}

void cancelMainThreadCalls(const void* owner) {
    if (owner) MainThreadMailbox::instance().cancel(owner);
}

size_t runPendingMainThreadCalls() {
    return MainThreadMailbox::instance().drain();
}

bool isMainThread() {
    QCoreApplication* app = QCoreApplication::instance();
    if (!app) return true;
    return QThread::currentThread() == app->thread();
}

}  // namespace keyloom
