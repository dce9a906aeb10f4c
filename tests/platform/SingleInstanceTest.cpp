#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <QDir>
#include <QLocalServer>
#include <QLocalSocket>
#include <cstdlib>
#include <filesystem>
#include <sstream>

#include "platform/SingleInstance.h"
#include "platform/UserFiles.h"
#include "support/TestSupport.h"

namespace keyloom {
namespace {

// Sets an environment variable for the life of the object.
class ScopedEnv {
  public:
    ScopedEnv(const char* name, const char* value) : name_(name) {
        if (const char* old = std::getenv(name)) old_ = old;
        value ? ::setenv(name, value, 1) : ::unsetenv(name);
    }
    ~ScopedEnv() { old_ ? ::setenv(name_, old_->c_str(), 1) : ::unsetenv(name_); }

  private:
    const char* name_;
    std::optional<std::string> old_;
};

std::string printedBy(const std::function<void()>& body) {
    testing::internal::CaptureStdout();
    body();
    return testing::internal::GetCapturedStdout();
}

// The socket lives in the user's runtime folder, or in a user-only folder of our own when that is missing or open.
TEST(SingleInstance, KeyIsInAFolderOfTheUsersOwn) {
    test::TempDataHome runtime;
    const std::string own = QDir::tempPath().toStdString() + "/velkor-keyloom-runtime-" + std::to_string(::geteuid());
    const struct {
        const char* runtimeDir;
        mode_t mode;
        std::string folder;
    } cases[] = {
        {runtime.path().c_str(), 0700, runtime.path()},
        {runtime.path().c_str(), 0755, own},  // open to others: not the user's alone
        {nullptr, 0700, own},
        {"relative/path", 0700, own},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.runtimeDir ? c.runtimeDir : "unset");
        ::chmod(runtime.path().c_str(), c.mode);
        ScopedEnv env("XDG_RUNTIME_DIR", c.runtimeDir);
        EXPECT_EQ(defaultInstanceKey().toStdString(), c.folder + "/velkor-keyloom");
    }
}

class SingleInstanceStart : public ::testing::Test {
  protected:
    void TearDown() override {
        setPeerUserIdForTesting(std::nullopt);
        setDataUserIdForTesting(std::nullopt);
    }
    test::TempDataHome folder;
    const QString key = QString::fromStdString(folder.path() + "/run/velkor-keyloom");
};

// Another user's listener on the name (a fake peer here) is never asked and does not stop the start; the next start
// of the same user reaches the copy that took the name over, and says so.
TEST_F(SingleInstanceStart, AnotherUsersListenerDoesNotStopTheStart) {
    std::filesystem::create_directories(folder.path() + "/run");
    QLocalServer squatter;
    ASSERT_TRUE(squatter.listen(key));
    setPeerUserIdForTesting(::geteuid() + 1);
    SingleInstance first(key);
    EXPECT_EQ(printedBy([&] { EXPECT_FALSE(first.forwardToRunningInstance()); }),
              key.toStdString() + " was held by another user's program: taken over\n");
    setPeerUserIdForTesting(std::nullopt);
    int activations = 0;
    QObject::connect(&first, &SingleInstance::activationRequested, [&] { ++activations; });

    SingleInstance second(key);
    EXPECT_EQ(printedBy([&] { EXPECT_TRUE(second.forwardToRunningInstance()); }),
              "Velkor Keyloom is already running: its window was brought forward\n");
    EXPECT_TRUE(test::processEventsUntil([&] { return activations == 1; }));
    EXPECT_EQ(std::filesystem::status(folder.path() + "/run").permissions(), std::filesystem::perms::owner_all);
    QLocalSocket* asked = squatter.nextPendingConnection();
    EXPECT_TRUE(!asked || asked->readAll().isEmpty()) << "the other user's listener heard nothing";
}

// A start of another user (a fake peer here) cannot bring the window forward.
TEST_F(SingleInstanceStart, OnlyTheSameUsersStartIsHeard) {
    SingleInstance first(key);
    printedBy([&] { ASSERT_FALSE(first.forwardToRunningInstance()); });
    int activations = 0;
    QObject::connect(&first, &SingleInstance::activationRequested, [&] { ++activations; });
    setPeerUserIdForTesting(::geteuid() + 1);
    QLocalSocket stranger;
    stranger.connectToServer(key);
    ASSERT_TRUE(stranger.waitForConnected(5000));
    stranger.write("activate\n");
    EXPECT_TRUE(test::processEventsUntil([&] { return stranger.state() == QLocalSocket::UnconnectedState; }))
        << "turned away";
    EXPECT_EQ(activations, 0);
}

// A socket folder of another user is not used; the program starts all the same.
TEST_F(SingleInstanceStart, AFolderOfAnotherUserIsNotUsed) {
    std::filesystem::create_directories(folder.path() + "/run");
    setDataUserIdForTesting(::geteuid() + 1);
    SingleInstance first(key);
    EXPECT_EQ(printedBy([&] { EXPECT_FALSE(first.forwardToRunningInstance()); }),
              folder.path() + "/run is owned by another user: running without the single-instance socket\n");
    EXPECT_FALSE(std::filesystem::exists(key.toStdString()));
}

}  // namespace
}  // namespace keyloom
