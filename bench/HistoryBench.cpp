// The history on a layout of 32767 records: undo and redo of the heaviest step (a screen deleted,
// which removes a sixteenth of the records and renumbers most of the rest) and of a one-control
// edit, against a plain copy of the records; and what 100 one-control steps keep.

#include <benchmark/benchmark.h>

#include "AgreeingDialogs.h"
#include "BenchRatios.h"
#include "FakeListView.h"
#include "LayoutBuilders.h"
#include "LayoutProbe.h"
#include "layout/cLayout.h"

namespace {

constexpr int LargestLayout = 32767;

const std::vector<ControlRecord>& LargestRecords() {
    static const std::vector<ControlRecord> records = [] {
        std::vector<ControlRecord> layout;
        layout.reserve(LargestLayout);
        for (int i = 0; i < LargestLayout; ++i) {
            ControlRecord r = MakeFullRecord(i);
            r.rScreen = i % ScreenCount;
            r.rType = 1 + i % 11;
            if (i % 40 == 5) r = MakeScreenButton(i % ScreenCount, (i / 40) % ScreenCount, "tab");
            layout.push_back(r);
        }
        return layout;
    }();
    return records;
}

void BM_CopyLargestLayout(benchmark::State& state) {
    std::vector<ControlRecord> copy;
    for (auto _ : state) {
        copy = LargestRecords();
        benchmark::DoNotOptimize(copy.data());
        benchmark::ClobberMemory();
    }
}
BENCHMARK(BM_CopyLargestLayout)->Unit(benchmark::kMillisecond);

// One iteration is an undo and a redo of the step.
template <typename Step> void UndoRedo(benchmark::State& state, Step step) {
    AgreeingDialogs dialogs;
    FakeListView list;
    cLayout layout(dialogs);
    layout.BindScreenList(list);
    cLayoutProbe::Adopt(layout, LargestRecords());
    step(layout);
    for (auto _ : state) {
        layout.Undo();
        layout.Redo();
    }
    state.counters["step bytes"] = static_cast<double>(cLayoutProbe::HistoryBytes(layout));
}

void BM_UndoRedoDeleteScreen(benchmark::State& state) {
    UndoRedo(state, [](cLayout& layout) { layout.DeleteScreens(3); });
}
BENCHMARK(BM_UndoRedoDeleteScreen)->Unit(benchmark::kMillisecond);

void BM_UndoRedoOneControl(benchmark::State& state) {
    UndoRedo(state, [](cLayout& layout) {
        ControlsEdit edit;
        ControlRecord r = layout.Records()[20000];
        r.rX1 += 8;
        edit.Changed.push_back({20001, r});
        layout.ApplyEdit(edit, "Move 1 control");
    });
}
BENCHMARK(BM_UndoRedoOneControl)->Unit(benchmark::kMillisecond);

// 100 steps, each one control changed: the history's bytes as a counter (the goal: under 8 MB).
void BM_HundredOneControlSteps(benchmark::State& state) {
    AgreeingDialogs dialogs;
    cLayout layout(dialogs);
    std::size_t bytes = 0;
    for (auto _ : state) {
        state.PauseTiming();
        cLayoutProbe::Adopt(layout, LargestRecords());
        state.ResumeTiming();
        for (int i = 0; i < 100; ++i) {
            ControlsEdit edit;
            ControlRecord r = layout.Records()[static_cast<std::size_t>(i * 300)];
            r.rText = "step " + std::to_string(i);
            edit.Changed.push_back({i * 300 + 1, r});
            layout.ApplyEdit(edit, "Change rText of 1 control");
        }
        bytes = cLayoutProbe::HistoryBytes(layout);
    }
    state.counters["history MB"] = static_cast<double>(bytes) / (1024.0 * 1024.0);
}
BENCHMARK(BM_HundredOneControlSteps)->Unit(benchmark::kMillisecond);

// An undo and a redo of the heaviest step: each moves the records once, renumbers them and
// rebuilds the screen index and list, a few copies' worth; of one control, the index rebuilt.
const bool deleteRegistered = RegisterRatio("BM_UndoRedoDeleteScreen", "BM_CopyLargestLayout", 8.0);
const bool oneRegistered = RegisterRatio("BM_UndoRedoOneControl", "BM_CopyLargestLayout", 0.5);

} // namespace
