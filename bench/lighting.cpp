// CPU time our code spends on one second-generation lighting upload, set against the pauses the keyboard needs
// between its reports (10 ms before each of the 26 transfers: 260 ms). Target: at most 5 %.
//   main thread: read the profile's 20 modes and per-key colours and build the 1280-byte block (the Tolmek 84 in
//                mode 20 with a colour on every cap, the largest per-key area);
//   worker:      the four commands with their read-backs and the 18 block reports, through the channel onto a
//                device that answers at once, with the pauses skipped.
// Usage: bench_lighting [folder] [rounds]. The folder (default: the current one) must lie on the disk to measure.
#include <stdlib.h>

#include <algorithm>
#include <cstdio>
#include <filesystem>
#include <string>
#include <vector>

#include "BenchSupport.h"
#include "SQLite/MarrowinDeviceSQLite.h"
#include "VelkorDevice/MarrowinV2.h"
#include "Views/Keyboard/KeyLayout/KeyModels.h"
#include "Views/Keyboard/Marrowin/core/MarrowinKeyCaps.h"
#include "Views/Keyboard/Marrowin/core/MarrowinLightingBlock.h"
#include "Views/Keyboard/Marrowin/core/MarrowinLightingStore.h"

namespace {

using namespace keyloom;
using namespace keyloom::bench;

constexpr double kPausesMs = 26 * 10.0;

}  // namespace

int main(int argc, char** argv) {
    const int rounds = benchRounds(argc, argv, 5, 101);
    const TempDataHome home(benchFolder(argc, argv));
    if (!home.made()) return 1;
    int status = 0;
    {
        const KeyModel& tolmek = *findKeyModel(KeyModelId::Tolmek84);
        QuietStdout quiet;
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
            quiet.restore();
            std::fprintf(stderr, "cannot prepare the profile database in %s\n", home.path().c_str());
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
            quiet.restore();
            std::printf("one lighting upload, Tolmek 84 in mode 20 with %zu stored colours, %d rounds:\n",
                        colours.size(), rounds);
            std::printf("  main thread (read + build block) %8.3f ms CPU\n", buildMs);
            std::printf("  worker (%zu transfers, no pauses) %8.3f ms CPU\n", transfers, sendMs);
            std::printf("  total %.3f ms = %.2f %% of the %.0f ms of pauses (target <= 5 %%)\n", buildMs + sendMs,
                        100.0 * (buildMs + sendMs) / kPausesMs, kPausesMs);
        }
    }
    return status;
}
