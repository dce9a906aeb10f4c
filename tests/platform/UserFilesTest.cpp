#include <gtest/gtest.h>

#include <array>
#include <filesystem>
#include <fstream>
#include <iterator>

#include "platform/UserFiles.h"
#include "support/TestSupport.h"

namespace keyloom {
namespace {

std::string contents(const std::string& path) {
    std::ifstream in(path);
    return std::string(std::istreambuf_iterator<char>(in), {});
}

// A second file moved aside under a taken name gets the next free one; nothing is replaced, the journal goes along.
TEST(MoveAside, NeverReplacesAndTakesItsCompanions) {
    test::TempDataHome home;
    const std::string path = home.path() + "/a.sqlite3";
    constexpr std::array<const char*, 2> companions = {"-journal", "-wal"};
    std::string error;
    for (const char* content : {"first", "second", "third"}) {
        std::ofstream(path) << content;
        std::ofstream(path + "-journal") << content;
        EXPECT_FALSE(moveAside(path, ".old", companions, error).empty()) << error;
        EXPECT_FALSE(std::filesystem::exists(path));
    }
    for (const auto& [name, content] : {std::pair{".old", "first"}, {".old-2", "second"}, {".old-3", "third"}}) {
        EXPECT_EQ(contents(path + name), content);
        EXPECT_EQ(contents(path + name + "-journal"), content);
        EXPECT_FALSE(std::filesystem::exists(path + name + "-wal"));
    }
    EXPECT_TRUE(moveAside(path, ".old", companions, error).empty()) << "nothing to move";
    EXPECT_NE(error.find("a.sqlite3"), std::string::npos) << error;
}

}  // namespace
}  // namespace keyloom
