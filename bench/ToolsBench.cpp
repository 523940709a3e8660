// Rescaling every screen, re-ordering the DROs of a group (one in twenty records) and the
// statistics of all screens, each including the undo snapshot a first run takes, against a plain
// copy of the same records.

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
    cLayoutProbe::Adopt(layout, BenchLayout(static_cast<int>(state.range(0))));
    bool shrink = true;
    for (auto _ : state) {
        state.PauseTiming();
        state.ResumeTiming();
        benchmark::DoNotOptimize(layout.RescaleControls(-1, shrink ? 0.8f : 1.25f));
        shrink = !shrink;
    }
}
BENCHMARK(BM_RescaleAllScreens)->Apply(AtBothSizes);

void BM_SortDROs(benchmark::State& state) {
    AgreeingDialogs dialogs;
    cLayout layout(dialogs);
    cLayoutProbe::Adopt(layout, BenchLayout(static_cast<int>(state.range(0))));
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
BENCHMARK(BM_SortDROs)->Apply(AtBothSizes);

void BM_StatisticsAllScreens(benchmark::State& state) {
    AgreeingDialogs dialogs;
    cLayout layout(dialogs);
    cLayoutProbe::Adopt(layout, BenchLayout(static_cast<int>(state.range(0))));
    for (auto _ : state)
        layout.ShowStatistics(-1);
}
BENCHMARK(BM_StatisticsAllScreens)->Apply(AtBothSizes);

// The rescale and the sort are dominated by the undo snapshot, which is one copy of the layout;
// the statistics copy nothing.
const bool registered = RegisterCommand("BM_RescaleAllScreens", "BM_CopyLayout", 2.0) &&
                        RegisterCommand("BM_SortDROs", "BM_CopyLayout", 2.0) &&
                        RegisterCommand("BM_StatisticsAllScreens", "BM_CopyLayout", 1.0);

} // namespace
