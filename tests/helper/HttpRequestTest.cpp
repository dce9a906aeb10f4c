#include <gtest/gtest.h>

#include <cstdio>
#include <fstream>
#include <iterator>

#include "Helper/HttpRequest.h"
#include "Helper/HttpSession.h"
#include "Helper/LoginEmail.h"
#include "LoopbackServer.h"
#include "ScriptedServer.h"
#include "platform/MainThread.h"
#include "platform/NotificationCenter.h"

namespace keyloom {
namespace {

using namespace std::chrono_literals;
const std::string kKey = test::kTestAesKey;

using test::decryptWithTestKey;

struct Answer {
    std::string name, result;
    std::optional<int64_t> type, request;
    std::thread::id thread;
};

class HttpRequestTest : public ::testing::Test {
  protected:
    HttpRequestTest() {
        setenv("KEYLOOM_SERVER_URL", server.baseAddress().c_str(), 1);
        setenv("KEYLOOM_AES_KEY", kKey.c_str(), 1);
        for (const char* name : {HTTPRequestNotification, feedbackHTTPRequestNotification})
            observations.push_back(NotificationCenter::defaultCenter().addObserver(name, [this](const Notification& n) {
                const NotificationDictionary* dict = notificationDictionary(n);
                const auto* text =
                    std::any_cast<std::string>(dict && dict->count("result") ? &dict->at("result") : &n.object);
                std::lock_guard lock(mutex);
                answers.push_back(
                    {n.name, text ? *text : "<missing>", dict ? dictionaryInteger(*dict, "type") : std::nullopt,
                     dict ? dictionaryInteger(*dict, "request") : std::nullopt, std::this_thread::get_id()});
                changed.notify_all();
            }));
    }
    ~HttpRequestTest() override { HttpSession::shared()->setTimeout(HttpSession::defaultTimeout); }
    Answer next() {
        std::unique_lock lock(mutex);
        return changed.wait_for(lock, 10s, [&] { return answers.size() > seen; }) ? answers[seen++] : Answer{};
    }

    test::LoopbackServer server;
    std::mutex mutex;
    std::condition_variable changed;
    std::vector<Answer> answers;
    size_t seen = 0;
    std::vector<Observation> observations;  // last: removed before what their handlers touch
};

TEST_F(HttpRequestTest, EachRequestSendsItsPathTokenAndPayload) {
    const std::string email = "User.Name+x@mail-host.example.com", digest = "7C6A180B36896A0A8C02787EEAFB0E4C";
    const std::string a32(32, 'a'), a32Digest = "5ECA9BD3EB07C006CD43AE48DFDE7FD3";  // digest: MD5 of "password1"
    const std::string text = "#type: Problem#subject: Keys#feedback: caf\xC3\xA9 #SoftwareInfo: version:1.2.7#x#";
    const auto login = [&](int64_t type, std::string psw, auto password) {
        return [=] { HttpRequest().Login(type, email, psw, password); };
    };
    const auto typed = HttpRequest::Password::typed, remembered = HttpRequest::Password::rememberedDigest;
    struct Case {
        std::function<void()> call;
        std::string path, body;       // body decrypted unless a token is expected
        int64_t type = 0;             // of the "HTTPRequest" answer
        const char* token = nullptr;  // decrypted
    };
    const Case cases[] = {
        {[&] { setLoginEmail("me@example.org"), HttpRequest().feedback(text); }, "/software/feedback", text, 0,
         "me@example.org"},
        {[] { std::thread([] { HttpRequest().sendSoftwareInfo("version:1.2.7#Quorvath#"); }).join(); },
         "/software/info", "", 0, "me@example.org#version:1.2.7#Quorvath#"},
        // Typed passwords are hashed, whatever their length; only the remembered digest is sent as it is.
        {login(1, a32, typed), "/user/login", email + "#" + a32Digest, 1},
        {login(2, "7c6a180b36896a0a8c02787eeafb0e4c", remembered), "/user/create", email + "#" + digest, 2},
        {login(1, a32.substr(1), remembered), "/user/login", email + "#3B0845DB57C200BE6052466F87B2198A", 1},
        {login(1, a32 + "a", remembered), "/user/login", email + "#B4F13CB081E412F44E99742CB128A1A5", 1},
        {login(3, "ignored", typed), "/user/getresetpasswordtoken", email, 3},
        {login(0, "password1", typed), "/user/login", "", 0},
        {[&] { HttpRequest().resetPassword(email, a32, "12345"); }, "/user/resetpassword",
         email + "#" + a32Digest + "#12345", 4},
    };
    for (size_t i = 0; i < std::size(cases); ++i) {
        const Case& c = cases[i];
        SCOPED_TRACE("case " + std::to_string(i));
        c.call();
        ASSERT_TRUE(server.waitForRequests(i + 1));
        const test::RecordedRequest sent = server.requests().at(i);
        EXPECT_EQ(sent.method, "POST");
        EXPECT_EQ(sent.path, c.path);
        EXPECT_EQ(sent.header("token") ? decryptWithTestKey(*sent.header("token")) : "<none>",
                  c.token ? c.token : "<none>");
        EXPECT_EQ(c.token ? sent.body : decryptWithTestKey(sent.body), c.body);
        if (c.path == "/software/info") continue;  // its answer is ignored; a stray one would be the next case's
        const Answer answer = next();
        EXPECT_EQ(answer.name, c.token ? "feedbackHTTPRequest" : "HTTPRequest");
        EXPECT_EQ(answer.type, c.token ? std::nullopt : std::optional(c.type));
        EXPECT_EQ(answer.result, "true");
    }
}

TEST_F(HttpRequestTest, TheAnswerIsTheBodyWhateverTheStatusOrFalseWithoutOne) {
    const std::pair<test::CannedAnswer, std::string> cases[] = {
        {{200, ""}, ""},
        {{500, "internal error"}, "internal error"},
        {{404, "<h1>Not Found</h1>", "text/html"}, "<h1>Not Found</h1>"},
        {{200, "true\xFF\xFE!"}, "true\xEF\xBF\xBD\xEF\xBF\xBD!"},  // lossy, so the screens' word tests still apply
    };
    for (const auto& [canned, result] : cases) {
        SCOPED_TRACE(canned.body);
        server.setAnswer("/user/login", canned);
        HttpRequest().Login(1, "a@b.cd", "password1");
        EXPECT_EQ(next().result, result);
    }
    // Refused (a server just gone), no server configured, and no answer within the timeout.
    const std::string gone = test::LoopbackServer().baseAddress();
    HttpSession::shared()->setTimeout(300ms);
    server.holdAnswers(true);
    for (const std::string& base : {gone, std::string(), server.baseAddress()}) {
        SCOPED_TRACE(base);
        setenv("KEYLOOM_SERVER_URL", base.c_str(), 1);
        HttpRequest().Login(2, "a@b.cd", "password1");
        EXPECT_EQ(next().result, "false");
    }
}

TEST_F(HttpRequestTest, RequestsInFlightAreAnsweredAsTheyComplete) {
    server.holdAnswers(true);
    std::map<int64_t, int64_t> requestOfType;  // each answer names its request
    for (int64_t type = 1; type <= 3; ++type) {
        requestOfType[type] = HttpRequest().Login(type, "a@b.cd", "password1");
        ASSERT_TRUE(server.waitForRequests(static_cast<size_t>(type)));  // arrival number type - 1
    }
    for (int64_t type : {3, 1, 2}) {
        server.release(static_cast<size_t>(type - 1));
        const Answer answer = next();
        EXPECT_EQ(answer.type, type);
        EXPECT_EQ(answer.request, requestOfType[type]);
        EXPECT_NE(answer.thread, std::this_thread::get_id());  // posted on the HTTP thread
    }
}

// Whatever the server does, an account request reaches it at most once (an account is never created or reset twice),
// and an answer that cannot be used is "false".
TEST_F(HttpRequestTest, ARequestArrivesOnceAndUnusableAnswersAreFalse) {
    constexpr size_t kLimit = 1024 * 1024, kOver = 2 * 1024 * 1024;
    const auto sized = [](size_t size) {
        return "HTTP/1.1 200 OK\r\nContent-Length: " + std::to_string(size) + "\r\n\r\n";
    };
    const struct {
        const char* kind;
        std::string reply;
        size_t filler;
        std::string result;
    } cases[] = {
        {"dropped before answering", "", 0, "false"},
        {"dropped mid-headers", "HTTP/1.1 200 OK\r\nContent-", 0, "false"},
        // Qt would follow 301-303 as a GET and 307/308 as the same POST: none is followed.
        {"moved permanently", "HTTP/1.1 301 Moved Permanently\r\nLocation: /user/create\r\n\r\n", 0, "false"},
        {"found", "HTTP/1.1 302 Found\r\nLocation: /user/login\r\n\r\n", 0, "false"},
        {"see other", "HTTP/1.1 303 See Other\r\nLocation: /user/create\r\n\r\n", 0, "false"},
        {"temporary redirect", "HTTP/1.1 307 Temporary Redirect\r\nLocation: /user/create\r\n\r\n", 0, "false"},
        {"permanent redirect", "HTTP/1.1 308 Permanent Redirect\r\nLocation: /user/login\r\n\r\n", 0, "false"},
        {"1 MB answer", sized(kLimit), kLimit, std::string(kLimit, 'a')},
        {"2 MB answer", sized(kOver), kOver, "false"},
        {"2 MB answer of no said length", "HTTP/1.1 200 OK\r\nConnection: close\r\n\r\n", kOver, "false"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.kind);
        test::ScriptedServer scripted(c.reply, c.filler);
        setenv("KEYLOOM_SERVER_URL", scripted.baseAddress().c_str(), 1);
        HttpRequest().Login(2, "a@b.cd", "password1");
        const std::string result = next().result;
        EXPECT_TRUE(result == c.result) << result.substr(0, 80);
        EXPECT_EQ(scripted.requests(), 1);
    }
}

// Without a server address nothing is built, encrypted or sent: each announced request's "false" comes before the call
// returns, on the calling thread, the usage report says nothing, and the network module is never loaded. In a process
// of its own, where no earlier test has loaded the module.
TEST(HttpRequestWithoutServer, FailsAtOnceWithoutLoadingTheNetworkModule) {
    GTEST_FLAG_SET(death_test_style, "threadsafe");
    const auto run = [] {
        setenv("KEYLOOM_SERVER_URL", "", 1);
        std::vector<std::string> answers;  // "name result", as they come
        std::vector<Observation> observations;
        for (const char* name : {HTTPRequestNotification, feedbackHTTPRequestNotification})
            observations.push_back(NotificationCenter::defaultCenter().addObserver(name, [&](const Notification& n) {
                const NotificationDictionary* dict = notificationDictionary(n);
                const auto* text =
                    std::any_cast<std::string>(dict && dict->count("result") ? &dict->at("result") : &n.object);
                const bool here = isMainThread();
                answers.push_back(n.name + " " + (text ? *text : "<missing>") + (here ? "" : " elsewhere"));
            }));
        const std::pair<std::function<void()>, const char*> cases[] = {
            {[] { HttpRequest().Login(1, "a@b.cd", "password1"); }, "HTTPRequest false"},
            {[] { HttpRequest().Login(2, "a@b.cd", "password1"); }, "HTTPRequest false"},
            {[] { HttpRequest().Login(3, "a@b.cd", ""); }, "HTTPRequest false"},
            {[] { HttpRequest().resetPassword("a@b.cd", "password1", "12345"); }, "HTTPRequest false"},
            {[] { HttpRequest().sendData(1, "already encrypted"); }, "HTTPRequest false"},
            {[] { HttpRequest().feedback("text"); }, "feedbackHTTPRequest false"},
            {[] { HttpRequest().sendSoftwareInfo("version:1.2.7#Quorvath#"); }, nullptr},
        };
        int failures = 0;
        for (const auto& [call, expected] : cases) {
            answers.clear();
            call();
            const std::vector<std::string> want =
                expected ? std::vector<std::string>{expected} : std::vector<std::string>{};
            if (answers != want) {
                std::fprintf(stderr, "expected \"%s\", got %zu answers: \"%s\"\n", expected ? expected : "",
                             answers.size(), answers.empty() ? "" : answers.front().c_str());
                ++failures;
            }
        }
        std::ifstream maps("/proc/self/maps");
        const std::string mapped((std::istreambuf_iterator<char>(maps)), std::istreambuf_iterator<char>());
        for (const char* library : {"libkeyloom_network", "libQt6Network"}) {
            if (mapped.find(library) == std::string::npos) continue;
            std::fprintf(stderr, "%s loaded\n", library);
            ++failures;
        }
        std::fflush(stderr);
        std::exit(failures);
    };
    EXPECT_EXIT(run(), ::testing::ExitedWithCode(0), "");
}

}  // namespace
}  // namespace keyloom
