#pragma once

#include <chrono>
#include <condition_variable>
#include <map>
#include <memory>
#include <mutex>
#include <optional>
#include <set>
#include <string>
#include <thread>
#include <vector>

namespace httplib {
class Server;
}

namespace keyloom::test {

struct RecordedRequest {
    std::string method;
    std::string path;
    std::vector<std::pair<std::string, std::string>> headers;  // names as sent
    std::string body;

    // The value of a header (name in any case), or nullopt when absent.
    std::optional<std::string> header(const std::string& name) const;
};

struct CannedAnswer {
    int status = 200;
    std::string body = "true";
    std::string contentType = "text/plain";
};

// An HTTP server on 127.0.0.1: records requests, answers by path (default 200 "true"), can hold answers back; a held
// request gets the answer set for its path when it is released.
class LoopbackServer {
  public:
    LoopbackServer();
    ~LoopbackServer();
    LoopbackServer(const LoopbackServer&) = delete;
    LoopbackServer& operator=(const LoopbackServer&) = delete;

    int port() const { return port_; }
    std::string baseAddress() const { return "http://127.0.0.1:" + std::to_string(port_); }

    void setAnswer(const std::string& path, CannedAnswer answer) {
        std::lock_guard lock(mutex_);
        answers_[path] = std::move(answer);
    }
    // While on, each arriving request waits for release(n), n being its 0-based arrival number.
    void holdAnswers(bool hold) {
        std::lock_guard lock(mutex_);
        hold_ = hold;
    }
    void release(size_t arrival) {
        std::lock_guard lock(mutex_);
        released_.insert(arrival);
        changed_.notify_all();
    }
    // Bounded, so that a fault fails the test rather than hangs it.
    bool waitForRequests(size_t n, std::chrono::milliseconds limit = std::chrono::seconds(10)) {
        std::unique_lock lock(mutex_);
        return changed_.wait_for(lock, limit, [&] { return requests_.size() >= n; });
    }
    std::vector<RecordedRequest> requests() const {
        std::lock_guard lock(mutex_);
        return requests_;
    }

  private:
    std::unique_ptr<httplib::Server> server_;
    int port_ = -1;
    std::thread listener_;
    mutable std::mutex mutex_;
    std::condition_variable changed_;
    std::vector<RecordedRequest> requests_;
    std::map<std::string, CannedAnswer> answers_;
    std::set<size_t> released_;
    bool hold_ = false;
    bool closing_ = false;
};

// The AES key the account suites configure (KEYLOOM_AES_KEY), and the decryption of what the client sent with it:
// base64 and AES-128-ECB/PKCS#7 straight through OpenSSL, independent of the code under test.
inline constexpr const char* kTestAesKey = "0123456789abcdef";
std::string decryptWithTestKey(const std::string& base64);

}  // namespace keyloom::test
