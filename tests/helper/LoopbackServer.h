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
#include <utility>
#include <vector>

namespace httplib {
class Server;
}

namespace keyloom::test {

// One request as the server received it.
struct RecordedRequest {
    std::string method;
    std::string path;
    std::vector<std::pair<std::string, std::string>> headers;  // names in lower case
    std::string body;

    // The value of a header (name in any case), or nullopt when absent.
    std::optional<std::string> header(const std::string& name) const;
};

struct CannedAnswer {
    int status = 200;
    std::string body = "true";
    std::string contentType = "text/plain";
};

// A real HTTP server on 127.0.0.1 (a free port) for the account client's tests: records every request, answers
// from a table by path, and can hold answers back to release them in any order.
class LoopbackServer {
  public:
    LoopbackServer();
    ~LoopbackServer();
    LoopbackServer(const LoopbackServer&) = delete;
    LoopbackServer& operator=(const LoopbackServer&) = delete;

    int port() const { return port_; }
    // "http://127.0.0.1:<port>", the account server address to configure.
    std::string baseAddress() const;

    // The answer to every request for `path`; paths without one get 200 "true".
    void setAnswer(const std::string& path, CannedAnswer answer);
    // While on, every arriving request waits for release(n), n being its 0-based arrival number.
    void holdAnswers(bool hold);
    void release(size_t arrival);

    // Waits until n requests have arrived (bounded so that a fault fails the test rather than hangs it).
    bool waitForRequests(size_t n, std::chrono::milliseconds limit = std::chrono::seconds(10));
    std::vector<RecordedRequest> requests() const;

  private:
    CannedAnswer handle(RecordedRequest request);

    std::unique_ptr<httplib::Server> server_;
    int port_ = -1;
    std::thread listener_;

    mutable std::mutex mutex_;
    std::condition_variable changed_;
    std::vector<RecordedRequest> requests_;
    std::map<std::string, CannedAnswer> answers_;
    bool hold_ = false;
    bool closing_ = false;
    std::set<size_t> released_;
};

}  // namespace keyloom::test
