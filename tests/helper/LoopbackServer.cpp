#include "LoopbackServer.h"

#include <httplib.h>
#include <openssl/evp.h>
#include <strings.h>

#include <QByteArray>
#include <memory>
#include <stdexcept>

namespace keyloom::test {

std::optional<std::string> RecordedRequest::header(const std::string& name) const {
    for (const auto& [key, value] : headers)
        if (strcasecmp(key.c_str(), name.c_str()) == 0) return value;
    return std::nullopt;
}

LoopbackServer::LoopbackServer() : server_(std::make_unique<httplib::Server>()) {
    const auto handler = [this](const httplib::Request& req, httplib::Response& res) {
        std::unique_lock lock(mutex_);
        const size_t arrival = requests_.size();
        requests_.push_back({req.method, req.path, {req.headers.begin(), req.headers.end()}, req.body});
        changed_.notify_all();
        if (hold_) changed_.wait(lock, [&] { return closing_ || released_.count(arrival) > 0; });
        // Chosen when released, so a test can give requests held together different answers.
        const auto found = answers_.find(req.path);
        const CannedAnswer answer = found != answers_.end() ? found->second : CannedAnswer{};
        res.status = answer.status;
        res.set_content(answer.body, answer.contentType.c_str());
    };
    server_->Get(".*", handler).Post(".*", handler).Put(".*", handler).Delete(".*", handler);
    // One request per connection: a client never reuses a connection that the server is about to drop.
    server_->set_keep_alive_max_count(1);
    port_ = server_->bind_to_any_port("127.0.0.1");
    if (port_ <= 0) throw std::runtime_error("loopback server: cannot bind");
    listener_ = std::thread([this] { server_->listen_after_bind(); });
    // stop() is ignored until the accept loop runs; it starts within microseconds.
    while (!server_->is_running()) std::this_thread::sleep_for(std::chrono::milliseconds(1));
}

LoopbackServer::~LoopbackServer() {
    std::unique_lock lock(mutex_);
    closing_ = true;
    changed_.notify_all();
    lock.unlock();
    server_->stop();
    listener_.join();
}

std::string decryptWithTestKey(const std::string& base64) {
    const QByteArray in = QByteArray::fromBase64(QByteArray::fromStdString(base64));
    std::unique_ptr<EVP_CIPHER_CTX, decltype(&EVP_CIPHER_CTX_free)> ctx(EVP_CIPHER_CTX_new(), &EVP_CIPHER_CTX_free);
    unsigned char out[1024];
    int n = 0, tail = 0;
    EVP_DecryptInit_ex(ctx.get(), EVP_aes_128_ecb(), nullptr, reinterpret_cast<const uint8_t*>(kTestAesKey), nullptr);
    if (in.size() > 1000 ||
        !EVP_DecryptUpdate(ctx.get(), out, &n, reinterpret_cast<const uint8_t*>(in.data()), int(in.size())) ||
        !EVP_DecryptFinal_ex(ctx.get(), out + n, &tail))
        return "<not decryptable>";
    return std::string(reinterpret_cast<const char*>(out), static_cast<size_t>(n + tail));
}

}  // namespace keyloom::test
