#include <gtest/gtest.h>
#include <netinet/in.h>
#include <openssl/evp.h>
#include <sys/socket.h>
#include <unistd.h>

#include <QByteArray>
#include <QString>
#include <condition_variable>
#include <cstdlib>
#include <memory>
#include <mutex>
#include <optional>
#include <thread>
#include <vector>

#include "Helper/HttpRequest.h"
#include "Helper/HttpSession.h"
#include "Helper/LoginEmail.h"
#include "LoopbackServer.h"
#include "platform/NotificationCenter.h"

namespace keyloom {
namespace {

using namespace std::chrono_literals;
using test::CannedAnswer;
using test::LoopbackServer;
using test::RecordedRequest;

const std::string kKey = "0123456789abcdef";
const auto kWait = 10s;  // bound on every wait, so a fault fails instead of hanging

// Independent of the code under test: base64 decode and AES-128-ECB/PKCS#7 decrypt with OpenSSL.
std::optional<std::string> decrypt(const std::string& base64) {
    const auto decoded =
        QByteArray::fromBase64Encoding(QByteArray::fromStdString(base64), QByteArray::AbortOnBase64DecodingErrors);
    if (!decoded) return std::nullopt;
    const QByteArray cipher = *decoded;
    std::unique_ptr<EVP_CIPHER_CTX, decltype(&EVP_CIPHER_CTX_free)> ctx(EVP_CIPHER_CTX_new(), &EVP_CIPHER_CTX_free);
    std::string plain(static_cast<size_t>(cipher.size()) + 16, '\0');
    int n = 0, tail = 0;
    auto* out = reinterpret_cast<unsigned char*>(plain.data());
    if (EVP_DecryptInit_ex(ctx.get(), EVP_aes_128_ecb(), nullptr, reinterpret_cast<const unsigned char*>(kKey.data()),
                           nullptr) != 1 ||
        EVP_DecryptUpdate(ctx.get(), out, &n, reinterpret_cast<const unsigned char*>(cipher.data()),
                          static_cast<int>(cipher.size())) != 1 ||
        EVP_DecryptFinal_ex(ctx.get(), out + n, &tail) != 1)
        return std::nullopt;
    plain.resize(static_cast<size_t>(n + tail));
    return plain;
}

struct Answer {
    std::string name;
    std::optional<int64_t> type;
    std::string result;
    std::thread::id thread;
};

// Records the answer notifications, from whatever thread posts them.
class AnswerLog {
  public:
    AnswerLog() {
        auto& center = NotificationCenter::defaultCenter();
        login_ = center.addObserver(HTTPRequestNotification, [this](const Notification& note) {
            const NotificationDictionary* dict = notificationDictionary(note);
            const std::string* result =
                dict && dict->count("result") ? std::any_cast<std::string>(&dict->at("result")) : nullptr;
            add({note.name, dict ? dictionaryInteger(*dict, "type") : std::nullopt, result ? *result : "<missing>",
                 std::this_thread::get_id()});
        });
        feedback_ = center.addObserver(feedbackHTTPRequestNotification, [this](const Notification& note) {
            const std::string* result = std::any_cast<std::string>(&note.object);
            add({note.name, std::nullopt, result ? *result : "<missing>", std::this_thread::get_id()});
        });
    }
    bool waitFor(size_t n) {
        std::unique_lock lock(mutex_);
        return changed_.wait_for(lock, kWait, [&] { return answers_.size() >= n; });
    }
    std::vector<Answer> answers() {
        std::lock_guard lock(mutex_);
        return answers_;
    }

  private:
    void add(Answer answer) {
        {
            std::lock_guard lock(mutex_);
            answers_.push_back(std::move(answer));
        }
        changed_.notify_all();
    }
    std::mutex mutex_;
    std::condition_variable changed_;
    std::vector<Answer> answers_;
    Observation login_, feedback_;
};

class HttpRequestTest : public ::testing::Test {
  protected:
    void SetUp() override {
        pointAt(server.baseAddress());
        setenv("KEYLOOM_AES_KEY", kKey.c_str(), 1);
        setLoginEmail("");
    }
    void TearDown() override {
        HttpSession::shared()->setTimeout(HttpSession::defaultTimeout);
        unsetenv("KEYLOOM_SERVER_URL");
        unsetenv("KEYLOOM_AES_KEY");
        setLoginEmail("");
    }
    static void pointAt(const std::string& address) { setenv("KEYLOOM_SERVER_URL", address.c_str(), 1); }

    // The one answer of a request just made, after the server has seen it.
    Answer answerTo(size_t arrivals) {
        EXPECT_TRUE(server.waitForRequests(arrivals));
        EXPECT_TRUE(log.waitFor(answersSeen + 1));
        return log.answers().at(answersSeen++);
    }

    LoopbackServer server;
    AnswerLog log;
    size_t answersSeen = 0;
};

TEST_F(HttpRequestTest, AccountRequestsCarryTheSpecifiedEncryptedPayload) {
    const std::string email = "User.Name+x@mail-host.example.com";
    const std::string password1 = "7C6A180B36896A0A8C02787EEAFB0E4C";   // MD5 of "password1", upper-cased
    const std::string remembered = "7c6a180b36896a0a8c02787eeafb0e4c";  // that digest as the login store keeps it
    const std::string a32(32, 'a');                                     // MD5 5eca9bd3eb07c006cd43ae48dfde7fd3
    using P = HttpRequest::Password;
    struct Case {
        const char* what;
        std::function<void(HttpRequest&)> call;
        int64_t type;
        std::string path;
        std::string payload;
    };
    const Case cases[] = {
        {"log in", [&](HttpRequest& r) { r.Login(1, email, "password1"); }, 1, "/user/login", email + "#" + password1},
        {"create", [&](HttpRequest& r) { r.Login(2, email, "password1"); }, 2, "/user/create", email + "#" + password1},
        {"a typed 32-character password is hashed", [&](HttpRequest& r) { r.Login(1, email, a32); }, 1, "/user/login",
         email + "#5ECA9BD3EB07C006CD43AE48DFDE7FD3"},
        {"the remembered digest goes unhashed, upper-cased",
         [&](HttpRequest& r) { r.Login(1, email, remembered, P::rememberedDigest); }, 1, "/user/login",
         email + "#" + password1},
        {"a remembered text of 31 characters is no digest",
         [&](HttpRequest& r) { r.Login(1, email, std::string(31, 'a'), P::rememberedDigest); }, 1, "/user/login",
         email + "#3B0845DB57C200BE6052466F87B2198A"},
        {"a remembered text of 33 characters is no digest",
         [&](HttpRequest& r) { r.Login(1, email, std::string(33, 'a'), P::rememberedDigest); }, 1, "/user/login",
         email + "#B4F13CB081E412F44E99742CB128A1A5"},
        {"reset code: the e-mail alone", [&](HttpRequest& r) { r.Login(3, email, "ignored"); }, 3,
         "/user/getresetpasswordtoken", email},
        {"type 0", [&](HttpRequest& r) { r.Login(0, email, "password1"); }, 0, "/user/login", ""},
        {"type 5", [&](HttpRequest& r) { r.Login(5, email, "password1"); }, 5, "/user/login", ""},
        {"type 4 through Login", [&](HttpRequest& r) { r.Login(4, email, "password1"); }, 4, "/user/resetpassword", ""},
        {"reset always hashes", [&](HttpRequest& r) { r.resetPassword(email, a32, "12345"); }, 4, "/user/resetpassword",
         email + "#5ECA9BD3EB07C006CD43AE48DFDE7FD3#12345"},
        {"'#' inside a field is sent unchanged",
         [&](HttpRequest& r) { r.resetPassword("a#b@c.de", "password1", "1#2"); }, 4, "/user/resetpassword",
         "a#b@c.de#" + password1 + "#1#2"},
    };
    size_t arrivals = 0;
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        HttpRequest request;
        c.call(request);
        const Answer answer = answerTo(++arrivals);
        const RecordedRequest sent = server.requests().at(arrivals - 1);
        EXPECT_EQ(sent.method, "POST");
        EXPECT_EQ(sent.path, c.path);
        EXPECT_FALSE(sent.header("token"));
        EXPECT_EQ(decrypt(sent.body), c.payload);
        if (c.payload.empty()) {
            EXPECT_EQ(sent.body.size(), 24u);
        }
        EXPECT_EQ(answer.name, "HTTPRequest");
        EXPECT_EQ(answer.type, c.type);
        EXPECT_EQ(answer.result, "true");
    }
}

TEST_F(HttpRequestTest, FeedbackIsPlainTextSignedWithTheLoginEmail) {
    server.setAnswer("/software/feedback", {200, "feedback true"});
    const std::string chunk = "#type: Problem#subject: Keys#feedback: caf\xC3\xA9 #SoftwareInfo: version:1.2.7#x#";
    HttpRequest().feedback(chunk);
    Answer answer = answerTo(1);
    RecordedRequest sent = server.requests().at(0);
    EXPECT_EQ(sent.method, "POST");
    EXPECT_EQ(sent.path, "/software/feedback");
    EXPECT_EQ(sent.body, chunk);
    ASSERT_TRUE(sent.header("token"));
    EXPECT_EQ(sent.header("token")->size(), 24u);  // the encryption of the empty e-mail
    EXPECT_EQ(decrypt(*sent.header("token")), "");
    EXPECT_EQ(answer.name, "feedbackHTTPRequest");
    EXPECT_EQ(answer.result, "feedback true");

    setLoginEmail("me@example.org");
    HttpRequest().feedback("second");
    answer = answerTo(2);
    sent = server.requests().at(1);
    EXPECT_EQ(decrypt(sent.header("token").value_or("")), "me@example.org");
    EXPECT_EQ(sent.body, "second");
}

TEST_F(HttpRequestTest, UsageReportHasNoBodyAndATokenFromAnyThread) {
    setLoginEmail("me@example.org");
    // The home screen sends it from the device monitor's side, not the main thread.
    std::thread monitor([] { HttpRequest().sendSoftwareInfo("version:1.2.7#Quorvath#"); });
    monitor.join();
    ASSERT_TRUE(server.waitForRequests(1));
    const RecordedRequest sent = server.requests().at(0);
    EXPECT_EQ(sent.method, "POST");
    EXPECT_EQ(sent.path, "/software/info");
    EXPECT_EQ(sent.body, "");
    EXPECT_EQ(decrypt(sent.header("token").value_or("")), "me@example.org#version:1.2.7#Quorvath#");
}

TEST_F(HttpRequestTest, UsageReportAnnouncesNothingEvenWhenItFails) {
    pointAt("");
    HttpRequest().sendSoftwareInfo("version:1.2.7##");
    HttpRequest().Login(1, "a@b.cd", "password1");  // answered after the report's completion, on the same thread
    ASSERT_TRUE(log.waitFor(1));
    const auto answers = log.answers();
    ASSERT_EQ(answers.size(), 1u);
    EXPECT_EQ(answers[0].type, 1);
    EXPECT_EQ(answers[0].result, "false");
}

TEST_F(HttpRequestTest, AnswerBodiesAreResultsWhateverTheStatus) {
    const std::string html = "<html><body><h1>404 Not Found</h1></body></html>";
    struct Case {
        const char* what;
        CannedAnswer answer;
        std::string result;
    };
    const Case cases[] = {
        {"empty body", {200, ""}, ""},
        {"status 500", {500, "false"}, "false"},
        {"status 404 with a page", {404, html, "text/html"}, html},
        {"status 400", {400, "error token"}, "error token"},
        {"status 503", {503, "busy"}, "busy"},
        // Invalid UTF-8 is replaced, so the word tests of the screens still see "true".
        {"not UTF-8", {200, "true\xFF\xFE!"}, "true\xEF\xBF\xBD\xEF\xBF\xBD!"},
    };
    size_t arrivals = 0;
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        server.setAnswer("/user/login", c.answer);
        HttpRequest().Login(1, "a@b.cd", "password1");
        const Answer answer = answerTo(++arrivals);
        EXPECT_EQ(answer.type, 1);
        EXPECT_EQ(answer.result, c.result);
    }
}

TEST_F(HttpRequestTest, UnreachableServerGivesFalse) {
    // A bound socket that does not listen: connections are refused.
    const int fd = ::socket(AF_INET, SOCK_STREAM, 0);
    ASSERT_GE(fd, 0);
    sockaddr_in address{};
    address.sin_family = AF_INET;
    address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    socklen_t length = sizeof address;
    ASSERT_EQ(::bind(fd, reinterpret_cast<sockaddr*>(&address), sizeof address), 0);
    ASSERT_EQ(::getsockname(fd, reinterpret_cast<sockaddr*>(&address), &length), 0);
    const std::string refused = "http://127.0.0.1:" + std::to_string(ntohs(address.sin_port));

    const std::string addresses[] = {refused, "", "not an address", "ftp://127.0.0.1:1"};
    for (const std::string& base : addresses) {
        SCOPED_TRACE(base);
        pointAt(base);
        HttpRequest().Login(2, "a@b.cd", "password1");
        ASSERT_TRUE(log.waitFor(answersSeen + 1));
        const Answer answer = log.answers().at(answersSeen++);
        EXPECT_EQ(answer.type, 2);
        EXPECT_EQ(answer.result, "false");
        HttpRequest().feedback("text");
        ASSERT_TRUE(log.waitFor(answersSeen + 1));
        EXPECT_EQ(log.answers().at(answersSeen++).result, "false");
    }
    ::close(fd);
    EXPECT_TRUE(server.requests().empty());
}

TEST_F(HttpRequestTest, SilentServerTimesOutToFalse) {
    HttpSession::shared()->setTimeout(300ms);
    server.holdAnswers(true);  // accepted and read, never answered
    HttpRequest().Login(3, "a@b.cd", "");
    const Answer answer = answerTo(1);
    EXPECT_EQ(answer.type, 3);
    EXPECT_EQ(answer.result, "false");
}

TEST_F(HttpRequestTest, RequestsInFlightAreAnsweredInTheOrderTheyComplete) {
    server.holdAnswers(true);
    server.setAnswer("/user/login", {200, "answer 1"});
    server.setAnswer("/user/create", {200, "answer 2"});
    server.setAnswer("/user/getresetpasswordtoken", {200, "answer 3"});
    HttpRequest().Login(1, "a@b.cd", "password1");
    HttpRequest().Login(2, "a@b.cd", "password1");
    HttpRequest().Login(3, "a@b.cd", "");
    ASSERT_TRUE(server.waitForRequests(3));  // all three reached the server before any answer left it
    const auto sent = server.requests();
    const auto arrivalOf = [&](const std::string& path) {
        for (size_t i = 0; i < sent.size(); ++i)
            if (sent[i].path == path) return i;
        ADD_FAILURE() << path;
        return size_t{0};
    };
    const std::pair<const char*, int64_t> releaseOrder[] = {
        {"/user/getresetpasswordtoken", 3}, {"/user/login", 1}, {"/user/create", 2}};
    for (size_t i = 0; i < 3; ++i) {
        server.release(arrivalOf(releaseOrder[i].first));
        ASSERT_TRUE(log.waitFor(i + 1));
        const Answer answer = log.answers().at(i);
        EXPECT_EQ(answer.type, releaseOrder[i].second);
        EXPECT_EQ(answer.result, "answer " + std::to_string(releaseOrder[i].second));
        EXPECT_NE(answer.thread, std::this_thread::get_id());  // posted on the HTTP thread
    }
}

TEST(HttpSession, DestructionAbandonsRequestsInFlight) {
    LoopbackServer server;
    server.holdAnswers(true);
    std::mutex mutex;
    int completions = 0;
    {
        HttpSession session;
        for (int i = 0; i < 3; ++i)
            session.post(server.baseAddress() + "/user/login", "body", {}, [&](std::optional<std::string>) {
                std::lock_guard lock(mutex);
                ++completions;
            });
        ASSERT_TRUE(server.waitForRequests(3));
    }  // joins with three requests pending
    std::lock_guard lock(mutex);
    EXPECT_EQ(completions, 0);
}

}  // namespace
}  // namespace keyloom
