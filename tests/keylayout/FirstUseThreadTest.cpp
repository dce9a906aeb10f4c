#include <gtest/gtest.h>

#include <latch>
#include <thread>
#include <vector>

#include "Views/Keyboard/KeyLayout/KeyModels.h"

namespace keyloom {
namespace {

struct Seen {
    const KeyNameMap* nameMap = nullptr;
    const KeyCodeMap* codeMap = nullptr;
    const KeyLayout* keys = nullptr;
    const RowPositionTable* yPos = nullptr;
    const SizeTable* sizeConf = nullptr;
    std::size_t rows = 0;
};

// Runs in a process of its own, so these are the tables' very first users.
TEST(KeyTablesFirstUse, TwoThreadsFirstTouchingEveryModelGetTheSameFinishedTables) {
    const auto models = keyModels();
    ASSERT_FALSE(models.empty());
    std::vector<Seen> a(models.size()), b(models.size());
    std::latch start(2);
    auto touch = [&](std::vector<Seen>& out) {
        start.arrive_and_wait();
        for (std::size_t i = 0; i < models.size(); ++i) {
            const KeyModel& m = models[i];
            out[i] = Seen{&m.nameMap(), &m.codeMap(), &m.keys(), &m.yPos(), &m.sizeConf(), 0};
            for (const auto& entry : m.nameMap()) {
                (void)entry;
                ++out[i].rows;
            }
        }
    };
    std::thread first(touch, std::ref(a));
    std::thread second(touch, std::ref(b));
    first.join();
    second.join();
    for (std::size_t i = 0; i < models.size(); ++i) {
        EXPECT_EQ(a[i].nameMap, b[i].nameMap) << models[i].name;
        EXPECT_EQ(a[i].codeMap, b[i].codeMap) << models[i].name;
        EXPECT_EQ(a[i].keys, b[i].keys) << models[i].name;
        EXPECT_EQ(a[i].yPos, b[i].yPos) << models[i].name;
        EXPECT_EQ(a[i].sizeConf, b[i].sizeConf) << models[i].name;
        EXPECT_EQ(a[i].rows, models[i].nameMap().size()) << models[i].name;
        EXPECT_EQ(b[i].rows, models[i].nameMap().size()) << models[i].name;
    }
}

}  // namespace
}  // namespace keyloom
