#include "Helper/HttpSession.h"

#include <QCoreApplication>
#include <QEventLoop>
#include <QSocketNotifier>

namespace keyloom {

namespace {

std::mutex sharedMutex;
std::shared_ptr<HttpSession> sharedSession;
bool sharedClosed = false;
bool cleanupRegistered = false;

void closeSharedSession() {
    std::shared_ptr<HttpSession> last;
    {
        std::lock_guard lock(sharedMutex);
        last.swap(sharedSession);
        sharedClosed = true;
    }
    // `last` joins the thread here, while Qt is still alive.
}

}  // namespace

HttpSession::HttpSession() {
    thread_.start([this](std::stop_token stop) { run(stop); });
    std::unique_lock lock(mutex_);
    readyChanged_.wait(lock, [this] { return ready_; });
}

HttpSession::~HttpSession() {
    {
        std::lock_guard lock(mutex_);
        stopping_ = true;  // no request is taken from now on
    }
    thread_.stop();
}

void HttpSession::run(std::stop_token stop) {
    {
        QEventLoop loop;  // gives this thread its event dispatcher
        // Made on this thread, which it sends from. Completions live in it: once it is gone none can run any more.
        const NetworkStack* stack = networkStack();
        std::unique_ptr<HttpTransport> transport = stack ? stack->makeTransport() : nullptr;
        {
            QObject context;
            QSocketNotifier notifier(wake_.fd(), QSocketNotifier::Read);
            QObject::connect(&notifier, &QSocketNotifier::activated, &context, [&] {
                wake_.drain();
                if (stop.stop_requested()) {
                    loop.quit();
                    return;
                }
                std::deque<Pending> batch;
                {
                    std::lock_guard lock(mutex_);
                    batch.swap(queue_);
                }
                for (Pending& p : batch) {
                    if (transport)
                        transport->post(std::move(p.url), std::move(p.body), p.headers, p.timeoutMs, std::move(p.done));
                    else
                        p.done(std::nullopt);  // without the network module every request is unreachable
                }
            });
            std::stop_callback wakeOnStop(stop, [this] { wake_.signal(); });
            {
                std::lock_guard lock(mutex_);
                ready_ = true;
                readyChanged_.notify_all();
            }
            loop.exec();
        }
        transport.reset();
    }
    std::lock_guard lock(mutex_);
    queue_.clear();  // requests handed over after the stop are dropped with their completions
}

std::shared_ptr<HttpSession> HttpSession::shared() {
    std::lock_guard lock(sharedMutex);
    if (sharedClosed || !QCoreApplication::instance()) return nullptr;
    if (!sharedSession) {
        sharedSession = std::make_shared<HttpSession>();
        if (!cleanupRegistered) {
            qAddPostRoutine(closeSharedSession);
            cleanupRegistered = true;
        }
    }
    return sharedSession;
}

void HttpSession::setTimeout(std::chrono::milliseconds timeout) {
    timeoutMs_ = static_cast<int>(timeout.count());
}

std::chrono::milliseconds HttpSession::timeout() const {
    return std::chrono::milliseconds(timeoutMs_.load());
}

void HttpSession::post(std::string url, std::string body, Headers headers, Completion done) {
    if (!wake_.valid()) {
        // Without its wake-up fd the thread would never see the request: fail it now rather than leave it pending.
        if (done) done(std::nullopt);
        return;
    }
    {
        std::lock_guard lock(mutex_);
        if (stopping_) return;
        queue_.push_back(Pending{std::move(url), std::move(body), std::move(headers), timeoutMs_.load(),
                                 done ? std::move(done) : Completion([](std::optional<std::string>) {})});
    }
    wake_.signal();
}

}  // namespace keyloom
