#include "Helper/HttpRequest.h"

#include <QLocale>
#include <QString>
#include <atomic>

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

void send(const std::string& path, std::string body, HttpSession::Headers headers, HttpSession::Completion done) {
    const std::shared_ptr<HttpSession> session = HttpSession::shared();
    if (!session) {
        if (done) done(std::nullopt);  // no application to carry the request: as unreachable
        return;
    }
    const std::string base = AccountSettings::serverAddress();
    session->post(base.empty() ? std::string() : base + path, std::move(body), std::move(headers), std::move(done));
}

}  // namespace

int64_t HttpRequest::Login(int64_t type, const std::string& email, const std::string& psw, Password password) {
    std::string payload;
    if (type == 1 || type == 2) {
        // Only a remembered digest goes out as a digest; it is 32 hexadecimal digits, anything else is hashed.
        const bool digest = password == Password::rememberedDigest && characterCount(psw) == 32;
        payload = email + "#" + upperCased(digest ? psw : md5(psw));
    } else if (type == 3) {
        payload = email;
    }
    return sendData(type, encryptAES(payload));
}

int64_t HttpRequest::resetPassword(const std::string& email, const std::string& psw, const std::string& code) {
    return sendData(4, encryptAES(email + "#" + upperCased(md5(psw)) + "#" + code));
}

int64_t HttpRequest::sendData(int64_t type, const std::string& data) {
    static std::atomic<int64_t> lastRequest{0};
    const int64_t request = ++lastRequest;
    send(pathForType(type), data, {}, [type, request](std::optional<std::string> body) {
        NotificationCenter::defaultCenter().post(
            HTTPRequestNotification,
            NotificationDictionary{{"type", type}, {"result", resultText(body)}, {"request", request}});
    });
    return request;
}

void HttpRequest::feedback(const std::string& text) {
    send("/software/feedback", text, {{"token", encryptAES(loginEmail())}}, [](std::optional<std::string> body) {
        NotificationCenter::defaultCenter().post(feedbackHTTPRequestNotification, resultText(body));
    });
}

void HttpRequest::sendSoftwareInfo(const std::string& text) {
    send("/software/info", {}, {{"token", encryptAES(loginEmail() + "#" + text)}}, {});
}

}  // namespace keyloom
