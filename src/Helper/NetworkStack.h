#pragma once

#include <cstdint>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <utility>
#include <vector>

namespace keyloom {

using HttpHeaders = std::vector<std::pair<std::string, std::string>>;
// The answer body whatever the HTTP status, or nullopt when no usable answer came (see HttpSession).
using HttpCompletion = std::function<void(std::optional<std::string> body)>;

// The account server answers with a word or a short text: anything larger is not an answer.
inline constexpr int64_t kMaxHttpAnswerSize = 1024 * 1024;

// Sends HTTP requests from the thread that made it, which runs a Qt event loop, and completes them there. Destroying
// it abandons the requests in flight: their completions never run.
class HttpTransport {
  public:
    virtual ~HttpTransport() = default;
    // A POST that reaches the server at most once: no redirect followed, no resend on a dropped connection.
    virtual void post(std::string url, std::string body, const HttpHeaders& headers, int timeoutMs,
                      HttpCompletion done) = 0;
};

// What the account client needs of the network and of cryptography (Qt Network, OpenSSL), in a module of its own,
// loaded at the first request, so that the program starts without those libraries.
struct NetworkStack {
    // MD5 of the bytes as 32 lowercase hexadecimal digits; empty when the digest fails.
    std::string (*md5)(const std::string& text);
    // AES-128-ECB, PKCS#7, base64 under a 16-byte key; empty when the cipher fails.
    std::string (*encryptAES)(const std::string& text, const std::string& key);
    std::unique_ptr<HttpTransport> (*makeTransport)();
};

// Raised whenever the module's side of NetworkStack or HttpTransport changes: an older module is refused.
inline constexpr int kNetworkStackVersion = 1;

// The module, loaded on the first call (from any thread); nullptr when it cannot be loaded, which is said once on
// standard error.
const NetworkStack* networkStack();

}  // namespace keyloom
