// CPU time our code spends on one second-generation lighting upload, set against the pauses the keyboard needs
// between its reports (10 ms before each of the 26 transfers: 260 ms). Target: at most 5 %.
//   main thread: read the profile's 20 modes and per-key colours and build the 1280-byte block (the Tolmek 84 in
//                mode 20 with a colour on every cap, the largest per-key area);
//   worker:      the four commands with their read-backs and the 18 block reports, through the channel onto a
//                device that answers at once, with the pauses skipped.
// Usage: bench_lighting [folder] [rounds]. The folder (default: the current one) must lie on the disk to measure.
#include <fcntl.h>
#include <stdlib.h>
#include <time.h>
#include <unistd.h>

#include <algorithm>
#include <cstdio>
#include <filesystem>
#include <functional>
#include <string>
#include <vector>

#include "SQLite/MarrowinDeviceSQLite.h"
#include "VelkorDevice/MarrowinV2.h"
#include "Views/Keyboard/KeyLayout/KeyModels.h"
#include "Views/Keyboard/core/MarrowinKeyCaps.h"
#include "Views/Keyboard/core/MarrowinLightingBlock.h"
#include "Views/Keyboard/core/MarrowinLightingStore.h"

namespace {

using namespace keyloom;

constexpr double kPausesMs = 26 * 10.0;

class AnsweringDevice : public HidHandle {
  public:
    HidPropertyValue property(std::string_view) const override { return {}; }
    int setReport(HidReportType, int64_t, const uint8_t* bytes, size_t length) override {
        std::copy(bytes, bytes + std::min(length, last.size()), last.begin());
        ++transfers;
        return kHidSuccess;
    }
    int getReport(HidReportType, int64_t, uint8_t* buffer, size_t& length) override {
        length = std::min(length, last.size());
        std::copy(last.begin(), last.begin() + static_cast<std::ptrdiff_t>(length), buffer);
        ++transfers;
        return kHidSuccess;
    }
    bool removed() const override { return false; }
    std::array<uint8_t, 64> last{};
    size_t transfers = 0;
};

double threadCpuMs() {
    timespec t{};
    clock_gettime(CLOCK_THREAD_CPUTIME_ID, &t);
    return double(t.tv_sec) * 1e3 + double(t.tv_nsec) / 1e6;
}

double medianCpuMs(int rounds, const std::function<void()>& body) {
    std::vector<double> ms;
    for (int r = 0; r < rounds; ++r) {
        const double start = threadCpuMs();
        body();
        ms.push_back(threadCpuMs() - start);
    }
    std::sort(ms.begin(), ms.end());
    return ms[ms.size() / 2];
}

}  // namespace

int main(int argc, char** argv) {
    const std::filesystem::path base = argc > 1 ? argv[1] : std::filesystem::current_path().string();
    const int rounds = argc > 2 ? std::max(5, std::atoi(argv[2])) : 101;
    std::string home = (base / "keyloom-bench-XXXXXX").string();
    if (!mkdtemp(home.data())) {
        std::perror("mkdtemp");
        return 1;
    }
    setenv("XDG_DATA_HOME", home.c_str(), 1);
    int status = 0;
    {
        const KeyModel& tolmek = *findKeyModel(KeyModelId::Tolmek84);
        // The store's and the channel's own lines go to /dev/null (their formatting still counts).
        std::fflush(stdout);
        const int console = dup(STDOUT_FILENO);
        const int devNull = open("/dev/null", O_WRONLY);
        dup2(devNull, STDOUT_FILENO);
        close(devNull);
        const auto restoreConsole = [console] {
            std::fflush(stdout);
            dup2(console, STDOUT_FILENO);
            close(console);
        };
        MarrowinDeviceSQLite db("tolmekv2te_device.sqlite3");
        prepareLightProfile(db, 1);
        activateLightMode(db, 1, 20);
        std::vector<std::string> names;
        std::vector<int64_t> colours;
        for (const KeyLayoutRow& cap : tolmek.keys()) {
            names.push_back(cap.key_standard_name);
            colours.push_back(0x123456 + int64_t(names.size()));
        }
        const auto mode20 = readLightRecord(db, 1, 20);
        const bool stored =
            mode20 && storeKeyColours(db, perKeyColourRows(names, colours, tolmek.nameMap(), mode20->radiId, 1));
        if (!db.isConnected() || !stored || !readLightingBlock(db, 1, tolmek.codeMap(), 101)) {
            restoreConsole();
            std::fprintf(stderr, "cannot prepare the profile database in %s\n", home.c_str());
            status = 1;
        } else {
            auto device = std::make_shared<AnsweringDevice>();
            MarrowinV2 channel(device, [](std::chrono::milliseconds) {});
            LightingBlock block{};
            const double buildMs =
                medianCpuMs(rounds, [&] { block = *readLightingBlock(db, 1, tolmek.codeMap(), 101); });
            device->transfers = 0;
            const double sendMs = medianCpuMs(rounds, [&] { sendLightingBlock(channel, block); });
            const size_t transfers = device->transfers / size_t(rounds);
            restoreConsole();
            std::printf("one lighting upload, Tolmek 84 in mode 20 with %zu stored colours, %d rounds:\n",
                        colours.size(), rounds);
            std::printf("  main thread (read + build block) %8.3f ms CPU\n", buildMs);
            std::printf("  worker (%zu transfers, no pauses) %8.3f ms CPU\n", transfers, sendMs);
            std::printf("  total %.3f ms = %.2f %% of the %.0f ms of pauses (target <= 5 %%)\n", buildMs + sendMs,
                        100.0 * (buildMs + sendMs) / kPausesMs, kPausesMs);
        }
    }
    std::error_code ec;
    std::filesystem::remove_all(home, ec);
    return status;
}
