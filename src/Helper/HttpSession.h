#pragma once

#include <QtGlobal>
#include <atomic>
#include <chrono>
#include <condition_variable>
#include <deque>
#include <functional>
#include <memory>
#include <mutex>
#include <optional>
#include <string>
#include <utility>
#include <vector>

#include "Helper/NetworkStack.h"
#include "platform/EventFd.h"
#include "platform/LoopThread.h"

namespace keyloom {

// The HTTP client thread: a thread of its own running a Qt event loop with the network module's transport (one
// QNetworkAccessManager), the module being loaded when the thread starts. post() hands a
// request over without blocking, from any thread; any number may be in flight, and each completion runs on the
// session's thread when its answer (or failure) arrives. Destruction stops and joins the thread; requests still in
// flight then are abandoned and their completions never run.
class HttpSession {
  public:
    using Headers = HttpHeaders;
    // The answer body whatever the HTTP status, or nullopt when no usable answer came: the transport failed (no
    // connection, unknown host, timeout, a connection dropped, empty or unusable address), the answer is a redirect,
    // or it is larger than maxAnswerSize; also when the network module cannot be loaded.
    using Completion = HttpCompletion;

    static constexpr std::chrono::milliseconds defaultTimeout{60000};
    // The account server answers with a word or a short text: anything larger is not an answer.
    static constexpr qint64 maxAnswerSize = kMaxHttpAnswerSize;

    HttpSession();
    ~HttpSession();
    HttpSession(const HttpSession&) = delete;
    HttpSession& operator=(const HttpSession&) = delete;

    // The process-wide session, started on first use and joined when the Qt application is destroyed.
    // nullptr when no Qt application exists (or it has gone).
    static std::shared_ptr<HttpSession> shared();

    // The idle time after which a request gives up; applies to requests posted afterwards.
    void setTimeout(std::chrono::milliseconds timeout);
    std::chrono::milliseconds timeout() const;

    // Sends a POST of body to url with the given headers. The request reaches the server at most once: a dropped
    // connection is not retried and a redirect is not followed.
    void post(std::string url, std::string body, Headers headers, Completion done);

  private:
    struct Pending {
        std::string url;
        std::string body;
        Headers headers;
        int timeoutMs;
        Completion done;
    };
    void run(std::stop_token stop);

    // A std::thread plus our own lock and wake-up fd carry every hand-over between threads (Qt's own locks are
    // invisible to ThreadSanitizer), and the join at destruction orders everything the thread did before it.
    std::mutex mutex_;
    std::condition_variable readyChanged_;
    std::deque<Pending> queue_;
    bool ready_ = false;
    bool stopping_ = false;
    EventFd wake_;
    std::atomic<int> timeoutMs_{static_cast<int>(defaultTimeout.count())};
    LoopThread thread_;  // last: stopped and joined before the members it uses go
};

}  // namespace keyloom
