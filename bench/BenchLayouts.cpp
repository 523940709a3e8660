#include "BenchLayouts.h"

#include <benchmark/benchmark.h>

#include <random>

#include "LayoutBuilders.h"

const std::vector<ControlRecord>& FullBenchLayout() {
    static const std::vector<ControlRecord> records = [] {
        std::mt19937 random(5);
        std::uniform_int_distribution<int32_t> coordinate(0, 1200);
        std::vector<ControlRecord> layout;
        for (int i = 0; i < MaxControls; ++i) {
            ControlRecord r = MakeFullRecord(i);
            r.rScreen = i % ScreenCount;
            r.rType = 1 + i % 11;
            r.rX1 = coordinate(random);
            r.rY1 = coordinate(random);
            r.rX2 = r.rX1 + 60;
            r.rY2 = r.rY1 + 20;
            if (i % 20 == 0) {
                r.rType = ControlKind::DRO;
                r.rScreen = BenchDROScreen;
                r.rTabGroup = BenchDROGroup;
            } else if (i % 20 == 10) {
                r = MakeScreenButton(i % ScreenCount, (i / 20) % ScreenCount, "to screen");
            }
            layout.push_back(r);
        }
        return layout;
    }();
    return records;
}

namespace {

// What any command that records undo must at least do: copy the 2000 records once.
void BM_CopyFullLayout(benchmark::State& state) {
    const std::vector<ControlRecord>& records = FullBenchLayout();
    std::vector<ControlRecord> copy;
    for (auto _ : state) {
        copy = records;
        benchmark::DoNotOptimize(copy.data());
        benchmark::ClobberMemory();
    }
}
BENCHMARK(BM_CopyFullLayout)->Unit(benchmark::kMicrosecond);

} // namespace
