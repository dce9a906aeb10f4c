#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include "SQLite/LocalSQLite.h"
#include "StorageTestHelpers.h"
#include "support/TestSupport.h"

namespace keyloom {
namespace {

using ::testing::ElementsAre;
using Rows = std::vector<std::vector<std::string>>;

const char* kFile = "local.sqlite3";
const std::string kDigest1 = "0123456789abcdef0123456789abcdef";
const std::string kDigest2 = "fedcba9876543210fedcba9876543210";

// Each use makes its own store, as the log-in screen does.
int64_t store(const LoginData& data, std::vector<std::string>* printed = nullptr) {
    int64_t id = 0;
    auto lines = test::capturedLines([&] {
        LocalSQLite db;
        id = db.updateLoginData(data);
    });
    if (printed) *printed = lines;
    return id;
}

bool load(LoginData& data) {
    bool found = false;
    test::capturedLines([&] { found = LocalSQLite().getLoginData(data); });
    return found;
}

class LoginStore : public ::testing::Test {
  protected:
    test::TempDataHome home;
};

TEST_F(LoginStore, FirstStartFindsNothingAndKeepsTheRecord) {
    LoginData data{5, "typed@x", "", 0, 0};
    EXPECT_FALSE(load(data));
    EXPECT_EQ(data, (LoginData{5, "typed@x", "", 0, 0}));
}

TEST_F(LoginStore, EachLoginReplacesTheOnlyRow) {
    std::vector<std::string> printed;
    EXPECT_EQ(store({77, "a@x.com", kDigest1, 1, 0}, &printed), 1);
    EXPECT_THAT(printed, ElementsAre("createTable success", "init: connect success", "1"));
    EXPECT_EQ(store({0, "b@y.com", kDigest2, 1, 0}, &printed), 1);
    EXPECT_THAT(printed, ElementsAre("createTable success", "init: connect success", "1"));

    EXPECT_EQ(test::queryRows(kFile, "SELECT * FROM t_login"), (Rows{{"1", "b@y.com", kDigest2, "1", "0"}}));
    LoginData data;
    EXPECT_TRUE(load(data));
    EXPECT_EQ(data, (LoginData{1, "b@y.com", kDigest2, 1, 0}));
}

TEST_F(LoginStore, WithoutRememberNoDigestIsKept) {
    ASSERT_EQ(store({0, "a@x.com", kDigest1, 1, 0}), 1);
    ASSERT_EQ(store({0, "a@x.com", kDigest2, 0, 0}), 1);
    LoginData data;
    ASSERT_TRUE(load(data));
    EXPECT_EQ(data, (LoginData{1, "a@x.com", "", 0, 0}));
    EXPECT_EQ(test::queryInt(kFile, "SELECT count(*) FROM t_login WHERE psw <> ''"), 0);
}

TEST_F(LoginStore, TextsAreStoredLiterally) {
    const std::string email = "x@y.com'); DROP TABLE t_login; --";
    ASSERT_EQ(store({0, email, "\"'; DELETE FROM t_login; --", 1, 0}), 1);
    LoginData data;
    ASSERT_TRUE(load(data));
    EXPECT_EQ(data.email, email);
    EXPECT_EQ(data.psw, "\"'; DELETE FROM t_login; --");
}

TEST_F(LoginStore, FailedStoreKeepsTheEarlierLogin) {
    ASSERT_EQ(store({0, "a@x.com", kDigest1, 1, 0}), 1);
    test::execSql(kFile, "CREATE TRIGGER fail BEFORE INSERT ON t_login BEGIN SELECT RAISE(ABORT, 'injected'); END");
    std::vector<std::string> printed;
    EXPECT_EQ(store({0, "b@y.com", kDigest2, 1, 0}, &printed), 0);
    EXPECT_THAT(printed, ElementsAre("createTable success", "init: connect success", "insertRow  fail injected"));
    LoginData data;
    ASSERT_TRUE(load(data));
    EXPECT_EQ(data.email, "a@x.com");
    EXPECT_EQ(data.psw, kDigest1);
}

TEST_F(LoginStore, BrokenTablePrintsTheReadFailure) {
    { LocalSQLite db; }
    test::execSql(kFile, "DROP TABLE t_login; CREATE VIEW t_login AS SELECT 1 AS userId");
    std::vector<std::string> printed = test::capturedLines([] {
        LoginData data;
        EXPECT_FALSE(LocalSQLite().getLoginData(data));
        EXPECT_EQ(data, LoginData{});
    });
    ASSERT_EQ(printed.size(), 3u) << ::testing::PrintToString(printed);
    EXPECT_EQ(printed[0], "createTable success") << "a view named t_login counts as existing";
    EXPECT_THAT(printed[2], ::testing::StartsWith("getLoginData  fail "));
}

}  // namespace
}  // namespace keyloom
