#include "BenchLayouts.h"

#include <map>
#include <random>

#include "LayoutBuilders.h"

const std::vector<ControlRecord>& BenchLayout(int records) {
    static std::map<int, std::vector<ControlRecord>> made;
    std::vector<ControlRecord>& layout = made[records];
    if (!layout.empty() || records == 0) return layout;
    std::mt19937 random(5);
    std::uniform_int_distribution<int32_t> coordinate(0, 1200);
    for (int i = 0; i < records; ++i) {
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
}

const std::vector<ControlRecord>& FullBenchLayout() {
    return BenchLayout(BenchCommonSize);
}

void AtBothSizes(benchmark::internal::Benchmark* benchmark) {
    benchmark->Arg(BenchCommonSize)->Arg(BenchLargestSize)->Unit(benchmark::kMicrosecond);
}
