// Export and import, against writing and reading the same CSV bytes through the same file
// routines without converting them.

#include <benchmark/benchmark.h>

#include "AgreeingDialogs.h"
#include "BenchLayouts.h"
#include "BenchRatios.h"
#include "LayoutBuilders.h"
#include "LayoutProbe.h"
#include "layout/cLayout.h"
#include "platform/FileAccess.h"

namespace {

void BM_ExportImportCSV(benchmark::State& state) {
    AgreeingDialogs dialogs;
    cLayout principal(dialogs), additional(dialogs);
    cLayoutProbe::Adopt(principal, BenchLayout(static_cast<int>(state.range(0))));
    TempDir dir;
    const std::string path = dir.File("full.csv");
    for (auto _ : state) {
        benchmark::DoNotOptimize(principal.ExportCSV(path));
        benchmark::DoNotOptimize(additional.ImportCSV(path));
    }
}
BENCHMARK(BM_ExportImportCSV)->Apply(AtBothSizes);

void BM_ExportImportPlainCopy(benchmark::State& state) {
    AgreeingDialogs dialogs;
    cLayout principal(dialogs);
    cLayoutProbe::Adopt(principal, BenchLayout(static_cast<int>(state.range(0))));
    TempDir dir;
    const std::string path = dir.File("full.csv");
    principal.ExportCSV(path);
    std::string bytes, reason;
    ReadWholeFile(path, bytes, reason);
    const std::string copy = dir.File("copy.csv");
    for (auto _ : state) {
        benchmark::DoNotOptimize(ReplaceFileContent(copy, bytes, reason));
        benchmark::DoNotOptimize(ReadWholeFile(copy, bytes, reason));
    }
}
BENCHMARK(BM_ExportImportPlainCopy)->Apply(AtBothSizes);

const bool registered = RegisterCommand("BM_ExportImportCSV", "BM_ExportImportPlainCopy", 5.0) &&
                        RegisterLinearity("BM_ExportImportPlainCopy");

} // namespace
