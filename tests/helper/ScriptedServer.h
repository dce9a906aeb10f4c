#pragma once

#include <arpa/inet.h>
#include <netinet/in.h>
#include <sys/socket.h>
#include <unistd.h>

#include <algorithm>
#include <atomic>
#include <cstdlib>
#include <mutex>
#include <string>
#include <thread>

namespace keyloom::test {

// A bare HTTP server on 127.0.0.1 for what a well-behaved server never does: it reads each request (headers and a
// Content-Length body), counts it, writes `reply` as it stands (cut short, a redirect, a huge answer) followed by
// `filler` bytes of text (written from a small buffer, so a huge answer costs the server little) and closes.
class ScriptedServer {
  public:
    explicit ScriptedServer(std::string reply, size_t filler = 0) : reply_(std::move(reply)), filler_(filler) {
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
    ~ScriptedServer() {
        {
            std::lock_guard lock(mutex_);
            stopping_ = true;
            ::shutdown(listener_, SHUT_RDWR);                  // ends the accept
            if (client_ >= 0) ::shutdown(client_, SHUT_RDWR);  // and a read from a client that never finishes
        }
        thread_.join();
        ::close(listener_);
    }
    std::string baseAddress() const { return "http://127.0.0.1:" + std::to_string(port_); }
    int requests() const { return requests_; }

  private:
    void serve() {
        for (;;) {
            const int client = ::accept4(listener_, nullptr, nullptr, SOCK_CLOEXEC);
            if (client < 0) return;
            {
                std::lock_guard lock(mutex_);
                if (stopping_) return (void)::close(client);
                client_ = client;
            }
            if (readRequest(client)) {
                ++requests_;
                const std::string chunk(64 * 1024, 'a');
                if (sendAll(client, reply_.data(), reply_.size()))
                    for (size_t sent = 0; sent < filler_; sent += chunk.size())
                        if (!sendAll(client, chunk.data(), std::min(chunk.size(), filler_ - sent))) break;
            }
            std::lock_guard lock(mutex_);
            ::close(client);
            client_ = -1;
        }
    }
    // False when the client gave up reading.
    static bool sendAll(int client, const char* data, size_t size) {
        for (size_t sent = 0; sent < size;) {
            const ssize_t n = ::send(client, data + sent, size - sent, MSG_NOSIGNAL);
            if (n <= 0) return false;
            sent += static_cast<size_t>(n);
        }
        return true;
    }
    static bool readRequest(int client) {
        std::string in;
        char buffer[4096];
        size_t end = std::string::npos;
        while (end == std::string::npos || in.size() < end + 4 + bodyLength(in)) {
            const ssize_t n = ::recv(client, buffer, sizeof buffer, 0);
            if (n <= 0) return false;
            in.append(buffer, static_cast<size_t>(n));
            end = in.find("\r\n\r\n");
        }
        return true;
    }
    static size_t bodyLength(const std::string& head) {
        const size_t at = head.find("Content-Length: ");
        return at == std::string::npos ? 0 : std::strtoul(head.c_str() + at + 16, nullptr, 10);
    }

    std::string reply_;
    size_t filler_;
    int listener_ = -1;
    int port_ = 0;
    std::atomic<int> requests_{0};
    std::mutex mutex_;
    int client_ = -1;  // the connection being served
    bool stopping_ = false;
    std::thread thread_;
};

}  // namespace keyloom::test
