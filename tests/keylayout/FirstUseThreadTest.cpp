#include <gtest/gtest.h>

#include <latch>
#include <thread>
#include <vector>

#include "Views/Keyboard/KeyLayout/KeyModels.h"

namespace keyloom {
namespace {

struct Seen {
    const void* tables[5] = {};
    std::size_t rows = 0;
};

// The only test of its program, so these are the tables' first users: e.g. the monitor thread's connection handler
// while the main thread builds a picture. Both must get the same finished tables.
TEST(KeyTablesFirstUse, TwoThreadsFirstTouchingEveryModelGetTheSameFinishedTables) {
    const auto models = keyModels();
    std::vector<Seen> a(models.size()), b(models.size());
    std::latch start(2);
    auto touch = [&](std::vector<Seen>& out) {
        start.arrive_and_wait();
        for (std::size_t i = 0; i < models.size(); ++i) {
            const KeyModel& m = models[i];
            out[i] = Seen{{&m.nameMap(), &m.codeMap(), &m.keys(), &m.yPos(), &m.sizeConf()}, 0};
            for (const auto& entry : m.codeMap()) out[i].rows += entry.second.key_name ? 1 : 0;
            for (const KeyLayoutRow& cap : m.keys()) out[i].rows += cap.width > 0 ? 1 : 0;
        }
    };
    {
        std::jthread first(touch, std::ref(a));
        std::jthread second(touch, std::ref(b));
    }
    for (std::size_t i = 0; i < models.size(); ++i) {
        SCOPED_TRACE(models[i].name);
        for (int t = 0; t < 5; ++t) EXPECT_EQ(a[i].tables[t], b[i].tables[t]);
        EXPECT_EQ(a[i].rows, models[i].codeMap().size() + models[i].keys().size());
        EXPECT_EQ(b[i].rows, a[i].rows);
    }
}

}  // namespace
}  // namespace keyloom
