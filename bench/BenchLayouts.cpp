#include "BenchLayouts.h"

#include <map>

#include "LayoutBuilders.h"

const std::vector<ControlRecord>& BenchLayout(int records) {
    static std::map<int, std::vector<ControlRecord>> made;
    std::vector<ControlRecord>& layout = made[records];
    if (!layout.empty() || records == 0) return layout;
    layout = MixedLayout(records);
    return layout;
}

const std::vector<ControlRecord>& FullBenchLayout() {
    return BenchLayout(BenchCommonSize);
}

void AtBothSizes(benchmark::internal::Benchmark* benchmark) {
    benchmark->Arg(BenchCommonSize)->Arg(BenchLargestSize)->Unit(benchmark::kMicrosecond);
}
