// The layout check of a full layout of 2000 records: as it usually is, with pictures looked up,
// and at its worst, when nearly every record is a finding and has its message written.

#include <benchmark/benchmark.h>

#include <unordered_set>

#include "AgreeingDialogs.h"
#include "BenchLayouts.h"
#include "BenchRatios.h"
#include "LayoutProbe.h"
#include "check/LayoutCheck.h"

namespace {

void BM_CheckFullLayout(benchmark::State& state) {
    AgreeingDialogs dialogs;
    cLayout layout(dialogs);
    cLayoutProbe::Adopt(layout, FullBenchLayout());
    // Every other picture is there, as a look-up in memory: the check, not the disk, is measured.
    std::unordered_set<std::string> pictures;
    for (const ControlRecord& r : FullBenchLayout())
        if (r.rX1 % 2 == 0) pictures.insert(r.rBitMapPath);
    CheckOptions options;
    options.PictureFound = [&pictures](const std::string& path) {
        return pictures.count(path) > 0;
    };
    for (auto _ : state) {
        std::vector<Finding> findings = CheckLayout(layout, options);
        benchmark::DoNotOptimize(findings.data());
    }
    state.counters["findings"] = static_cast<double>(CheckLayout(layout, options).size());
}
BENCHMARK(BM_CheckFullLayout)->Unit(benchmark::kMicrosecond);

void BM_CheckFullLayoutAllFindings(benchmark::State& state) {
    std::vector<ControlRecord> records = FullBenchLayout();
    for (ControlRecord& r : records) {
        r.rScreen = r.rScreen % 4; // screen 0 against three others, under one key
        r.rHotKey = 2097;
        r.rX1 = -r.rX1;
        r.rGText = "<-complex code->";
    }
    AgreeingDialogs dialogs;
    cLayout layout(dialogs);
    cLayoutProbe::Adopt(layout, records);
    CheckOptions options;
    options.ScreenResolution = Resolution{640, 480};
    options.PictureFound = [](const std::string&) { return false; };
    for (auto _ : state) {
        std::vector<Finding> findings = CheckLayout(layout, options);
        benchmark::DoNotOptimize(findings.data());
    }
    state.counters["findings"] = static_cast<double>(CheckLayout(layout, options).size());
}
BENCHMARK(BM_CheckFullLayoutAllFindings)->Unit(benchmark::kMicrosecond);

} // namespace
