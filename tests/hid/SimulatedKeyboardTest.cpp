#include <gtest/gtest.h>

#include <cstdlib>
#include <thread>

#include "platform/hid/SimulatedHid.h"
#include "platform/hid/SimulatedHidScope.h"
#include "platform/hid/SimulatedKeyboard.h"

using namespace keyloom;
using Bytes = std::vector<uint8_t>;
using Transfer = SimulatedKeyboard::Transfer;
using Dir = SimulatedKeyboard::Direction;

namespace {

const Bytes kVersion = {0x05, 0xF4, 0, 0, 0, 0, 0, 0};

Bytes get(const HidHandleRef& d, int64_t id, size_t size, int* status = nullptr) {
    Bytes buf(size, 0);
    size_t len = buf.size();
    const int s = d->getReport(HidReportType::Feature, id, buf.data(), len);
    if (status) *status = s;
    buf.resize(len);
    return buf;
}

int set(const HidHandleRef& d, int64_t id, const Bytes& bytes, HidReportType type = HidReportType::Feature) {
    return d->setReport(type, id, bytes.data(), bytes.size());
}

}  // namespace

TEST(SimulatedKeyboard, StartsFromTheEnvironment) {
    for (const auto& name : SimulatedKeyboard::modelNames()) EXPECT_EQ(SimulatedKeyboard::byModel(name)->model(), name);
    SimulatedHid::instance().reset();
    ::setenv("KEYLOOM_SIMULATE", " quorvath91, ostrelte62 ,,bogus", 1);
    EXPECT_EQ(SimulatedHid::instance().startFromEnvironment(), std::vector<std::string>{"bogus"});
    ::unsetenv("KEYLOOM_SIMULATE");
    EXPECT_TRUE(SimulatedHid::instance().active());
    const auto plugged = SimulatedHid::instance().pluggedKeyboards();
    ASSERT_EQ(plugged.size(), 2u);
    EXPECT_EQ(plugged[0]->model() + "," + plugged[1]->model(), "quorvath91,ostrelte62");
    SimulatedHid::instance().reset();
}

TEST(SimulatedKeyboard, PlaysBothGenerations) {
    SimulatedHidScope scope;
    auto kb = SimulatedHid::instance().plug(SimulatedKeyboard::quorvath87());
    kb->setFirmwareVersion("QV180905-V1");
    auto d = kb->device();

    ASSERT_EQ(set(d, 5, kVersion), kHidSuccess);
    Bytes answer(32, 0);  // the text, NUL-padded, in four reports
    std::string("QV180905-V1").copy(reinterpret_cast<char*>(answer.data()), 32);
    for (int i = 0; i < 4; ++i) EXPECT_EQ(get(d, 5, 8), Bytes(answer.begin() + 8 * i, answer.begin() + 8 * i + 8));

    // Lighting read: all zero until a lighting record arrives, then bytes 2..7 of that record.
    const Bytes read = {0x05, 0xFA, 0, 0, 0, 0, 0, 0};
    set(d, 5, read);
    EXPECT_EQ(get(d, 5, 8), read);
    set(d, 5, {0x05, 0xFE, 0x00, 0x02, 0x01, 0x00, 0x00, 0x00});
    set(d, 5, {0x05, 0xFE, 0x0E, 0x01, 0x01, 0x2C, 0x00, 0x00});  // sleep time: not lighting
    set(d, 5, read);
    EXPECT_EQ(get(d, 5, 8), (Bytes{0x05, 0xFA, 0x00, 0x02, 0x01, 0x00, 0x00, 0x00}));

    ASSERT_EQ(set(d, 5, {0x05, 1, 2, 3, 4, 5, 6, 7}, HidReportType::Output), kHidSuccess);
    EXPECT_EQ(kb->sentReports(HidReportType::Output), (std::vector<Bytes>{{0x05, 1, 2, 3, 4, 5, 6, 7}}));

    // Second generation: every 64-byte feature report is read back.
    d = SimulatedHid::instance().plug(SimulatedKeyboard::ostrelte62())->device();
    Bytes command(64, 0);
    command[0] = 0x04;
    command[1] = 0x18;
    ASSERT_EQ(set(d, 4, command), kHidSuccess);
    EXPECT_EQ(get(d, 4, 64), command);
    // Reports the interface does not have are refused like a device stalls them.
    EXPECT_EQ(set(d, 5, Bytes(8, 5)), kHidErrorIO);
    EXPECT_EQ(set(d, 4, Bytes(65, 4)), kHidErrorIO);
    int status = 0;
    get(d, 7, 64, &status);
    EXPECT_EQ(status, kHidErrorIO);
}

TEST(SimulatedKeyboard, FailsTheNthTransfer) {
    SimulatedHidScope scope;
    auto kb = SimulatedHid::instance().plug(SimulatedKeyboard::quorvath88());
    auto d = kb->device();
    kb->failTransfer(3);
    kb->failTransfer(4, kHidErrorNotAttached);
    EXPECT_EQ(set(d, 5, kVersion), kHidSuccess);
    int status = -100;
    get(d, 5, 8, &status);
    EXPECT_EQ(status, kHidSuccess);
    EXPECT_TRUE(get(d, 5, 8, &status).empty());
    EXPECT_EQ(status, kHidErrorIO);
    EXPECT_EQ(set(d, 5, kVersion), kHidErrorNotAttached);
    EXPECT_EQ(set(d, 5, kVersion), kHidSuccess);
    const auto t = kb->transfers();
    ASSERT_EQ(t.size(), 5u);
    EXPECT_EQ(t[2], (Transfer{Dir::Get, HidReportType::Feature, 5, {}, kHidErrorIO}));
    EXPECT_EQ(t[3], (Transfer{Dir::Set, HidReportType::Feature, 5, kVersion, kHidErrorNotAttached}));
}

TEST(SimulatedKeyboard, UnpluggedHandleFailsCleanlyAndReplugMakesANewHandle) {
    SimulatedHidScope scope;
    auto kb = SimulatedHid::instance().plug(SimulatedKeyboard::quorvath91());
    auto first = kb->device();
    kb->unplug();
    EXPECT_EQ(kb->device(), nullptr);
    EXPECT_TRUE(first->removed());
    EXPECT_EQ(set(first, 5, kVersion), kHidErrorNotAttached);
    int status = 0;
    EXPECT_TRUE(get(first, 5, 8, &status).empty());
    EXPECT_EQ(status, kHidErrorNotAttached);
    EXPECT_EQ(first->setReport(HidReportType::Feature, 5, nullptr, 8), kHidErrorBadArgument);
    EXPECT_TRUE(kb->transfers().empty());                                // nothing reached the keyboard
    EXPECT_EQ(std::get<int64_t>(first->property("ProductID")), 0xB5BE);  // properties stay readable

    auto second = kb->plug()->device();
    EXPECT_TRUE(second != first && !second->removed() && first->removed());
    EXPECT_EQ(set(second, 5, kVersion), kHidSuccess);
}

// A keyboard pulled out while a transfer is on the wire: the transfer fails, later ones fail, nothing hangs.
TEST(SimulatedKeyboard, UnplugMidTransferFromAnotherThread) {
    SimulatedHidScope scope;
    auto kb = SimulatedHid::instance().plug(SimulatedKeyboard::quorvath87());
    auto d = kb->device();
    kb->holdTransfer(2);
    int results[3] = {1, 1, 1};
    std::thread channel([&] {
        std::lock_guard exchange(d->exchangeLock());
        results[0] = set(d, 5, kVersion);
        get(d, 5, 8, &results[1]);
        get(d, 5, 8, &results[2]);
    });
    ASSERT_TRUE(kb->waitForHeldTransfer());
    SimulatedHid::instance().unplug(kb);  // while the get is in flight
    EXPECT_TRUE(d->removed());
    kb->releaseHeldTransfer();
    channel.join();
    EXPECT_EQ(std::vector(results, results + 3),
              (std::vector<int>{kHidSuccess, kHidErrorNotAttached, kHidErrorNotAttached}));
    ASSERT_EQ(kb->transfers().size(), 2u);
    EXPECT_EQ(kb->transfers()[1].status, kHidErrorNotAttached);
}
