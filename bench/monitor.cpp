// The device monitor's cost: CPU time while it waits for devices (Linux and simulated backends), and the time from
// a simulated keyboard's arrival to the connect observer.
//   bench_monitor [idle-seconds (10)] [arrivals (1000)]
#include <pthread.h>
#include <sys/resource.h>

#include <algorithm>
#include <atomic>
#include <chrono>
#include <condition_variable>
#include <cstdio>
#include <cstdlib>
#include <ctime>
#include <mutex>
#include <thread>
#include <vector>

#include "USB/HIDDeviceMonitor.h"
#include "USB/HomeWatchList.h"
#include "platform/NotificationCenter.h"
#include "platform/hid/SimulatedHid.h"

using namespace keyloom;
using Clock = std::chrono::steady_clock;

namespace {

double threadCpuMs(std::thread& t) {
    clockid_t id;
    if (pthread_getcpuclockid(t.native_handle(), &id) != 0) return -1;
    timespec ts{};
    clock_gettime(id, &ts);
    return ts.tv_sec * 1e3 + ts.tv_nsec / 1e6;
}

double processCpuMs() {
    rusage r{};
    getrusage(RUSAGE_SELF, &r);
    return (r.ru_utime.tv_sec + r.ru_stime.tv_sec) * 1e3 + (r.ru_utime.tv_usec + r.ru_stime.tv_usec) / 1e3;
}

void idle(HidBackend backend, const char* name, int seconds) {
    HIDDeviceMonitor monitor(homeWatchList(), kHomeReportSize, backend);
    std::thread thread([&] { monitor.start(); });
    std::this_thread::sleep_for(std::chrono::milliseconds(200));  // set-up (udev enumeration) is not idle time
    const double t0 = threadCpuMs(thread);
    const double p0 = processCpuMs();
    std::this_thread::sleep_for(std::chrono::seconds(seconds));
    const double t1 = threadCpuMs(thread);
    const double p1 = processCpuMs();
    monitor.stop();
    thread.join();
    std::printf("idle %-9s %2d s: monitor thread CPU %.3f ms, whole process %.3f ms\n", name, seconds, t1 - t0,
                p1 - p0);
}

void arrivals(int count) {
    SimulatedHid::instance().reset();
    SimulatedHid::instance().setActive(true);
    std::mutex mutex;
    std::condition_variable cv;
    Clock::time_point seen;
    int connects = 0, disconnects = 0;
    auto onConnect = NotificationCenter::defaultCenter().addObserver(HIDDeviceConnected, [&](const Notification&) {
        const auto now = Clock::now();
        std::lock_guard lock(mutex);
        seen = now;
        ++connects;
        cv.notify_all();
    });
    auto onDisconnect =
        NotificationCenter::defaultCenter().addObserver(HIDDeviceDisconnected, [&](const Notification&) {
            std::lock_guard lock(mutex);
            ++disconnects;
            cv.notify_all();
        });

    HIDDeviceMonitor monitor(homeWatchList(), kHomeReportSize, HidBackend::Simulated);
    std::thread thread([&] { monitor.start(); });
    auto kb = SimulatedKeyboard::quorvath87();
    std::vector<double> us;
    us.reserve(static_cast<size_t>(count));
    for (int i = 0; i < count; ++i) {
        const auto t0 = Clock::now();
        SimulatedHid::instance().plug(kb);
        std::unique_lock lock(mutex);
        cv.wait(lock, [&] { return connects == i + 1; });
        us.push_back(std::chrono::duration<double, std::micro>(seen - t0).count());
        lock.unlock();
        SimulatedHid::instance().unplug(kb);
        lock.lock();
        cv.wait(lock, [&] { return disconnects == i + 1; });
    }
    monitor.stop();
    thread.join();
    SimulatedHid::instance().reset();

    std::sort(us.begin(), us.end());
    const auto at = [&](double q) { return us[std::min(us.size() - 1, static_cast<size_t>(q * us.size()))]; };
    std::printf("arrival -> observer (simulated, %d arrivals): median %.1f us, p99 %.1f us, max %.1f us\n", count,
                at(0.5), at(0.99), us.back());
}

}  // namespace

int main(int argc, char** argv) {
    const int seconds = argc > 1 ? std::max(1, std::atoi(argv[1])) : 10;
    const int count = argc > 2 ? std::max(1, std::atoi(argv[2])) : 1000;
    idle(HidBackend::Linux, "linux", seconds);
    SimulatedHid::instance().setActive(true);
    SimulatedHid::instance().plug(SimulatedKeyboard::quorvath87());  // one keyboard waiting, as in normal use
    idle(HidBackend::Simulated, "simulated", seconds);
    arrivals(count);
    return 0;
}
