#include "Helper/HttpRequest.h"

#include <QLocale>
#include <QString>
#include <atomic>
#include <functional>

#include "Helper/AccountSettings.h"
#include "Helper/HttpSession.h"
#include "Helper/LoginEmail.h"
#include "Helper/TextHelpers.h"
#include "platform/NotificationCenter.h"

namespace keyloom {

namespace {

std::string pathForType(int64_t type) {
    switch (type) {
        case 2:
            return "/user/create";
        case 3:
            return "/user/getresetpasswordtoken";
        case 4:
            return "/user/resetpassword";
        default:
            return "/user/login";
    }
}

std::string upperCased(const std::string& text) {
    return QLocale::system().toUpper(QString::fromStdString(text)).toStdString();
}

// The answer as text: invalid UTF-8 is replaced rather than refused, so the screens' word tests still apply.
std::string resultText(const std::optional<std::string>& body) {
    if (!body) return "false";
    return QString::fromUtf8(body->data(), static_cast<qsizetype>(body->size())).toStdString();
}

struct Outgoing {
    std::string body;
    HttpSession::Headers headers;
};

// The request is built (hashed, encrypted: work of the network module) only when there is a server to send it to.
// Without one it fails at once, on the calling thread, as unreachable.
void send(const std::string& path, const std::function<Outgoing()>& build, HttpSession::Completion done) {
    const std::string base = AccountSettings::serverAddress();
    const std::shared_ptr<HttpSession> session = base.empty() ? nullptr : HttpSession::shared();
    if (!session) {
        if (done) done(std::nullopt);  // no server, or no application to carry the request
        return;
    }
    Outgoing out = build();
    session->post(base + path, std::move(out.body), std::move(out.headers), std::move(done));
}

// Sends what build makes to the path of `type` and announces the answer as "HTTPRequest"; returns the request number.
int64_t announced(int64_t type, const std::function<std::string()>& build) {
    static std::atomic<int64_t> lastRequest{0};
    const int64_t request = ++lastRequest;
    send(
        pathForType(type),
        [&] {
            return Outgoing{build(), {}};
        },
        [type, request](std::optional<std::string> body) {
            NotificationCenter::defaultCenter().post(
                HTTPRequestNotification,
                NotificationDictionary{{"type", type}, {"result", resultText(body)}, {"request", request}});
        });
    return request;
}

}  // namespace

int64_t HttpRequest::Login(int64_t type, const std::string& email, const std::string& psw, Password password) {
    return announced(type, [&] {
        std::string payload;
        if (type == 1 || type == 2) {
            // Only a remembered digest goes out as a digest; it is 32 hexadecimal digits, anything else is hashed.
            const bool digest = password == Password::rememberedDigest && characterCount(psw) == 32;
            payload = email + "#" + upperCased(digest ? psw : md5(psw));
        } else if (type == 3) {
            payload = email;
        }
        return encryptAES(payload);
    });
}

int64_t HttpRequest::resetPassword(const std::string& email, const std::string& psw, const std::string& code) {
    return announced(4, [&] { return encryptAES(email + "#" + upperCased(md5(psw)) + "#" + code); });
}

int64_t HttpRequest::sendData(int64_t type, const std::string& data) {
    return announced(type, [&] { return data; });
}

void HttpRequest::feedback(const std::string& text) {
    send(
        "/software/feedback",
        [&] {
            return Outgoing{text, {{"token", encryptAES(loginEmail())}}};
        },
        [](std::optional<std::string> body) {
            NotificationCenter::defaultCenter().post(feedbackHTTPRequestNotification, resultText(body));
        });
}

void HttpRequest::sendSoftwareInfo(const std::string& text) {
    send("/software/info", [&] { return Outgoing{{}, {{"token", encryptAES(loginEmail() + "#" + text)}}}; }, {});
}

}  // namespace keyloom
