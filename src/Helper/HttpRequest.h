#pragma once

#include <cstdint>
#include <string>

namespace keyloom {

// Names of the answer notifications. "HTTPRequest" carries a NotificationDictionary {"type": int64_t request type,
// "result": std::string answer, "request": int64_t number of the request}; "feedbackHTTPRequest" carries the answer
// text (std::string) itself. Both are posted on the HTTP thread; "false" is the answer when the server could not be
// reached. With no server address configured a request is not even built: its "false" is posted at once, on the
// calling thread, before the operation returns.
inline constexpr const char* HTTPRequestNotification = "HTTPRequest";
inline constexpr const char* feedbackHTTPRequestNotification = "feedbackHTTPRequest";

// The account server client. It holds nothing: make one per request, call one operation and drop it. No operation
// blocks; the answer arrives later as a notification.
class HttpRequest {
  public:
    // What the password text given to Login is: typed by the user (always hashed), or the remembered digest taken
    // from the login store, which is sent as it stands.
    enum class Password { typed, rememberedDigest };

    // The requests announced as "HTTPRequest" return the number that their answer carries under "request", unique in
    // the process, so that a screen can tell the answer to its own request from another screen's of the same type.

    // Log-in (type 1) and account creation (type 2) send "email#DIGEST", type 3 (reset code) the e-mail alone,
    // any other type the empty text.
    int64_t Login(int64_t type, const std::string& email, const std::string& psw, Password password = Password::typed);
    // Type 4: "email#DIGEST#code", the password always hashed.
    int64_t resetPassword(const std::string& email, const std::string& psw, const std::string& code);
    // Sends an already encrypted body to the path of `type` and announces the answer as "HTTPRequest".
    int64_t sendData(int64_t type, const std::string& data);
    // Sends one piece of a feedback message, signed with the log-in e-mail; the answer comes as "feedbackHTTPRequest".
    void feedback(const std::string& text);
    // The usage report, signed with the log-in e-mail and the given text; its answer is ignored.
    void sendSoftwareInfo(const std::string& text);
};

}  // namespace keyloom
