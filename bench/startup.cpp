// Start-up of the program against a bare Qt window, side by side in one run.
//
// Each launch is timed from a monotonic clock read just before the process is spawned to what the X server sees: the
// first top-level window mapped, and the first drawing into it (a DAMAGE event). The program and the bare window
// (bench_startup_bare: QApplication + an empty QMainWindow) are launched in turn, the one going first alternating
// from round to round, after one uncounted warm-up launch of each. Timings on a shared machine drift, so the figure
// is the ratio of the two within one run. In the last rounds each process is kept for 5 s, then its resident memory
// and its threads are read.
//
// Usage: xvfb-run -a bench_startup [--rounds N] [--settle N] [--idle SECONDS] [--program PATH] [--bare PATH]
//   --rounds   counted rounds (default 15, at least 1)
//   --settle   last rounds whose processes stay 5 s for memory and threads (default 3)
//   --idle     after the rounds, one more launch of the program and of the bare window: CPU time and each thread's
//              wake-ups (voluntary context switches, from /proc/PID/task) over this many seconds from 5 s on (off)
//   --program / --bare   other programs to compare (default: the built velkor-keyloom and bench_startup_bare)
// Every launch gets the same fresh folders (data, config, cache, runtime) in one temporary folder, shared by all the
// launches of the run, so each start but the first finds the files of the one before, as a user's start does.
// KEYLOOM_SIMULATE is passed on, so a run can be made with simulated keyboards.
#include <fcntl.h>
#include <poll.h>
#include <spawn.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>
#include <xcb/damage.h>
#include <xcb/xcb.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <map>
#include <memory>
#include <optional>
#include <sstream>
#include <string>
#include <thread>
#include <vector>

extern char** environ;

namespace {

using Clock = std::chrono::steady_clock;  // CLOCK_MONOTONIC
using namespace std::chrono_literals;

constexpr auto kSettle = 5s;
constexpr auto kNoWindow = 15s;

double msBetween(Clock::time_point from, Clock::time_point to) {
    return std::chrono::duration<double, std::milli>(to - from).count();
}

struct Launch {
    double mappedMs = 0;
    double paintedMs = 0;
    long residentKiB = -1;
    long threads = -1;
};

struct ProcStatus {
    long residentKiB = -1;
    long threads = -1;
};

ProcStatus procStatus(pid_t pid) {
    std::ifstream status("/proc/" + std::to_string(pid) + "/status");
    ProcStatus out;
    std::string key;
    while (status >> key) {
        if (key == "VmRSS:") status >> out.residentKiB;
        if (key == "Threads:") status >> out.threads;
        status.ignore(1 << 12, '\n');
    }
    return out;
}

// Wake-ups of each thread of a process: its voluntary context switches (each one a sleep it woke from), by thread id,
// with the thread's name.
struct ThreadWakeups {
    std::string name;
    long long wakeups = 0;
};
std::map<long, ThreadWakeups> threadWakeups(pid_t pid) {
    std::map<long, ThreadWakeups> out;
    std::error_code ec;
    const std::filesystem::path tasks = "/proc/" + std::to_string(pid) + "/task";
    for (const auto& task : std::filesystem::directory_iterator(tasks, ec)) {
        const long tid = std::atol(task.path().filename().c_str());
        ThreadWakeups t;
        std::ifstream comm(task.path() / "comm");
        std::getline(comm, t.name);
        std::ifstream status(task.path() / "status");
        std::string key;
        bool found = false;
        while (status >> key) {
            if (key == "voluntary_ctxt_switches:") found = static_cast<bool>(status >> t.wakeups);
            status.ignore(1 << 12, '\n');
        }
        if (found) out[tid] = t;
    }
    return out;
}

// Each thread's wake-ups between the two readings; a thread started in between counts from 0, one that ended in
// between is named without a figure.
void printWakeups(const std::string& label, pid_t pid, const std::map<long, ThreadWakeups>& before,
                  const std::map<long, ThreadWakeups>& after, double seconds) {
    std::printf("%s: wake-ups (voluntary context switches) per thread over the same %.0f s:\n", label.c_str(), seconds);
    long long total = 0;
    for (const auto& [tid, now] : after) {
        const auto earlier = before.find(tid);
        const long long n = now.wakeups - (earlier != before.end() ? earlier->second.wakeups : 0);
        total += n;
        const std::string name = now.name + (tid == pid ? " (main)" : "") + (earlier == before.end() ? " (new)" : "");
        std::printf("  %-28s %6lld  %6.2f/s\n", name.c_str(), n, double(n) / seconds);
    }
    for (const auto& [tid, then] : before)
        if (!after.count(tid)) std::printf("  %-28s  ended\n", then.name.c_str());
    std::printf("  %-28s %6lld  %6.2f/s\n", "all threads", total, double(total) / seconds);
}

// User plus system CPU time of a process, in clock ticks.
long long cpuTicks(pid_t pid) {
    std::ifstream stat("/proc/" + std::to_string(pid) + "/stat");
    std::string line;
    std::getline(stat, line);
    const size_t close = line.rfind(')');
    if (close == std::string::npos) return -1;
    std::istringstream rest(line.substr(close + 2));
    std::string field;
    long long ticks = 0;
    for (int i = 3; i <= 15 && rest >> field; ++i)
        if (i >= 14) ticks += std::stoll(field);
    return ticks;
}

// The environment of every launch: the caller's, with the program's folders in the run's temporary folder and the
// X display forced (a QT_QPA_PLATFORM=offscreen left in the shell would map nothing).
class LaunchEnvironment {
  public:
    explicit LaunchEnvironment(const std::filesystem::path& root) {
        const char* own[] = {"XDG_DATA_HOME", "XDG_CONFIG_HOME", "XDG_CACHE_HOME", "XDG_RUNTIME_DIR",
                             "QT_QPA_PLATFORM"};
        for (char** e = environ; *e; ++e) {
            const std::string entry(*e);
            const bool replaced = std::any_of(std::begin(own), std::end(own), [&](const char* name) {
                return entry.rfind(std::string(name) + "=", 0) == 0;
            });
            if (!replaced) entries_.push_back(entry);
        }
        for (const char* name : {"XDG_DATA_HOME", "XDG_CONFIG_HOME", "XDG_CACHE_HOME", "XDG_RUNTIME_DIR"}) {
            const std::filesystem::path dir = root / name;
            std::filesystem::create_directories(dir);
            ::chmod(dir.c_str(), 0700);
            entries_.push_back(std::string(name) + "=" + dir.string());
        }
        entries_.push_back("QT_QPA_PLATFORM=xcb");
        for (std::string& entry : entries_) pointers_.push_back(entry.data());
        pointers_.push_back(nullptr);
    }
    char** get() { return pointers_.data(); }

  private:
    std::vector<std::string> entries_;
    std::vector<char*> pointers_;
};

// Watches the X server for the first top-level window that a launched program maps, and for the first drawing into
// it. Only one program runs at a time, on a display of its own (xvfb-run), so every new top-level window is its.
class WindowWatch {
  public:
    bool open(std::string& error) {
        connection_ = xcb_connect(nullptr, nullptr);
        if (xcb_connection_has_error(connection_)) {
            error = "cannot open the X display (run under xvfb-run -a)";
            return false;
        }
        root_ = xcb_setup_roots_iterator(xcb_get_setup(connection_)).data->root;
        const xcb_query_extension_reply_t* damage = xcb_get_extension_data(connection_, &xcb_damage_id);
        if (!damage || !damage->present) {
            error = "the X server has no DAMAGE extension";
            return false;
        }
        damageEvent_ = damage->first_event + XCB_DAMAGE_NOTIFY;
        free(xcb_damage_query_version_reply(connection_, xcb_damage_query_version(connection_, 1, 1), nullptr));
        const uint32_t mask = XCB_EVENT_MASK_SUBSTRUCTURE_NOTIFY;
        xcb_change_window_attributes(connection_, root_, XCB_CW_EVENT_MASK, &mask);
        sync();
        return true;
    }

    ~WindowWatch() {
        if (connection_) xcb_disconnect(connection_);
    }

    // Times from `start` to the first mapped top-level window and to the first drawing into it; false when none
    // came before the deadline.
    bool watch(Clock::time_point start, Launch& out) {
        std::optional<xcb_window_t> first;
        const Clock::time_point deadline = start + kNoWindow;
        while (Clock::now() < deadline) {
            while (xcb_generic_event_t* raw = xcb_poll_for_event(connection_)) {
                const std::unique_ptr<xcb_generic_event_t, decltype(&free)> event(raw, &free);
                const Clock::time_point now = Clock::now();
                const uint8_t type = event->response_type & 0x7f;
                if (type == XCB_CREATE_NOTIFY) {
                    // Watched from its creation on, so that the first drawing after the map cannot be missed.
                    const auto* created = reinterpret_cast<xcb_create_notify_event_t*>(event.get());
                    if (created->parent == root_)
                        xcb_damage_create(connection_, xcb_generate_id(connection_), created->window,
                                          XCB_DAMAGE_REPORT_LEVEL_NON_EMPTY);
                    xcb_flush(connection_);
                } else if (type == XCB_MAP_NOTIFY) {
                    const auto* mapped = reinterpret_cast<xcb_map_notify_event_t*>(event.get());
                    if (!first && mapped->event == root_ && !mapped->override_redirect) {
                        first = mapped->window;
                        out.mappedMs = msBetween(start, now);
                    }
                } else if (type == damageEvent_) {
                    const auto* damaged = reinterpret_cast<xcb_damage_notify_event_t*>(event.get());
                    if (first && damaged->drawable == *first) {
                        out.paintedMs = msBetween(start, now);
                        return true;
                    }
                }
            }
            if (xcb_connection_has_error(connection_)) return false;
            pollfd fd{xcb_get_file_descriptor(connection_), POLLIN, 0};
            const auto left = std::chrono::duration_cast<std::chrono::milliseconds>(deadline - Clock::now());
            ::poll(&fd, 1, static_cast<int>(std::max<long long>(left.count(), 0)) + 1);
        }
        return false;
    }

    // Drops what is left of a launch that has ended (its windows' destruction, errors about windows gone).
    void forget() {
        sync();
        while (xcb_generic_event_t* event = xcb_poll_for_event(connection_)) free(event);
    }

  private:
    void sync() { free(xcb_get_input_focus_reply(connection_, xcb_get_input_focus(connection_), nullptr)); }

    xcb_connection_t* connection_ = nullptr;
    xcb_window_t root_ = 0;
    uint8_t damageEvent_ = 0;
};

struct Program {
    std::string label;
    std::string path;
    std::vector<Launch> launches;
};

class Bench {
  public:
    Bench(WindowWatch& watch, LaunchEnvironment& env, std::filesystem::path errors)
        : watch_(watch), env_(env), errors_(std::move(errors)) {}

    // One launch: spawned, timed until painted; when settling, kept until 5 s after its start, when its memory and
    // threads are read; then ended.
    std::optional<Launch> launch(const Program& program, bool settle, std::optional<std::chrono::seconds> idle = {}) {
        posix_spawn_file_actions_t files;
        posix_spawn_file_actions_init(&files);
        posix_spawn_file_actions_addopen(&files, STDIN_FILENO, "/dev/null", O_RDONLY, 0);
        posix_spawn_file_actions_addopen(&files, STDOUT_FILENO, "/dev/null", O_WRONLY, 0);
        posix_spawn_file_actions_addopen(&files, STDERR_FILENO, errors_.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0600);
        char* argv[] = {const_cast<char*>(program.path.c_str()), nullptr};
        pid_t pid = 0;
        const Clock::time_point start = Clock::now();
        const int spawned = posix_spawn(&pid, program.path.c_str(), &files, nullptr, argv, env_.get());
        posix_spawn_file_actions_destroy(&files);
        if (spawned != 0) {
            std::fprintf(stderr, "cannot start %s: %s\n", program.path.c_str(), std::strerror(spawned));
            return std::nullopt;
        }
        Launch out;
        const bool painted = watch_.watch(start, out);
        if (painted && (settle || idle)) {
            std::this_thread::sleep_until(start + kSettle);
            const ProcStatus status = procStatus(pid);
            out.residentKiB = status.residentKiB;
            out.threads = status.threads;
        }
        if (painted && idle) {
            const long long before = cpuTicks(pid);
            const std::map<long, ThreadWakeups> wakeupsBefore = threadWakeups(pid);
            std::this_thread::sleep_for(*idle);
            const long long after = cpuTicks(pid);
            const std::map<long, ThreadWakeups> wakeupsAfter = threadWakeups(pid);
            std::printf("%s: CPU time over %lld idle seconds from 5 s on: %.0f ms (%.3f %% of one core)\n",
                        program.label.c_str(), static_cast<long long>(idle->count()),
                        (after - before) * 1000.0 / sysconf(_SC_CLK_TCK),
                        (after - before) * 100.0 / sysconf(_SC_CLK_TCK) / double(idle->count()));
            printWakeups(program.label, pid, wakeupsBefore, wakeupsAfter, double(idle->count()));
        }
        ::kill(pid, SIGTERM);
        int status = 0;
        ::waitpid(pid, &status, 0);
        watch_.forget();
        if (!painted) {
            std::fprintf(stderr, "%s: no window painted within %lld s; its error output:\n", program.label.c_str(),
                         static_cast<long long>(std::chrono::duration_cast<std::chrono::seconds>(kNoWindow).count()));
            std::ifstream log(errors_);
            std::fprintf(stderr, "%s\n", std::string(std::istreambuf_iterator<char>(log), {}).c_str());
            return std::nullopt;
        }
        return out;
    }

  private:
    WindowWatch& watch_;
    LaunchEnvironment& env_;
    std::filesystem::path errors_;
};

double median(std::vector<double> v) {
    std::sort(v.begin(), v.end());
    const size_t n = v.size();
    return n % 2 ? v[n / 2] : (v[n / 2 - 1] + v[n / 2]) / 2;
}

struct Summary {
    double min, median, max;
};

template <typename Field>
std::vector<double> series(const Program& p, Field field) {
    std::vector<double> out;
    for (const Launch& l : p.launches) {
        const double v = field(l);
        if (v >= 0) out.push_back(v);
    }
    return out;
}

Summary summary(const std::vector<double>& v) {
    if (v.empty()) return {-1, -1, -1};
    return {*std::min_element(v.begin(), v.end()), median(v), *std::max_element(v.begin(), v.end())};
}

void printRow(const char* what, const Program& p, const std::vector<double>& values, const char* unit) {
    const Summary s = summary(values);
    std::printf("  %-9s %-8s %8.1f %8.1f %8.1f %s\n", p.label.c_str(), what, s.min, s.median, s.max, unit);
}

// Per-round ratios (the two launches of a round ran next to each other), then their median.
double medianRatio(const Program& p, const Program& bare, double (*field)(const Launch&)) {
    std::vector<double> ratios;
    for (size_t i = 0; i < p.launches.size() && i < bare.launches.size(); ++i)
        ratios.push_back(field(p.launches[i]) / field(bare.launches[i]));
    return median(ratios);
}

int argValue(int argc, char** argv, int& i) {
    if (i + 1 >= argc) {
        std::fprintf(stderr, "%s needs a value\n", argv[i]);
        std::exit(2);
    }
    return std::atoi(argv[++i]);
}

}  // namespace

int main(int argc, char** argv) {
    int rounds = 15;
    int settle = 3;
    int idle = 0;
    Program bare{"bare", KEYLOOM_BARE_PROGRAM, {}};
    Program program{"keyloom", KEYLOOM_PROGRAM, {}};
    for (int i = 1; i < argc; ++i) {
        const std::string arg = argv[i];
        if (arg == "--rounds") {
            rounds = std::max(1, argValue(argc, argv, i));
        } else if (arg == "--settle") {
            settle = std::max(0, argValue(argc, argv, i));
        } else if (arg == "--idle") {
            idle = std::max(0, argValue(argc, argv, i));
        } else if ((arg == "--program" || arg == "--bare") && i + 1 < argc) {
            Program& which = arg == "--program" ? program : bare;
            which.path = argv[++i];
            which.label = std::filesystem::path(which.path).filename().string();
        } else {
            std::fprintf(stderr,
                         "usage: %s [--rounds N] [--settle N] [--idle SECONDS] [--program PATH] [--bare PATH]\n",
                         argv[0]);
            return 2;
        }
    }

    std::string rootName = (std::filesystem::temp_directory_path() / "keyloom-startup-XXXXXX").string();
    if (!mkdtemp(rootName.data())) return 1;
    const std::filesystem::path root(rootName);
    int status = 0;
    {
        WindowWatch watch;
        std::string error;
        if (!watch.open(error)) {
            std::fprintf(stderr, "bench_startup: %s\n", error.c_str());
            std::filesystem::remove_all(root);
            return 1;
        }
        LaunchEnvironment env(root);
        Bench bench(watch, env, root / "stderr.txt");

        // Warm-up: the file cache, the data folder's first creation, the font caches.
        if (!bench.launch(bare, false) || !bench.launch(program, false)) status = 1;
        for (int round = 0; round < rounds && status == 0; ++round) {
            const bool keep = round >= rounds - settle;
            Program& firstUp = round % 2 ? program : bare;
            Program& secondUp = round % 2 ? bare : program;
            std::optional<Launch> a = bench.launch(firstUp, keep);
            std::optional<Launch> b = a ? bench.launch(secondUp, keep) : std::nullopt;
            if (!a || !b) {
                status = 1;
                break;
            }
            firstUp.launches.push_back(*a);
            secondUp.launches.push_back(*b);
        }

        if (status == 0) {
            const char* simulate = std::getenv("KEYLOOM_SIMULATE");
            std::printf("start-up, %d alternating rounds, ms from the spawn (monotonic clock)%s%s\n", rounds,
                        simulate ? ", KEYLOOM_SIMULATE=" : "", simulate ? simulate : "");
            std::printf("  %-9s %-8s %8s %8s %8s\n", "", "", "min", "median", "max");
            for (const Program* p : {&bare, &program}) {
                printRow("mapped", *p, series(*p, [](const Launch& l) { return l.mappedMs; }), "ms");
                printRow("painted", *p, series(*p, [](const Launch& l) { return l.paintedMs; }), "ms");
            }
            auto mapped = [](const Launch& l) { return l.mappedMs; };
            auto painted = [](const Launch& l) { return l.paintedMs; };
            std::printf("median ratio %s/%s: mapped %.2fx, painted %.2fx (ratio of the medians: %.2fx, %.2fx)\n",
                        program.label.c_str(), bare.label.c_str(), medianRatio(program, bare, mapped),
                        medianRatio(program, bare, painted),
                        summary(series(program, mapped)).median / summary(series(bare, mapped)).median,
                        summary(series(program, painted)).median / summary(series(bare, painted)).median);
            if (settle > 0) {
                std::printf("after %lld s, last %d rounds (min/median/max):\n", static_cast<long long>(kSettle.count()),
                            std::min(settle, rounds));
                for (const Program* p : {&bare, &program}) {
                    const Summary rss = summary(
                        series(*p, [](const Launch& l) { return l.residentKiB >= 0 ? l.residentKiB / 1024.0 : -1.0; }));
                    const Summary threads =
                        summary(series(*p, [](const Launch& l) { return static_cast<double>(l.threads); }));
                    std::printf("  %-9s resident %.1f/%.1f/%.1f MB, threads %.0f/%.0f/%.0f\n", p->label.c_str(),
                                rss.min, rss.median, rss.max, threads.min, threads.median, threads.max);
                }
            }
            for (const Program* p : {&program, &bare})
                if (idle > 0 && status == 0 && !bench.launch(*p, false, std::chrono::seconds(idle))) status = 1;
        }
    }
    std::error_code ec;
    std::filesystem::remove_all(root, ec);
    return status;
}
