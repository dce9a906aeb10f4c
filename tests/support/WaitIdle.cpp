#include "support/WaitIdle.h"

#include <QDeadlineTimer>

#include "platform/MainThread.h"
#include "platform/SerialWorker.h"
#include "platform/hid/SimulatedHid.h"

namespace keyloom::test {

bool waitUntilIdle(std::initializer_list<SerialWorker*> workers, std::chrono::milliseconds timeout) {
    const QDeadlineTimer deadline(timeout.count());
    auto left = [&] { return std::chrono::milliseconds(std::max<qint64>(deadline.remainingTime(), 0)); };
    for (;;) {
        if (!SimulatedHid::instance().waitUntilDelivered(left())) return false;
        for (SerialWorker* worker : workers)
            if (worker && !worker->waitForIdle(left())) return false;
        // Every stage above finished before this drain, so a round in which no main-thread call ran handed
        // nothing new to any of them.
        if (runPendingMainThreadCalls() == 0) return true;
        if (deadline.hasExpired()) return false;
    }
}

}  // namespace keyloom::test
