// Time our code spends building a first-generation key record or colour block and handing its reports to the
// device layer (a device that accepts every report at once), set against the time the reports take on the wire.
//
// Wire model: a full-speed USB keyboard takes one 8-byte report per 1 ms frame (an interrupt OUT endpoint polled
// every 1 ms, or a control SET_REPORT whose setup, data and status stages the host schedules within a frame), so a
// write of n reports takes about n ms. Our budget is 5 % of that: 50 us per report.

#include <benchmark/benchmark.h>

#include <cstdio>
#include <memory>
#include <vector>

#include "VelkorDevice/Quorvath.h"

namespace keyloom {
namespace {

constexpr double kWireNsPerReport = 1'000'000.0;

class NoOpDevice : public HidHandle {
  public:
    HidPropertyValue property(std::string_view key) const override {
        return key == "ProductID" ? HidPropertyValue{int64_t{0xB57E}} : HidPropertyValue{};
    }
    int setReport(HidReportType, int64_t, const uint8_t* bytes, size_t length) override {
        benchmark::DoNotOptimize(bytes);
        benchmark::DoNotOptimize(length);
        ++reports;
        return kHidSuccess;
    }
    int getReport(HidReportType, int64_t, uint8_t*, size_t&) override { return kHidSuccess; }
    bool removed() const override { return false; }
    size_t reports = 0;
};

void finish(benchmark::State& state, const NoOpDevice& device) {
    const double perWrite = static_cast<double>(device.reports) / static_cast<double>(state.iterations());
    state.counters["reports"] = perWrite;
    // Inverted iteration-invariant rate: seconds per report.
    state.counters["per_report"] =
        benchmark::Counter(perWrite, benchmark::Counter::kIsIterationInvariantRate | benchmark::Counter::kInvert);
}

// Combination record (leftShift + a on Option): flash address from the model's code map, record, reports.
void BM_KeyRecord(benchmark::State& state) {
    auto device = std::make_shared<NoOpDevice>();
    Quorvath channel(device, state.range(0));
    const std::vector<int64_t> combination{225, 4};
    for (auto _ : state) channel.setKeyNewValue(226, combination, 0, true);
    finish(state, *device);
}
BENCHMARK(BM_KeyRecord)->Arg(2)->Arg(1)->ArgName("versionType");

// The editor's 408-byte per-key colour block.
void BM_ColourBlock(benchmark::State& state) {
    auto device = std::make_shared<NoOpDevice>();
    Quorvath channel(device, state.range(0));
    std::vector<uint8_t> block(408);
    for (size_t i = 0; i < block.size(); ++i) block[i] = static_cast<uint8_t>(i * 7);
    for (auto _ : state) benchmark::DoNotOptimize(channel.setBacklightData(block, 408));
    finish(state, *device);
}
BENCHMARK(BM_ColourBlock)->Arg(2)->Arg(1)->ArgName("versionType");

// Prints, after each run, our time per report as a share of the report's time on the wire.
class WireShareReporter : public benchmark::ConsoleReporter {
  public:
    WireShareReporter() : ConsoleReporter(OO_Tabular) {}
    void ReportRuns(const std::vector<Run>& runs) override {
        ConsoleReporter::ReportRuns(runs);
        for (const Run& run : runs) {
            const auto it = run.counters.find("reports");
            if (it == run.counters.end() || it->second.value <= 0) continue;
            const double nsPerWrite = run.GetAdjustedRealTime();  // time unit: ns
            const double nsPerReport = nsPerWrite / it->second.value;
            std::printf(
                "  %s: %.0f reports, %.1f ns per report = %.4f %% of the %.0f ms the reports take on the wire\n",
                run.benchmark_name().c_str(), it->second.value, nsPerReport, 100.0 * nsPerReport / kWireNsPerReport,
                it->second.value * kWireNsPerReport / 1e6);
        }
    }
};

}  // namespace
}  // namespace keyloom

int main(int argc, char** argv) {
    benchmark::Initialize(&argc, argv);
    if (benchmark::ReportUnrecognizedArguments(argc, argv)) return 1;
    keyloom::WireShareReporter reporter;
    benchmark::RunSpecifiedBenchmarks(&reporter);
    benchmark::Shutdown();
    return 0;
}
