#pragma once

#include <chrono>
#include <initializer_list>

namespace keyloom {
class SerialWorker;
}

namespace keyloom::test {

// Waits, on the main thread, until nothing is in flight: the simulated HID managers have delivered every device
// event (their callbacks included), the given workers have run every job, and the main-thread calls (runOnMain)
// that any of these handed over have run; it goes round again while a main-thread call gives more work. False when
// that does not happen within the timeout. Use it after an action whose effect (or whose absence) a test asserts,
// in place of waiting for a time:
//
//   SimulatedHid::instance().unplug(kb);
//   ASSERT_TRUE(test::waitUntilIdle());                // the monitor has seen it, the screen has reacted
//   QTest::mouseClick(find<QPushButton>("..."), Qt::LeftButton);
//   ASSERT_TRUE(test::waitUntilIdle({&deviceWorker}));  // the exchange is done, its result is on the screen
bool waitUntilIdle(std::initializer_list<SerialWorker*> workers = {},
                   std::chrono::milliseconds timeout = std::chrono::seconds(5));

}  // namespace keyloom::test
