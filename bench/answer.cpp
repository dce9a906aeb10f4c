// Memory an oversized account-server answer costs: a loopback server answers one request with SIZE megabytes
// (default 50), with or without a Content-Length; the program prints the result, the requests the server saw and the
// process's peak resident memory before and after. Usage: bench_answer [SIZE]
#include <sys/resource.h>

#include <QCoreApplication>
#include <chrono>
#include <condition_variable>
#include <cstdio>
#include <cstdlib>
#include <mutex>
#include <optional>
#include <string>

#include "Helper/HttpSession.h"
#include "ScriptedServer.h"

namespace {

long peakMegabytes() {
    rusage usage{};
    getrusage(RUSAGE_SELF, &usage);
    return usage.ru_maxrss / 1024;
}

}  // namespace

int main(int argc, char** argv) {
    QCoreApplication app(argc, argv);
    const size_t megabytes = argc > 1 ? std::max(1, std::atoi(argv[1])) : 50;
    keyloom::HttpSession session;
    std::printf("answer of %zu MB, limit %lld bytes; peak resident memory before: %ld MB\n", megabytes,
                static_cast<long long>(keyloom::HttpSession::maxAnswerSize), peakMegabytes());
    const size_t size = megabytes << 20;
    for (bool sayLength : {true, false}) {
        keyloom::test::ScriptedServer server(
            "HTTP/1.1 200 OK\r\n" + (sayLength ? "Content-Length: " + std::to_string(size) + "\r\n" : "") + "\r\n",
            size);
        std::mutex mutex;
        std::condition_variable done;
        std::optional<std::optional<std::string>> result;
        const auto start = std::chrono::steady_clock::now();
        session.post(server.baseAddress() + "/user/login", "x", {}, [&](std::optional<std::string> body) {
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
