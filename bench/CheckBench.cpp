// The layout check: as it usually is, with pictures looked up, and at its worst, when nearly every
// record is a finding and has its message written.

#include <benchmark/benchmark.h>

#include <unordered_set>

#include "AgreeingDialogs.h"
#include "BenchLayouts.h"
#include "BenchRatios.h"
#include "LayoutProbe.h"
#include "check/LayoutCheck.h"

namespace {

void BM_CheckLayout(benchmark::State& state) {
    const std::vector<ControlRecord>& records = BenchLayout(static_cast<int>(state.range(0)));
    AgreeingDialogs dialogs;
    cLayout layout(dialogs);
    cLayoutProbe::Adopt(layout, records);
    // Every other picture is there, as a look-up in memory: the check, not the disk, is measured.
    std::unordered_set<std::string> pictures;
    for (const ControlRecord& r : records)
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
BENCHMARK(BM_CheckLayout)->Apply(AtBothSizes);

void BM_CheckLayoutAllFindings(benchmark::State& state) {
    std::vector<ControlRecord> records = BenchLayout(static_cast<int>(state.range(0)));
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
BENCHMARK(BM_CheckLayoutAllFindings)->Apply(AtBothSizes);

// The check reads every record a fixed number of times and sorts the keys: a few copies' worth.
const bool registered = RegisterCommand("BM_CheckLayout", "BM_CopyLayout", 0) &&
                        RegisterCommand("BM_CheckLayoutAllFindings", "BM_CopyLayout", 0);

} // namespace
