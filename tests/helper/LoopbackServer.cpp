#include "LoopbackServer.h"

#include <httplib.h>

#include <algorithm>
#include <cctype>
#include <stdexcept>

namespace keyloom::test {

namespace {
std::string lowerCased(std::string text) {
    std::transform(text.begin(), text.end(), text.begin(), [](unsigned char c) { return std::tolower(c); });
    return text;
}
}  // namespace

std::optional<std::string> RecordedRequest::header(const std::string& name) const {
    const std::string wanted = lowerCased(name);
    for (const auto& [key, value] : headers)
        if (key == wanted) return value;
    return std::nullopt;
}

LoopbackServer::LoopbackServer() : server_(std::make_unique<httplib::Server>()) {
    const auto handler = [this](const httplib::Request& req, httplib::Response& res) {
        RecordedRequest request{req.method, req.path, {}, req.body};
        for (const auto& [name, value] : req.headers) request.headers.emplace_back(lowerCased(name), value);
        const CannedAnswer answer = handle(std::move(request));
        res.status = answer.status;
        res.set_content(answer.body, answer.contentType.c_str());
    };
    const std::string everything = ".*";
    server_->Get(everything, handler);
    server_->Post(everything, handler);
    server_->Put(everything, handler);
    server_->Delete(everything, handler);
    server_->Patch(everything, handler);
    // One request per connection: a client never reuses a connection that the server is about to drop.
    server_->set_keep_alive_max_count(1);
    port_ = server_->bind_to_any_port("127.0.0.1");
    if (port_ <= 0) throw std::runtime_error("loopback server: cannot bind");
    listener_ = std::thread([this] { server_->listen_after_bind(); });
    // stop() is ignored until the accept loop runs; it starts within microseconds.
    while (!server_->is_running()) std::this_thread::sleep_for(std::chrono::milliseconds(1));
}

LoopbackServer::~LoopbackServer() {
    {
        std::lock_guard lock(mutex_);
        closing_ = true;
    }
    changed_.notify_all();
    server_->stop();
    listener_.join();
}

std::string LoopbackServer::baseAddress() const {
    return "http://127.0.0.1:" + std::to_string(port_);
}

void LoopbackServer::setAnswer(const std::string& path, CannedAnswer answer) {
    std::lock_guard lock(mutex_);
    answers_[path] = std::move(answer);
}

void LoopbackServer::holdAnswers(bool hold) {
    std::lock_guard lock(mutex_);
    hold_ = hold;
}

void LoopbackServer::release(size_t arrival) {
    {
        std::lock_guard lock(mutex_);
        released_.insert(arrival);
    }
    changed_.notify_all();
}

bool LoopbackServer::waitForRequests(size_t n, std::chrono::milliseconds limit) {
    std::unique_lock lock(mutex_);
    return changed_.wait_for(lock, limit, [&] { return requests_.size() >= n; });
}

std::vector<RecordedRequest> LoopbackServer::requests() const {
    std::lock_guard lock(mutex_);
    return requests_;
}

CannedAnswer LoopbackServer::handle(RecordedRequest request) {
    std::unique_lock lock(mutex_);
    const size_t arrival = requests_.size();
    const auto found = answers_.find(request.path);
    CannedAnswer answer = found != answers_.end() ? found->second : CannedAnswer{};
    requests_.push_back(std::move(request));
    changed_.notify_all();
    if (hold_) changed_.wait(lock, [&] { return closing_ || released_.count(arrival) > 0; });
    return answer;
}

}  // namespace keyloom::test
