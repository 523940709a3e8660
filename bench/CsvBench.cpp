// Export and import of 2000 records, against reading and writing the same CSV bytes through the
// same file routines without converting them.

#include <benchmark/benchmark.h>

#include "AgreeingDialogs.h"
#include "BenchLayouts.h"
#include "BenchRatios.h"
#include "LayoutBuilders.h"
#include "LayoutProbe.h"
#include "platform/FileAccess.h"
#include "layout/cLayout.h"

namespace {

void BM_ExportImportCSV(benchmark::State& state) {
    AgreeingDialogs dialogs;
    cLayout principal(dialogs), additional(dialogs);
    cLayoutProbe::Adopt(principal, FullBenchLayout());
    TempDir dir;
    const std::string path = dir.File("full.csv");
    for (auto _ : state) {
        benchmark::DoNotOptimize(principal.ExportCSV(path));
        benchmark::DoNotOptimize(additional.ImportCSV(path));
    }
}
BENCHMARK(BM_ExportImportCSV)->Unit(benchmark::kMicrosecond);

void BM_ExportImportPlainCopy(benchmark::State& state) {
    AgreeingDialogs dialogs;
    cLayout principal(dialogs);
    cLayoutProbe::Adopt(principal, FullBenchLayout());
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
BENCHMARK(BM_ExportImportPlainCopy)->Unit(benchmark::kMicrosecond);

const bool registered = RegisterRatio("BM_ExportImportCSV", "BM_ExportImportPlainCopy", 5.0);

} // namespace
