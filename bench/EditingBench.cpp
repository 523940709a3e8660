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

    // Times the command alone: before every run the layout is put back to these records and the
    // preparation is done, outside the timed region.
    template <typename Prepare, typename Command>
    void Run(benchmark::State& state, const std::vector<ControlRecord>& records, Prepare prepare,
             Command command) {
        for (auto _ : state) {
            state.PauseTiming();
            cLayoutProbe::Adopt(layout, records);
            prepare(layout);
            state.ResumeTiming();
            command(layout);
        }
    }
};

void Nothing(cLayout&) {}

void BM_DeleteScreen(benchmark::State& state) {
    Bench().Run(state, FullBenchLayout(), Nothing, [](cLayout& l) { l.DeleteScreens(3); });
}
BENCHMARK(BM_DeleteScreen)->Unit(benchmark::kMicrosecond);

void BM_PromoteScreen(benchmark::State& state) {
    Bench().Run(state, FullBenchLayout(), Nothing, [](cLayout& l) { l.PromoteScreens(7); });
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
    b.Run(state, records, Nothing, [&source](cLayout& l) { l.AppendScreenFrom(source, 2); });
}
BENCHMARK(BM_AppendScreen)->Unit(benchmark::kMicrosecond);

void BM_UndoDelete(benchmark::State& state) {
    Bench().Run(
        state, FullBenchLayout(), [](cLayout& l) { l.DeleteScreens(3); },
        [](cLayout& l) { l.Undo(); });
}
BENCHMARK(BM_UndoDelete)->Unit(benchmark::kMicrosecond);

const bool registered = RegisterRatio("BM_DeleteScreen", "BM_CopyFullLayout", 3.0) &&
                        RegisterRatio("BM_PromoteScreen", "BM_CopyFullLayout", 3.0);

} // namespace
