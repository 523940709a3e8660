// Loading and saving a full layout of 2000 records, against reading and writing the same bytes
// through the same file routines without decoding them.

#include <benchmark/benchmark.h>

#include "AgreeingDialogs.h"
#include "BenchLayouts.h"
#include "BenchRatios.h"
#include "LayoutBuilders.h"
#include "LayoutProbe.h"
#include "platform/FileAccess.h"
#include "layout/cLayout.h"

namespace {

void BM_LoadSaveLayout(benchmark::State& state) {
    TempDir dir;
    const std::string path = dir.Write("full.set", LayoutFileBytes(FullBenchLayout()));
    const std::string out = dir.File("out.set");
    AgreeingDialogs dialogs;
    cLayout layout(dialogs);
    for (auto _ : state) {
        benchmark::DoNotOptimize(layout.LoadLayout(path));
        benchmark::DoNotOptimize(layout.SaveLayout(out));
    }
}
BENCHMARK(BM_LoadSaveLayout)->Unit(benchmark::kMicrosecond);

void BM_LoadSavePlainCopy(benchmark::State& state) {
    TempDir dir;
    const std::string path = dir.Write("full.set", LayoutFileBytes(FullBenchLayout()));
    const std::string out = dir.File("out.set");
    std::string bytes, reason;
    for (auto _ : state) {
        benchmark::DoNotOptimize(ReadWholeFile(path, bytes, reason));
        benchmark::DoNotOptimize(ReplaceFileContent(out, bytes, reason));
    }
}
BENCHMARK(BM_LoadSavePlainCopy)->Unit(benchmark::kMicrosecond);

const bool registered = RegisterRatio("BM_LoadSaveLayout", "BM_LoadSavePlainCopy", 3.0);

} // namespace
