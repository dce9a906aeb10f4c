// The account client's network and cryptography, in a module loaded at the first request (see Helper/NetworkStack.h):
// the program starts without Qt Network, its Kerberos and proxy libraries, and OpenSSL.
#include <openssl/evp.h>

#include <QIODevice>
#include <QNetworkAccessManager>
#include <QNetworkReply>
#include <QNetworkRequest>
#include <QUrl>
#include <algorithm>
#include <climits>
#include <cstdio>
#include <cstring>
#include <memory>
#include <unordered_map>
#include <vector>

#include "Helper/NetworkStack.h"

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
    void send(QNetworkAccessManager& manager, std::string url, std::string body, const HttpHeaders& headers,
              int timeoutMs, HttpCompletion done) {
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
        reply->setReadBufferSize(kMaxHttpAnswerSize + 1);
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
        if (reply->bytesAvailable() > kMaxHttpAnswerSize ||
            (announced.isValid() && announced.toLongLong() > kMaxHttpAnswerSize)) {
            reply->setProperty(kTooLarge, true);
            reply->abort();  // finishes the reply
        }
    }

    void replyFinished() {
        auto* reply = qobject_cast<QNetworkReply*>(sender());
        auto it = pending_.find(reply);
        if (!reply || it == pending_.end()) return;
        HttpCompletion done = std::move(it->second);
        pending_.erase(it);
        reply->deleteLater();
        done(answerOf(*reply));
    }

  private:
    std::unordered_map<QNetworkReply*, HttpCompletion> pending_;
};

class QtHttpTransport : public HttpTransport {
  public:
    ~QtHttpTransport() override {
        watcher_.reset();  // no completion runs from here on
        for (QNetworkReply* reply : manager_.findChildren<QNetworkReply*>()) reply->abort();
    }
    void post(std::string url, std::string body, const HttpHeaders& headers, int timeoutMs,
              HttpCompletion done) override {
        watcher_->send(manager_, std::move(url), std::move(body), headers, timeoutMs, std::move(done));
    }

  private:
    QNetworkAccessManager manager_;
    std::unique_ptr<ReplyWatcher> watcher_ = std::make_unique<ReplyWatcher>();
};

std::string digestMd5(const std::string& text) {
    unsigned char digest[EVP_MAX_MD_SIZE];
    unsigned int length = 0;
    if (EVP_Digest(text.data(), text.size(), digest, &length, EVP_md5(), nullptr) != 1) return {};
    std::string hex;
    hex.reserve(length * 2);
    for (unsigned int i = 0; i < length; ++i) {
        char pair[3];
        std::snprintf(pair, sizeof pair, "%02x", digest[i]);
        hex += pair;
    }
    return hex;
}

std::string encryptAes(const std::string& strToEncode, const std::string& key) {
    if (key.size() != 16 || strToEncode.size() > static_cast<std::size_t>(INT_MAX - 16)) return {};
    std::unique_ptr<EVP_CIPHER_CTX, decltype(&EVP_CIPHER_CTX_free)> ctx(EVP_CIPHER_CTX_new(), &EVP_CIPHER_CTX_free);
    if (!ctx) return {};
    const auto* keyBytes = reinterpret_cast<const unsigned char*>(key.data());
    // ECB with the default PKCS#7 padding: n bytes give 16 * (n / 16 + 1) bytes.
    if (EVP_EncryptInit_ex(ctx.get(), EVP_aes_128_ecb(), nullptr, keyBytes, nullptr) != 1) return {};
    std::vector<unsigned char> cipher(strToEncode.size() + 16);
    int written = 0;
    int tail = 0;
    if (EVP_EncryptUpdate(ctx.get(), cipher.data(), &written,
                          reinterpret_cast<const unsigned char*>(strToEncode.data()),
                          static_cast<int>(strToEncode.size())) != 1)
        return {};
    if (EVP_EncryptFinal_ex(ctx.get(), cipher.data() + written, &tail) != 1) return {};
    const int cipherLength = written + tail;
    // EVP_EncodeBlock writes plain base64 with "=" padding and no line breaks, plus a terminating NUL.
    std::string encoded(static_cast<std::size_t>(4 * ((cipherLength + 2) / 3)) + 1, '\0');
    const int encodedLength =
        EVP_EncodeBlock(reinterpret_cast<unsigned char*>(encoded.data()), cipher.data(), cipherLength);
    encoded.resize(static_cast<std::size_t>(encodedLength));
    return encoded;
}

std::unique_ptr<HttpTransport> makeTransport() {
    return std::make_unique<QtHttpTransport>();
}

const NetworkStack kStack{&digestMd5, &encryptAes, &makeTransport};

}  // namespace

}  // namespace keyloom

extern "C" __attribute__((visibility("default"))) const keyloom::NetworkStack* keyloom_network_stack(int version) {
    return version == keyloom::kNetworkStackVersion ? &keyloom::kStack : nullptr;
}

#include "NetworkStackModule.moc"
