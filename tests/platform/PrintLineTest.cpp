#include <gtest/gtest.h>

#include <map>
#include <sstream>
#include <string>
#include <thread>
#include <vector>

#include "platform/PrintLine.h"

using namespace keyloom;

// Lines printed by several threads at once come out whole, each once, in each thread's own order.
TEST(PrintLine, LinesOfManyThreadsNeverMix) {
    constexpr int kThreads = 8;
    constexpr int kLines = 300;
    testing::internal::CaptureStdout();
    {
        std::vector<std::jthread> threads;
        for (int t = 0; t < kThreads; ++t)
            threads.emplace_back([t] {
                for (int i = 0; i < kLines; ++i)
                    printLine("thread " + std::to_string(t) + " line " + std::to_string(i) + " " +
                              std::string(200, char('a' + t)));
            });
    }
    std::istringstream out(testing::internal::GetCapturedStdout());
    std::map<int, int> next;  // thread -> the line it must print next
    int total = 0;
    for (std::string line; std::getline(out, line); ++total) {
        int t = -1, i = -1;
        char tail[256] = {};
        ASSERT_EQ(std::sscanf(line.c_str(), "thread %d line %d %255s", &t, &i, tail), 3) << line;
        ASSERT_GE(t, 0);
        ASSERT_LT(t, kThreads);
        EXPECT_EQ(i, next[t]++) << line;
        EXPECT_EQ(std::string(tail), std::string(200, char('a' + t))) << line;
    }
    EXPECT_EQ(total, kThreads * kLines);
}
