// Loading and saving a layout (the save replacing the file, so keeping its backup), against
// reading and writing the same bytes through the same file routines without decoding them.

#include <benchmark/benchmark.h>

#include "AgreeingDialogs.h"
#include "BenchLayouts.h"
#include "BenchRatios.h"
#include "LayoutBuilders.h"
#include "LayoutProbe.h"
#include "layout/cLayout.h"
#include "platform/FileAccess.h"

namespace {

void BM_LoadSaveLayout(benchmark::State& state) {
    TempDir dir;
    const std::string path =
        dir.Write("full.set", LayoutFileBytes(BenchLayout(static_cast<int>(state.range(0)))));
    const std::string out = dir.File("out.set");
    AgreeingDialogs dialogs;
    cLayout layout(dialogs);
    for (auto _ : state) {
        benchmark::DoNotOptimize(layout.LoadLayout(path));
        benchmark::DoNotOptimize(layout.SaveLayout(out));
    }
}
BENCHMARK(BM_LoadSaveLayout)->Apply(AtBothSizes);

void BM_LoadSavePlainCopy(benchmark::State& state) {
    TempDir dir;
    const std::string path =
        dir.Write("full.set", LayoutFileBytes(BenchLayout(static_cast<int>(state.range(0)))));
    const std::string out = dir.File("out.set");
    std::string bytes, reason;
    for (auto _ : state) {
        benchmark::DoNotOptimize(ReadWholeFile(path, bytes, reason));
        benchmark::DoNotOptimize(ReplaceFileContent(out, bytes, reason));
    }
}
BENCHMARK(BM_LoadSavePlainCopy)->Apply(AtBothSizes);

const bool registered = RegisterCommand("BM_LoadSaveLayout", "BM_LoadSavePlainCopy", 3.0) &&
                        RegisterLinearity("BM_LoadSavePlainCopy");

} // namespace
