// The screen-editing commands on a full layout of 2000 records, each timed as the document's work
// alone: the layout is put back outside the timed region before every run.

#include <benchmark/benchmark.h>

#include "AgreeingDialogs.h"
#include "BenchLayouts.h"
#include "BenchRatios.h"
#include "FakeListView.h"
#include "LayoutBuilders.h"
#include "LayoutProbe.h"
#include "layout/cLayout.h"

namespace {

struct Bench {
    AgreeingDialogs dialogs;
    FakeListView list;
    cLayout layout{dialogs};
    Bench() { layout.BindScreenList(list); }
};

void BM_DeleteScreen(benchmark::State& state) {
    Bench b;
    const std::vector<ControlRecord>& records = FullBenchLayout();
    for (auto _ : state) {
        state.PauseTiming();
        cLayoutProbe::Adopt(b.layout, records);
        state.ResumeTiming();
        b.layout.DeleteScreens(3);
    }
}
BENCHMARK(BM_DeleteScreen)->Unit(benchmark::kMicrosecond);

void BM_PromoteScreen(benchmark::State& state) {
    Bench b;
    const std::vector<ControlRecord>& records = FullBenchLayout();
    for (auto _ : state) {
        state.PauseTiming();
        cLayoutProbe::Adopt(b.layout, records);
        state.ResumeTiming();
        b.layout.PromoteScreens(7);
    }
}
BENCHMARK(BM_PromoteScreen)->Unit(benchmark::kMicrosecond);

// 1875 records on screens 0..14 take in a source screen of 125 and are then full.
void BM_AppendScreen(benchmark::State& state) {
    Bench b;
    std::vector<ControlRecord> records = FullBenchLayout();
    std::erase_if(records, [](const ControlRecord& r) { return r.rScreen == ScreenCount - 1; });
    records.resize(MaxControls - 125);
    cLayout source(b.dialogs);
    std::vector<ControlRecord> screen(125, MakeFullRecord(7));
    for (ControlRecord& r : screen)
        r.rScreen = 2;
    cLayoutProbe::Adopt(source, screen);
    for (auto _ : state) {
        state.PauseTiming();
        cLayoutProbe::Adopt(b.layout, records);
        state.ResumeTiming();
        b.layout.AppendScreenFrom(source, 2);
    }
}
BENCHMARK(BM_AppendScreen)->Unit(benchmark::kMicrosecond);

void BM_UndoDelete(benchmark::State& state) {
    Bench b;
    const std::vector<ControlRecord>& records = FullBenchLayout();
    for (auto _ : state) {
        state.PauseTiming();
        cLayoutProbe::Adopt(b.layout, records);
        b.layout.DeleteScreens(3);
        state.ResumeTiming();
        b.layout.Undo();
    }
}
BENCHMARK(BM_UndoDelete)->Unit(benchmark::kMicrosecond);

const bool registered = RegisterRatio("BM_DeleteScreen", "BM_CopyFullLayout", 3.0) &&
                        RegisterRatio("BM_PromoteScreen", "BM_CopyFullLayout", 3.0);

} // namespace
