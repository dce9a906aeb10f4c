#include "Helper/HttpSession.h"

#include <QCoreApplication>
#include <QEventLoop>
#include <QIODevice>
#include <QNetworkAccessManager>
#include <QNetworkReply>
#include <QNetworkRequest>
#include <QSocketNotifier>
#include <QUrl>
#include <algorithm>
#include <cstring>
#include <unordered_map>

namespace keyloom {

namespace {

// Errors that mean no complete answer came back. Every other error Qt raises stems from the HTTP status of an
// answer that did arrive, and that answer's body is the result whatever its status.
bool isTransportError(QNetworkReply::NetworkError error) {
    const int code = static_cast<int>(error);
    return (code >= 1 && code <= 99) || (code >= 101 && code <= 104) || code == QNetworkReply::UnknownProxyError ||
           code == QNetworkReply::ProtocolUnknownError || code == QNetworkReply::ProtocolFailure;
}

constexpr const char* kTooLarge = "keyloomTooLarge";

std::optional<std::string> answerOf(QNetworkReply& reply) {
    if (reply.property(kTooLarge).toBool()) return std::nullopt;
    const QNetworkReply::NetworkError error = reply.error();
    const QVariant status = reply.attribute(QNetworkRequest::HttpStatusCodeAttribute);
    if (error != QNetworkReply::NoError && (!status.isValid() || isTransportError(error))) return std::nullopt;
    // A redirect is not followed (the request would reach a server twice), so it is no answer.
    if (status.toInt() >= 300 && status.toInt() < 400) return std::nullopt;
    return reply.readAll().toStdString();
}

// The request body, readable once. Qt sends a request again on a new connection when the first one drops before a
// whole answer came; it cannot rewind this body, so the request fails instead of reaching the server twice.
class OnceReadableBody : public QIODevice {
  public:
    explicit OnceReadableBody(QByteArray data) : data_(std::move(data)) { open(QIODevice::ReadOnly); }
    bool isSequential() const override { return true; }
    qint64 bytesAvailable() const override { return data_.size() - offset_ + QIODevice::bytesAvailable(); }
    qint64 size() const override { return data_.size(); }
    bool reset() override { return false; }  // quietly: the resend fails, no warning printed

  protected:
    qint64 readData(char* out, qint64 max) override {
        const qint64 n = std::min(max, data_.size() - offset_);
        std::memcpy(out, data_.constData() + offset_, static_cast<size_t>(n));
        offset_ += n;
        return n;
    }
    qint64 writeData(const char*, qint64) override { return -1; }

  private:
    QByteArray data_;
    qint64 offset_ = 0;
};

// Holds the completions of the replies in flight on the session thread. Connected by signature, not by functor: a
// functor's slot object may be released on Qt's own HTTP thread, out of the sight of ThreadSanitizer, whereas here
// every completion is created, called and destroyed on the session thread.
class ReplyWatcher : public QObject {
    Q_OBJECT

  public:
    void send(QNetworkAccessManager& manager, std::string url, std::string body, const HttpSession::Headers& headers,
              int timeoutMs, HttpSession::Completion done) {
        if (url.empty()) {
            done(std::nullopt);
            return;
        }
        QNetworkRequest request(QUrl(QString::fromStdString(url)));
        request.setTransferTimeout(timeoutMs);
        for (const auto& [name, value] : headers)
            request.setRawHeader(QByteArray::fromStdString(name), QByteArray::fromStdString(value));
        // The type Qt (like other HTTP clients) puts on a POST body that has none, said here to spare its warning.
        if (!body.empty() && !request.hasRawHeader("Content-Type"))
            request.setHeader(QNetworkRequest::ContentTypeHeader,
                              QByteArrayLiteral("application/x-www-form-urlencoded"));
        // At most once: no redirect followed, no automatic resend (see OnceReadableBody).
        request.setAttribute(QNetworkRequest::RedirectPolicyAttribute, QNetworkRequest::ManualRedirectPolicy);
        request.setAttribute(QNetworkRequest::DoNotBufferUploadDataAttribute, true);
        request.setHeader(QNetworkRequest::ContentLengthHeader, static_cast<qulonglong>(body.size()));
        auto upload = std::make_unique<OnceReadableBody>(QByteArray::fromStdString(body));
        QNetworkReply* reply = manager.post(request, upload.get());
        upload.release()->setParent(reply);
        // Qt holds no more than this much of an answer that is not read yet.
        reply->setReadBufferSize(HttpSession::maxAnswerSize + 1);
        pending_.emplace(reply, std::move(done));
        connect(reply, SIGNAL(metaDataChanged()), this, SLOT(checkSize()));
        connect(reply, SIGNAL(readyRead()), this, SLOT(checkSize()));
        connect(reply, SIGNAL(finished()), this, SLOT(replyFinished()));
    }

  private Q_SLOTS:
    // An answer larger than the limit is a failure: read no further.
    void checkSize() {
        auto* reply = qobject_cast<QNetworkReply*>(sender());
        if (!reply || reply->property(kTooLarge).toBool()) return;
        const QVariant announced = reply->header(QNetworkRequest::ContentLengthHeader);
        if (reply->bytesAvailable() > HttpSession::maxAnswerSize ||
            (announced.isValid() && announced.toLongLong() > HttpSession::maxAnswerSize)) {
            reply->setProperty(kTooLarge, true);
            reply->abort();  // finishes the reply
        }
    }

    void replyFinished() {
        auto* reply = qobject_cast<QNetworkReply*>(sender());
        auto it = pending_.find(reply);
        if (!reply || it == pending_.end()) return;
        HttpSession::Completion done = std::move(it->second);
        pending_.erase(it);
        reply->deleteLater();
        done(answerOf(*reply));
    }

  private:
    std::unordered_map<QNetworkReply*, HttpSession::Completion> pending_;
};

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
        QNetworkAccessManager manager;
        {
            // Completions live in `watcher`: once it is gone none can run any more.
            ReplyWatcher watcher;
            QSocketNotifier notifier(wake_.fd(), QSocketNotifier::Read);
            QObject::connect(&notifier, &QSocketNotifier::activated, &watcher, [&] {
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
                for (Pending& p : batch)
                    watcher.send(manager, std::move(p.url), std::move(p.body), p.headers, p.timeoutMs,
                                 std::move(p.done));
            });
            std::stop_callback wakeOnStop(stop, [this] { wake_.signal(); });
            {
                std::lock_guard lock(mutex_);
                ready_ = true;
                readyChanged_.notify_all();
            }
            loop.exec();
        }
        for (QNetworkReply* reply : manager.findChildren<QNetworkReply*>()) reply->abort();
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

#include "HttpSession.moc"
