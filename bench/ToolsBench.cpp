// Rescaling every screen and re-ordering a group of 100 DROs on a full layout of 2000 records,
// each including the undo snapshot a first run takes, against a plain copy of the same records.

#include <benchmark/benchmark.h>

#include <random>

#include "AgreeingDialogs.h"
#include "BenchLayouts.h"
#include "BenchRatios.h"
#include "LayoutBuilders.h"
#include "LayoutProbe.h"
#include "layout/cLayout.h"

namespace {

void BM_RescaleAllScreens(benchmark::State& state) {
    AgreeingDialogs dialogs;
    cLayout layout(dialogs);
    cLayoutProbe::Adopt(layout, FullBenchLayout());
    bool shrink = true;
    for (auto _ : state) {
        state.PauseTiming();
        state.ResumeTiming();
        benchmark::DoNotOptimize(layout.RescaleControls(-1, shrink ? 0.8f : 1.25f));
        shrink = !shrink;
    }
}
BENCHMARK(BM_RescaleAllScreens)->Unit(benchmark::kMicrosecond);

void BM_SortHundredDROs(benchmark::State& state) {
    AgreeingDialogs dialogs;
    cLayout layout(dialogs);
    cLayoutProbe::Adopt(layout, FullBenchLayout());
    std::mt19937 random(9);
    std::uniform_int_distribution<int32_t> coordinate(0, 1200);
    bool columns = true;
    for (auto _ : state) {
        state.PauseTiming();
        // Fresh positions each time, so every sort has real work to do.
        for (ControlRecord& r : cLayoutProbe::MutableRecords(layout))
            if (r.rType == ControlKind::DRO && r.rScreen == BenchDROScreen) {
                r.rX1 = coordinate(random);
                r.rY1 = coordinate(random);
            }
        state.ResumeTiming();
        layout.SortDROs(BenchDROScreen, BenchDROGroup, columns);
        columns = !columns;
    }
}
BENCHMARK(BM_SortHundredDROs)->Unit(benchmark::kMicrosecond);

// Both commands are dominated by the undo snapshot, which is one copy of the layout.
const bool rescaleRegistered = RegisterRatio("BM_RescaleAllScreens", "BM_CopyFullLayout", 2.0);
const bool sortRegistered = RegisterRatio("BM_SortHundredDROs", "BM_CopyFullLayout", 2.0);

} // namespace
