// Rescaling every screen and re-ordering a group of 100 DROs on a full layout of 2000 records,
// each including the undo snapshot a first run takes, against a plain copy of the same records.

#include <benchmark/benchmark.h>

#include <random>

#include "BenchRatios.h"
#include "LayoutBuilders.h"
#include "LayoutProbe.h"
#include "layout/cLayout.h"

namespace {

class SilentDialogs : public UserDialogs {
public:
    MsgAnswer MsgBox(const std::string&, MsgButtons, MsgIcon, const std::string&) override {
        return MsgAnswer::OK;
    }
    std::string InputBox(const std::string&, const std::string&, const std::string&) override {
        return {};
    }
};

constexpr int DROScreen = 2;
constexpr int DROGroup = 1;
constexpr int DROSpacing = MaxControls / 100; // one record in twenty is a DRO of the group

// A full layout of every kind on every screen; one record in twenty is a DRO of one group.
std::vector<ControlRecord> FullLayout() {
    std::mt19937 random(5);
    std::uniform_int_distribution<int32_t> coordinate(0, 1200);
    std::vector<ControlRecord> records;
    for (int i = 0; i < MaxControls; ++i) {
        ControlRecord r = MakeFullRecord(i);
        r.rScreen = i % 16;
        r.rType = 1 + i % 11;
        r.rX1 = coordinate(random);
        r.rY1 = coordinate(random);
        r.rX2 = r.rX1 + 60;
        r.rY2 = r.rY1 + 20;
        if (i % DROSpacing == 0) {
            r.rType = ControlKind::DRO;
            r.rScreen = DROScreen;
            r.rTabGroup = DROGroup;
        }
        records.push_back(r);
    }
    return records;
}

void BM_RescaleAllScreens(benchmark::State& state) {
    SilentDialogs dialogs;
    cLayout layout(dialogs);
    cLayoutProbe::Adopt(layout, FullLayout());
    bool shrink = true;
    for (auto _ : state) {
        state.PauseTiming();
        cLayoutProbe::RecordUndo(layout, UndoSortDROs); // so the rescale takes its own snapshot
        state.ResumeTiming();
        benchmark::DoNotOptimize(layout.RescaleControls(-1, shrink ? 0.8f : 1.25f));
        shrink = !shrink;
    }
}
BENCHMARK(BM_RescaleAllScreens)->Unit(benchmark::kMicrosecond);

void BM_SortHundredDROs(benchmark::State& state) {
    SilentDialogs dialogs;
    cLayout layout(dialogs);
    cLayoutProbe::Adopt(layout, FullLayout());
    std::mt19937 random(9);
    std::uniform_int_distribution<int32_t> coordinate(0, 1200);
    bool columns = true;
    for (auto _ : state) {
        state.PauseTiming();
        // Fresh positions each time, so every sort has real work to do.
        for (ControlRecord& r : cLayoutProbe::MutableRecords(layout))
            if (r.rType == ControlKind::DRO && r.rScreen == DROScreen) {
                r.rX1 = coordinate(random);
                r.rY1 = coordinate(random);
            }
        cLayoutProbe::RecordUndo(layout, UndoRescale);
        state.ResumeTiming();
        layout.SortDROs(DROScreen, DROGroup, columns);
        columns = !columns;
    }
}
BENCHMARK(BM_SortHundredDROs)->Unit(benchmark::kMicrosecond);

void BM_CopyFullLayout(benchmark::State& state) {
    const std::vector<ControlRecord> records = FullLayout();
    std::vector<ControlRecord> copy;
    for (auto _ : state) {
        copy = records;
        benchmark::DoNotOptimize(copy.data());
    }
}
BENCHMARK(BM_CopyFullLayout)->Unit(benchmark::kMicrosecond);

// Both commands are dominated by the undo snapshot, which is one copy of the layout.
const bool rescaleRegistered = RegisterRatio("BM_RescaleAllScreens", "BM_CopyFullLayout", 2.0);
const bool sortRegistered = RegisterRatio("BM_SortHundredDROs", "BM_CopyFullLayout", 2.0);

} // namespace
