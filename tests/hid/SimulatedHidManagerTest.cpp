#include <gtest/gtest.h>

#include "platform/hid/SimulatedHid.h"
#include "platform/hid/SimulatedHidManager.h"
#include "platform/hid/SimulatedHidScope.h"

using namespace keyloom;

namespace {

// What a manager reports through dispatch() on the test's thread: 'A'rrival, 'R'emoval.
struct Entry {
    char kind;
    HidHandleRef device;
};

void wire(HidManager& m, std::vector<Entry>& log) {
    m.registerDeviceMatchingCallback([&log](int, HidManager&, const HidHandleRef& d) { log.push_back({'A', d}); });
    m.registerDeviceRemovalCallback([&log](int, HidManager&, const HidHandleRef& d) { log.push_back({'R', d}); });
    m.open();
    m.dispatch();
}

}  // namespace

TEST(SimulatedHidManager, MatchesByUsageAndKeepsQueuedOrder) {
    SimulatedHidScope scope;
    SimulatedHid::instance().plug(SimulatedKeyboard::vendorInterface(0x1A2C, 0xB57E, "Quorvath 87"));
    SimulatedHid::instance().plug(SimulatedKeyboard::bootKeyboard(0x1A2C, 0xB57E, "Quorvath 87"));
    SimulatedHid::instance().plug(SimulatedKeyboard::quorvath87());
    SimulatedHidManager manager;
    manager.setDeviceMatchingMultiple(
        {HidMatch::usagePair(0x01, 0x06), HidMatch::usagePair(0xFF0A, 0x01), HidMatch::usagePair(0x01, 0x07)});
    std::vector<Entry> log;
    wire(manager, log);
    ASSERT_EQ(log.size(), 2u);
    EXPECT_EQ(std::get<int64_t>(log[0].device->property("PrimaryUsagePage")), 0xFF0A);
    EXPECT_EQ(std::get<int64_t>(log[1].device->property("PrimaryUsagePage")), 0x01);

    // Arrival and removal queued before the next dispatch are delivered in order, with one handle.
    SimulatedHid::instance().plug(SimulatedKeyboard::vendorInterface(0x1A2C, 0xB58E, "Quorvath 88"))->unplug();
    manager.dispatch();
    ASSERT_EQ(log.size(), 4u);
    EXPECT_TRUE(log[2].kind == 'A' && log[3].kind == 'R' && log[2].device == log[3].device);
}
