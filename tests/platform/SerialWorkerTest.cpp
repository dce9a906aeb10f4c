#include <gtest/gtest.h>

#include <atomic>
#include <chrono>
#include <memory>
#include <string>
#include <thread>
#include <vector>

#include "platform/SerialWorker.h"
#include "support/TestSupport.h"

using namespace keyloom;

// Destruction waits for the running job and drops the ones not started.
TEST(SerialWorker, DestructionJoinsAndDropsPendingJobs) {
    std::atomic<bool> started{false}, release{false};
    std::atomic<int> ran{0};
    std::thread releaser;
    {
        SerialWorker worker;
        worker.post([&] {
            started = true;
            while (!release) std::this_thread::yield();
            ++ran;
        });
        for (int i = 0; i < 10; ++i) worker.post([&] { ++ran; });
        while (!started) std::this_thread::yield();
        releaser = std::thread([&] {
            std::this_thread::sleep_for(std::chrono::milliseconds(20));
            release = true;
        });
    }
    releaser.join();
    EXPECT_EQ(ran.load(), 1);
}

// Jobs run off the calling thread. While one runs, a burst of keyed posts leaves only the newest of each key queued;
// unkeyed jobs all run, and the survivors keep the order of their posts.
TEST(SerialWorker, KeyedPostReplacesTheQueuedJobOfItsKeyOnly) {
    SerialWorker worker;
    std::atomic<bool> started{false}, release{false};
    std::vector<std::string> ran;  // written only by the worker, read after waitForIdle()
    std::thread::id where;
    worker.postReplacing("lighting", [&] {
        where = std::this_thread::get_id();
        started = true;
        while (!release) std::this_thread::yield();
        ran.push_back("running");
    });
    while (!started) std::this_thread::yield();
    // The running job is not replaced by these.
    for (int i = 0; i < 20; ++i) worker.postReplacing("lighting", [&, i] { ran.push_back("L" + std::to_string(i)); });
    worker.post([&] { ran.push_back("plain"); });
    worker.postReplacing("keys", [&] { ran.push_back("K0"); });
    worker.post([&] { ran.push_back("plain"); });
    worker.postReplacing("keys", [&] { ran.push_back("K1"); });
    worker.postReplacing("", [&] { ran.push_back("empty"); });
    worker.postReplacing("", [&] { ran.push_back("empty"); });
    release = true;
    worker.waitForIdle();
    EXPECT_EQ(ran, (std::vector<std::string>{"running", "L19", "plain", "plain", "K1", "empty", "empty"}));
    EXPECT_NE(where, std::this_thread::get_id());
}

// A retired worker finishes the jobs it was given; it and what they use are released on the main thread afterwards.
TEST(SerialWorker, RetiredWorkerFinishesItsJobsThenIsReleasedOnTheMainThread) {
    struct Used {
        Used(std::atomic<bool>* r, std::thread::id* on) : released(r), releasedOn(on) {}
        std::atomic<bool>* released;
        std::thread::id* releasedOn;
        ~Used() {
            *releasedOn = std::this_thread::get_id();
            *released = true;
        }
    };
    std::atomic<bool> released{false}, ranAll{false};
    std::thread::id releasedOn;
    auto used = std::make_shared<Used>(&released, &releasedOn);
    auto worker = std::make_unique<SerialWorker>();
    std::atomic<int> ran{0};
    for (int i = 0; i < 20; ++i)
        worker->post([&ran, raw = used.get()] {
            std::this_thread::sleep_for(std::chrono::milliseconds(1));
            ++ran;
            (void)raw;  // the jobs use the object without owning it
        });
    worker->post([&] { ranAll = ran == 20; });
    SerialWorker::retire(std::move(worker), std::move(used));
    EXPECT_FALSE(released) << "released while jobs were still queued";
    ASSERT_TRUE(test::processEventsUntil([&] { return released.load(); }));
    EXPECT_TRUE(ranAll);
    EXPECT_EQ(releasedOn, std::this_thread::get_id());
}
