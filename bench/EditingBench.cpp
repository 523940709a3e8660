// The screen-editing commands, each timed as the document's work alone: the layout is put back
// outside the timed region before every run.

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

const std::vector<ControlRecord>& Records(const benchmark::State& state) {
    return BenchLayout(static_cast<int>(state.range(0)));
}

void Nothing(cLayout&) {}

void BM_DeleteScreen(benchmark::State& state) {
    Bench().Run(state, Records(state), Nothing, [](cLayout& l) { l.DeleteScreens(3); });
}
BENCHMARK(BM_DeleteScreen)->Apply(AtBothSizes);

void BM_PromoteScreen(benchmark::State& state) {
    Bench().Run(state, Records(state), Nothing, [](cLayout& l) { l.PromoteScreens(7); });
}
BENCHMARK(BM_PromoteScreen)->Apply(AtBothSizes);

void BM_DemoteScreen(benchmark::State& state) {
    Bench().Run(state, Records(state), Nothing, [](cLayout& l) { l.DemoteScreens(7); });
}
BENCHMARK(BM_DemoteScreen)->Apply(AtBothSizes);

// Screens 0..14 with room for a source screen of 125 records, which then fills the layout.
void BM_AppendScreen(benchmark::State& state) {
    Bench b;
    std::vector<ControlRecord> records = Records(state);
    std::erase_if(records, [](const ControlRecord& r) { return r.rScreen == ScreenCount - 1; });
    records.resize(static_cast<std::size_t>(state.range(0)) - 125);
    cLayout source(b.dialogs);
    std::vector<ControlRecord> screen(125, MakeFullRecord(7));
    for (ControlRecord& r : screen)
        r.rScreen = 2;
    cLayoutProbe::Adopt(source, screen);
    b.Run(state, records, Nothing, [&source](cLayout& l) { l.AppendScreenFrom(source, 2); });
}
BENCHMARK(BM_AppendScreen)->Apply(AtBothSizes);

void BM_UndoDelete(benchmark::State& state) {
    Bench().Run(
        state, Records(state), [](cLayout& l) { l.DeleteScreens(3); },
        [](cLayout& l) { l.Undo(); });
}
BENCHMARK(BM_UndoDelete)->Apply(AtBothSizes);

const bool registered = RegisterCommand("BM_DeleteScreen", "BM_CopyLayout", 3.0) &&
                        RegisterCommand("BM_PromoteScreen", "BM_CopyLayout", 3.0) &&
                        RegisterCommand("BM_DemoteScreen", "BM_CopyLayout", 3.0) &&
                        RegisterCommand("BM_AppendScreen", "BM_CopyLayout", 3.0) &&
                        RegisterCommand("BM_UndoDelete", "BM_CopyLayout", 3.0);

} // namespace
