#include "AccountTestSupport.h"

#include <QLocale>

#include "Helper/HttpRequest.h"
#include "Helper/LoginEmail.h"
#include "Helper/TextHelpers.h"
#include "SQLite/LocalSQLite.h"
#include "platform/MainThread.h"
#include "platform/NotificationCenter.h"

namespace keyloom::test {

std::string upperMd5(const std::string& text) {
    return QString::fromStdString(md5(text)).toUpper().toStdString();
}

AccountEnvironment::AccountEnvironment() {
    setenv("KEYLOOM_SERVER_URL", server.baseAddress().c_str(), 1);
    setenv("KEYLOOM_AES_KEY", kTestAesKey, 1);
    setLoginEmail("");
}

AccountEnvironment::~AccountEnvironment() {
    unsetenv("KEYLOOM_SERVER_URL");
    unsetenv("KEYLOOM_AES_KEY");
}

void AccountEnvironment::storeLogin(const std::string& email, const std::string& psw, int64_t remember) {
    LoginData row;
    row.email = email;
    row.psw = psw;
    row.remember = remember;
    EXPECT_GT(LocalSQLite().updateLoginData(row), 0);
}

LoginData AccountEnvironment::storedLogin() {
    LoginData row;
    LocalSQLite().getLoginData(row);
    row.userId = 0;
    return row;
}

void AccountEnvironment::untilAnswered(const std::function<void()>& action) {
    bool handled = false;
    const auto mark = [&handled](const Notification&) { runOnMain(&handled, [&handled] { handled = true; }); };
    std::vector<Observation> barrier;
    for (const char* name : {HTTPRequestNotification, feedbackHTTPRequestNotification})
        barrier.push_back(NotificationCenter::defaultCenter().addObserver(name, mark));
    action();
    EXPECT_TRUE(processEventsUntil([&] { return handled; })) << "no answer";
    barrier.clear();
    cancelMainThreadCalls(&handled);
}

std::string AccountEnvironment::decryptedBody(size_t n) {
    if (!server.waitForRequests(n + 1)) return "<no request>";
    return decryptWithTestKey(server.requests().at(n).body);
}

}  // namespace keyloom::test
