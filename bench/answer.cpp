// Memory an oversized account-server answer costs: a loopback server answers one request with SIZE megabytes
// (default 50), with or without a Content-Length; the program prints the result, the requests the server saw and the
// process's peak resident memory before and after. Usage: bench_answer [SIZE]
#include <arpa/inet.h>
#include <netinet/in.h>
#include <sys/resource.h>
#include <sys/socket.h>
#include <unistd.h>

#include <QCoreApplication>
#include <atomic>
#include <chrono>
#include <condition_variable>
#include <cstdio>
#include <cstdlib>
#include <mutex>
#include <optional>
#include <string>
#include <thread>

#include "Helper/HttpSession.h"

namespace {

long peakMegabytes() {
    rusage usage{};
    getrusage(RUSAGE_SELF, &usage);
    return usage.ru_maxrss / 1024;
}

// Answers every request with `megabytes` of text, written from a small buffer so the server itself holds little.
class BigAnswerServer {
  public:
    BigAnswerServer(size_t megabytes, bool sayLength) : megabytes_(megabytes), sayLength_(sayLength) {
        listener_ = ::socket(AF_INET, SOCK_STREAM | SOCK_CLOEXEC, 0);
        sockaddr_in address{};
        address.sin_family = AF_INET;
        address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
        socklen_t size = sizeof address;
        if (::bind(listener_, reinterpret_cast<sockaddr*>(&address), size) != 0 || ::listen(listener_, 8) != 0 ||
            ::getsockname(listener_, reinterpret_cast<sockaddr*>(&address), &size) != 0)
            std::abort();
        port_ = ntohs(address.sin_port);
        thread_ = std::thread([this] { serve(); });
    }
    ~BigAnswerServer() {
        ::shutdown(listener_, SHUT_RDWR);
        thread_.join();
        ::close(listener_);
    }
    std::string url() const { return "http://127.0.0.1:" + std::to_string(port_) + "/user/login"; }
    int requests() const { return requests_; }

  private:
    void serve() {
        for (int client; (client = ::accept4(listener_, nullptr, nullptr, SOCK_CLOEXEC)) >= 0; ::close(client)) {
            char in[4096];
            if (::recv(client, in, sizeof in, 0) <= 0) continue;
            ++requests_;
            const size_t total = megabytes_ << 20;
            std::string head = "HTTP/1.1 200 OK\r\nConnection: close\r\n";
            if (sayLength_) head += "Content-Length: " + std::to_string(total) + "\r\n";
            head += "\r\n";
            if (::send(client, head.data(), head.size(), MSG_NOSIGNAL) <= 0) continue;
            const std::string chunk(64 * 1024, 'a');
            for (size_t sent = 0; sent < total; sent += chunk.size())
                if (::send(client, chunk.data(), chunk.size(), MSG_NOSIGNAL) <= 0) break;  // the client gave up
        }
    }
    size_t megabytes_;
    bool sayLength_;
    int listener_ = -1;
    int port_ = 0;
    std::atomic<int> requests_{0};
    std::thread thread_;
};

}  // namespace

int main(int argc, char** argv) {
    QCoreApplication app(argc, argv);
    const size_t megabytes = argc > 1 ? std::max(1, std::atoi(argv[1])) : 50;
    keyloom::HttpSession session;
    std::printf("answer of %zu MB, limit %lld bytes; peak resident memory before: %ld MB\n", megabytes,
                static_cast<long long>(keyloom::HttpSession::maxAnswerSize), peakMegabytes());
    for (bool sayLength : {true, false}) {
        BigAnswerServer server(megabytes, sayLength);
        std::mutex mutex;
        std::condition_variable done;
        std::optional<std::optional<std::string>> result;
        const auto start = std::chrono::steady_clock::now();
        session.post(server.url(), "x", {}, [&](std::optional<std::string> body) {
            std::lock_guard lock(mutex);
            result = std::move(body);
            done.notify_all();
        });
        std::unique_lock lock(mutex);
        done.wait(lock, [&] { return result.has_value(); });
        const double ms = std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - start).count();
        std::printf("%-22s result: %-9s requests seen: %d  time: %6.1f ms  peak resident memory: %ld MB\n",
                    sayLength ? "with Content-Length" : "without Content-Length",
                    *result ? (std::to_string(result->value().size()) + " B").c_str() : "false", server.requests(), ms,
                    peakMegabytes());
    }
    return 0;
}
