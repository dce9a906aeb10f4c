#include <gtest/gtest.h>

#include <array>
#include <latch>
#include <thread>
#include <vector>

#include "Views/Keyboard/KeyLayout/Ostrel61KeyMap.h"
#include "Views/Keyboard/KeyLayout/Ostrel61Layout.h"
#include "Views/Keyboard/KeyLayout/OstrelTE62KeyMap.h"
#include "Views/Keyboard/KeyLayout/OstrelTE62Layout.h"

namespace keyloom {
namespace {

// The home screen's connection handler may be the first reader on the monitor thread while the main thread builds a
// picture: both must see one complete table. This is the only test of its program, so these are the first reads.
TEST(OstrelFirstUse, TwoThreadsReadingFirstSeeOneCompleteTable) {
    struct Seen {
        const void* names = nullptr;
        const void* codes = nullptr;
        const void* keys61 = nullptr;
        const void* keys62 = nullptr;
        size_t sizes = 0;
    };
    std::array<Seen, 4> seen;
    std::latch start(seen.size());
    {
        std::vector<std::jthread> readers;
        for (Seen& s : seen) {
            readers.emplace_back([&s, &start] {
                start.arrive_and_wait();
                s.keys62 = &OstrelTE_62_Keys();
                s.names = &OstrelTE_62_SuperKeyNameMap();
                s.codes = &Ostrel_61_SuperKeyCodeMap();
                s.keys61 = &Ostrel_61_Keys();
                s.sizes = OstrelTE_62_Keys().size() + OstrelTE_62_SuperKeyNameMap().size() +
                          Ostrel_61_SuperKeyCodeMap().size() + Ostrel_61_Keys().size();
            });
        }
    }
    for (const Seen& s : seen) {
        EXPECT_EQ(s.names, seen[0].names);
        EXPECT_EQ(s.codes, seen[0].codes);
        EXPECT_EQ(s.keys61, seen[0].keys61);
        EXPECT_EQ(s.keys62, seen[0].keys62);
        EXPECT_EQ(s.sizes, 62u + 72u + 78u + 61u);
    }
}

}  // namespace
}  // namespace keyloom
