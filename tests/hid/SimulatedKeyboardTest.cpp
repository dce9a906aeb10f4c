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

int64_t intProperty(const HidDeviceRef& d, std::string_view key) {
    return std::get<int64_t>(d->property(key));
}

Bytes get(const HidDeviceRef& d, int64_t id, size_t size, int* status = nullptr) {
    Bytes buf(size, 0);
    size_t len = buf.size();
    const int s = d->getReport(HidReportType::Feature, id, buf.data(), len);
    if (status) *status = s;
    buf.resize(len);
    return buf;
}

int set(const HidDeviceRef& d, HidReportType type, int64_t id, const Bytes& bytes) {
    return d->setReport(type, id, bytes.data(), bytes.size());
}

struct ModelCase {
    const char* name;
    int64_t vendorId, productId;
    const char* product;
    int64_t featureSize, inputSize;
};

}  // namespace

// Every model the home screen tells apart has a simulated keyboard with the identity it tests.
TEST(SimulatedKeyboard, EveryModelHasItsIdentity) {
    const ModelCase cases[] = {
        {"quorvath87", 0x1A2C, 0xB57E, "Quorvath 87", 8, 0},
        {"quorvath87te", 0x1A2C, 0xB51F, "Quorvath TE 87", 8, 0},
        {"quorvath88", 0x1A2C, 0xB58E, "Quorvath 88", 8, 0},
        {"quorvath88te", 0x1A2C, 0xB58F, "Quorvath TE 88", 8, 0},
        {"quorvath91", 0x1A2C, 0xB5BE, "Quorvath 91", 8, 0},
        {"quorvath91te", 0x1A2C, 0xB5BF, "Quorvath TE 91", 8, 0},
        {"marrowinv2_71", 0x05AC, 0x024F, "Marrowin V2 PRO", 64, 0},
        {"marrowinv2_72", 0x05AC, 0x0250, "Marrowin V2 PRO", 64, 0},
        {"marrowinv2max", 0x05AC, 0x024F, "Marrowin V2 MAX", 64, 0},
        {"marrowinv2te", 0x05AC, 0x024F, "Marrowin V2 TE", 64, 0},
        {"vindle68", 0x05AC, 0x024F, "Vindle", 64, 0},
        {"tolmek84", 0x05AC, 0x024F, "Tolmek V2 TE", 64, 0},
        {"ostrel61", 0x05AC, 0x024F, "Ostrel PRO", 64, 0},
        {"ostrelmax", 0x05AC, 0x024F, "Ostrel MAX", 64, 0},
        {"ostrelte61", 0x05AC, 0x024F, "Ostrel TE", 64, 0},
        {"ostrelte62", 0x05AC, 0x0250, "Ostrel TE", 64, 0},
        {"receiver24g", 0x1A2C, 0xB31F, "2.4G Wireless Receiver", 0, 32},
        {"bluetooth", 0x1A2C, 0xB20D, "RA VER IV", 0, 8},
    };
    ASSERT_EQ(SimulatedKeyboard::modelNames().size(), std::size(cases));
    SimulatedHidScope scope;
    for (const auto& c : cases) {
        auto kb = SimulatedHid::instance().plug(SimulatedKeyboard::byModel(c.name));
        ASSERT_TRUE(kb) << c.name;
        auto d = kb->device();
        ASSERT_TRUE(d) << c.name;
        EXPECT_EQ(kb->model(), c.name);
        EXPECT_EQ(intProperty(d, "VendorID"), c.vendorId) << c.name;
        EXPECT_EQ(intProperty(d, "ProductID"), c.productId) << c.name;
        EXPECT_EQ(std::get<std::string>(d->property("Product")), c.product) << c.name;
        EXPECT_EQ(intProperty(d, "MaxFeatureReportSize"), c.featureSize) << c.name;
        EXPECT_EQ(intProperty(d, "MaxInputReportSize"), c.inputSize) << c.name;
    }
    EXPECT_EQ(SimulatedKeyboard::quorvath88()->productId(), 0xB58E);
    EXPECT_EQ(SimulatedKeyboard::ostrelte62()->productId(), 0x0250);
}

TEST(SimulatedKeyboard, ParsesTheSimulationList) {
    std::vector<std::string> unknown;
    auto kbs = SimulatedKeyboard::parseModelList(" quorvath87, ostrelte62 ,,nothing,receiver24g", &unknown);
    ASSERT_EQ(kbs.size(), 3u);
    EXPECT_EQ(kbs[0]->model(), "quorvath87");
    EXPECT_EQ(kbs[1]->model(), "ostrelte62");
    EXPECT_EQ(kbs[2]->model(), "receiver24g");
    EXPECT_EQ(unknown, std::vector<std::string>{"nothing"});
    EXPECT_TRUE(SimulatedKeyboard::parseModelList("").empty());
}

TEST(SimulatedKeyboard, StartsFromTheEnvironment) {
    SimulatedHid::instance().reset();
    ::setenv("KEYLOOM_SIMULATE", "quorvath91,bogus", 1);
    const auto unknown = SimulatedHid::instance().startFromEnvironment();
    ::unsetenv("KEYLOOM_SIMULATE");
    EXPECT_TRUE(SimulatedHid::instance().active());
    EXPECT_EQ(unknown, std::vector<std::string>{"bogus"});
    auto plugged = SimulatedHid::instance().pluggedKeyboards();
    ASSERT_EQ(plugged.size(), 1u);
    EXPECT_EQ(plugged[0]->productId(), 0xB5BE);
    SimulatedHid::instance().reset();
    EXPECT_FALSE(SimulatedHid::instance().active());
    EXPECT_TRUE(SimulatedHid::instance().startFromEnvironment().empty());
    EXPECT_FALSE(SimulatedHid::instance().active());
}

TEST(SimulatedKeyboard, FirstGenerationAnswersVersionAndLighting) {
    SimulatedHidScope scope;
    auto kb = SimulatedHid::instance().plug(SimulatedKeyboard::quorvath87());
    kb->setFirmwareVersion("QV180905-V1");
    auto d = kb->device();

    const Bytes version = {0x05, 0xF4, 0, 0, 0, 0, 0, 0};
    ASSERT_EQ(set(d, HidReportType::Feature, 5, version), kHidSuccess);
    Bytes text;
    for (int i = 0; i < 4; ++i) {
        Bytes chunk = get(d, 5, 8);
        ASSERT_EQ(chunk.size(), 8u);
        text.insert(text.end(), chunk.begin(), chunk.end());
    }
    Bytes expected(32, 0);
    std::string v = "QV180905-V1";
    std::copy(v.begin(), v.end(), expected.begin());
    EXPECT_EQ(text, expected);

    // Lighting read: all zero until a lighting record arrives, then bytes 2..7 of that record.
    const Bytes read = {0x05, 0xFA, 0, 0, 0, 0, 0, 0};
    set(d, HidReportType::Feature, 5, read);
    EXPECT_EQ(get(d, 5, 8), (Bytes{0x05, 0xFA, 0, 0, 0, 0, 0, 0}));
    set(d, HidReportType::Feature, 5, {0x05, 0xFE, 0x00, 0x02, 0x01, 0x00, 0x00, 0x00});
    set(d, HidReportType::Feature, 5, {0x05, 0xFE, 0x0E, 0x01, 0x01, 0x2C, 0x00, 0x00});  // sleep time: not lighting
    set(d, HidReportType::Feature, 5, read);
    EXPECT_EQ(get(d, 5, 8), (Bytes{0x05, 0xFA, 0x00, 0x02, 0x01, 0x00, 0x00, 0x00}));

    // Bulk data goes out as output reports and is recorded as such.
    ASSERT_EQ(set(d, HidReportType::Output, 5, {0x05, 1, 2, 3, 4, 5, 6, 7}), kHidSuccess);
    EXPECT_EQ(kb->sentReports(HidReportType::Output), (std::vector<Bytes>{{0x05, 1, 2, 3, 4, 5, 6, 7}}));

    const auto t = kb->transfers();
    ASSERT_EQ(t.size(), 12u);
    EXPECT_EQ(t[0], (Transfer{Dir::Set, HidReportType::Feature, 5, version, kHidSuccess}));
    EXPECT_EQ(t[1].direction, Dir::Get);
    EXPECT_EQ(t[1].bytes, Bytes(expected.begin(), expected.begin() + 8));
}

TEST(SimulatedKeyboard, SecondGenerationReadsBackAndCanBeBusy) {
    SimulatedHidScope scope;
    auto kb = SimulatedHid::instance().plug(SimulatedKeyboard::ostrelte62());
    auto d = kb->device();
    Bytes command(64, 0);
    command[0] = 0x04;
    command[1] = 0x18;
    ASSERT_EQ(set(d, HidReportType::Feature, 4, command), kHidSuccess);
    EXPECT_EQ(get(d, 4, 64), command);

    kb->setBusyReadBacks(1);
    Bytes busy = command;
    busy[3] = 0xFF;
    EXPECT_EQ(get(d, 4, 64), busy);
    EXPECT_EQ(get(d, 4, 64), command);

    // Reports the interface does not have are refused like a device stalls them, and recorded.
    EXPECT_EQ(set(d, HidReportType::Feature, 5, Bytes(8, 5)), kHidErrorIO);
    EXPECT_EQ(set(d, HidReportType::Feature, 4, Bytes(65, 4)), kHidErrorIO);
    int status = 0;
    EXPECT_TRUE(get(d, 4, 64, &status).size() == 64 && status == kHidSuccess);
    get(d, 7, 64, &status);
    EXPECT_EQ(status, kHidErrorIO);
    EXPECT_EQ(kb->transfers().back().status, kHidErrorIO);
}

TEST(SimulatedKeyboard, ScriptedRepliesComeFirst) {
    SimulatedHidScope scope;
    auto kb = SimulatedHid::instance().plug(SimulatedKeyboard::marrowinv2_71());
    auto d = kb->device();
    kb->queueReply({1, 2, 3});
    kb->setReplyFunction([](HidReportType, int64_t id, const Bytes& last) -> std::optional<Bytes> {
        if (last.empty()) return std::nullopt;
        return Bytes{static_cast<uint8_t>(id), static_cast<uint8_t>(last.size())};
    });
    EXPECT_EQ(get(d, 4, 64), (Bytes{1, 2, 3}));
    EXPECT_EQ(get(d, 4, 64), Bytes(64, 0));  // the function declines before any set: the model answers
    set(d, HidReportType::Feature, 4, Bytes(64, 4));
    EXPECT_EQ(get(d, 4, 64), (Bytes{4, 64}));
}

TEST(SimulatedKeyboard, FailsTheNthTransfer) {
    SimulatedHidScope scope;
    auto kb = SimulatedHid::instance().plug(SimulatedKeyboard::quorvath88());
    auto d = kb->device();
    const Bytes cmd = {0x05, 0xF4, 0, 0, 0, 0, 0, 0};
    kb->failTransfer(3);
    kb->failTransfer(4, kHidErrorNotAttached);
    EXPECT_EQ(set(d, HidReportType::Feature, 5, cmd), kHidSuccess);
    int status = -100;
    get(d, 5, 8, &status);
    EXPECT_EQ(status, kHidSuccess);
    EXPECT_TRUE(get(d, 5, 8, &status).empty());
    EXPECT_EQ(status, kHidErrorIO);
    EXPECT_EQ(set(d, HidReportType::Feature, 5, cmd), kHidErrorNotAttached);
    EXPECT_EQ(set(d, HidReportType::Feature, 5, cmd), kHidSuccess);
    const auto t = kb->transfers();
    ASSERT_EQ(t.size(), 5u);
    EXPECT_EQ(t[2].status, kHidErrorIO);
    EXPECT_TRUE(t[2].bytes.empty());
    EXPECT_EQ(t[3].status, kHidErrorNotAttached);
    EXPECT_EQ(t[3].bytes, cmd);  // a failed set still shows what was sent
}

TEST(SimulatedKeyboard, UnpluggedHandleFailsCleanlyAndReplugMakesANewHandle) {
    SimulatedHidScope scope;
    auto kb = SimulatedHid::instance().plug(SimulatedKeyboard::quorvath91());
    auto first = kb->device();
    kb->unplug();
    EXPECT_FALSE(kb->plugged());
    EXPECT_EQ(kb->device(), nullptr);
    EXPECT_TRUE(first->removed());
    EXPECT_EQ(set(first, HidReportType::Feature, 5, {0x05, 0xF6, 0, 0, 0, 0, 0, 0}), kHidErrorNotAttached);
    int status = 0;
    EXPECT_TRUE(get(first, 5, 8, &status).empty());
    EXPECT_EQ(status, kHidErrorNotAttached);
    EXPECT_EQ(first->setReport(HidReportType::Feature, 5, nullptr, 8), kHidErrorBadArgument);
    EXPECT_TRUE(kb->transfers().empty());                // nothing reached the keyboard
    EXPECT_EQ(intProperty(first, "ProductID"), 0xB5BE);  // properties stay readable

    kb->plug();
    auto second = kb->device();
    ASSERT_TRUE(second);
    EXPECT_NE(second, first);
    EXPECT_FALSE(second->removed());
    EXPECT_TRUE(first->removed());
    EXPECT_EQ(set(first, HidReportType::Feature, 5, {0x05, 0xF6, 0, 0, 0, 0, 0, 0}), kHidErrorNotAttached);
    EXPECT_EQ(set(second, HidReportType::Feature, 5, {0x05, 0xF6, 0, 0, 0, 0, 0, 0}), kHidSuccess);
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
        results[0] = set(d, HidReportType::Feature, 5, {0x05, 0xF4, 0, 0, 0, 0, 0, 0});
        get(d, 5, 8, &results[1]);
        get(d, 5, 8, &results[2]);
    });
    ASSERT_TRUE(kb->waitForHeldTransfer());
    SimulatedHid::instance().unplug(kb);  // while the get is in flight
    EXPECT_TRUE(d->removed());
    kb->releaseHeldTransfer();
    channel.join();
    EXPECT_EQ(results[0], kHidSuccess);
    EXPECT_EQ(results[1], kHidErrorNotAttached);
    EXPECT_EQ(results[2], kHidErrorNotAttached);
    const auto t = kb->transfers();
    ASSERT_EQ(t.size(), 2u);
    EXPECT_EQ(t[1].status, kHidErrorNotAttached);
}
