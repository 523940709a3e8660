// The screen-editing commands on a full layout of 2000 records, each timed as the document's work
// alone: the layout is put back outside the timed region before every run.

#include <benchmark/benchmark.h>

#include "BenchRatios.h"
#include "FakeListView.h"
#include "LayoutBuilders.h"
#include "LayoutProbe.h"
#include "layout/cLayout.h"

namespace {

// Says yes to every question, so an undo goes ahead.
class AgreeingDialogs : public UserDialogs {
public:
    MsgAnswer MsgBox(const std::string&, MsgButtons buttons, MsgIcon, const std::string&) override {
        return buttons == MsgButtons::YesNo ? MsgAnswer::Yes : MsgAnswer::OK;
    }
    std::string InputBox(const std::string&, const std::string&, const std::string&) override {
        return {};
    }
};

// Controls spread over the given number of screens, every tenth a button linking two screens.
std::vector<ControlRecord> Layout(int count, int screens) {
    std::vector<ControlRecord> records;
    for (int i = 0; i < count; ++i) {
        ControlRecord r = MakeFullRecord(i);
        r.rScreen = i % screens;
        r.rType = 1 + i % 11;
        if (i % 10 == 0) r = MakeScreenButton(i % screens, (i / 10) % screens, "to screen");
        records.push_back(r);
    }
    return records;
}

struct Bench {
    AgreeingDialogs dialogs;
    FakeListView list;
    cLayout layout{dialogs};
    Bench() { layout.BindScreenList(list); }
};

void BM_DeleteScreen(benchmark::State& state) {
    Bench b;
    const std::vector<ControlRecord> records = Layout(MaxControls, ScreenCount);
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
    const std::vector<ControlRecord> records = Layout(MaxControls, ScreenCount);
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
    const std::vector<ControlRecord> records = Layout(MaxControls - 125, ScreenCount - 1);
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
    const std::vector<ControlRecord> records = Layout(MaxControls, ScreenCount);
    for (auto _ : state) {
        state.PauseTiming();
        cLayoutProbe::Adopt(b.layout, records);
        b.layout.DeleteScreens(3);
        state.ResumeTiming();
        b.layout.Undo();
    }
}
BENCHMARK(BM_UndoDelete)->Unit(benchmark::kMicrosecond);

// What any command that records undo must at least do: copy the 2000 records once.
void BM_CopyFullLayout(benchmark::State& state) {
    const std::vector<ControlRecord> records = Layout(MaxControls, ScreenCount);
    std::vector<ControlRecord> copy;
    for (auto _ : state) {
        copy = records;
        benchmark::DoNotOptimize(copy.data());
        benchmark::ClobberMemory();
    }
}
BENCHMARK(BM_CopyFullLayout)->Unit(benchmark::kMicrosecond);

const bool registered = RegisterRatio("BM_DeleteScreen", "BM_CopyFullLayout", 3.0) &&
                        RegisterRatio("BM_PromoteScreen", "BM_CopyFullLayout", 3.0);

} // namespace
