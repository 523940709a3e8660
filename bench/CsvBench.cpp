// Export and import of 2000 records, against reading and writing the same CSV bytes through the
// same file routines without converting them.

#include <benchmark/benchmark.h>

#include "BenchRatios.h"
#include "LayoutBuilders.h"
#include "LayoutProbe.h"
#include "layout/FileAccess.h"
#include "layout/cLayout.h"

namespace {

class AnswerOK : public UserDialogs {
public:
    MsgAnswer MsgBox(const std::string&, MsgButtons, MsgIcon, const std::string&) override {
        return MsgAnswer::OK;
    }
    std::string InputBox(const std::string&, const std::string&, const std::string&) override {
        return {};
    }
};

std::vector<ControlRecord> FullLayout() {
    std::vector<ControlRecord> records;
    for (int i = 0; i < MaxControls; ++i) {
        ControlRecord r = MakeFullRecord(i);
        r.rScreen = i % 16;
        records.push_back(r);
    }
    return records;
}

void BM_ExportImportCSV(benchmark::State& state) {
    AnswerOK dialogs;
    cLayout principal(dialogs), additional(dialogs);
    cLayoutProbe::Adopt(principal, FullLayout());
    TempDir dir;
    const std::string path = dir.File("full.csv");
    for (auto _ : state) {
        benchmark::DoNotOptimize(principal.ExportCSV(path));
        benchmark::DoNotOptimize(additional.ImportCSV(path));
    }
}
BENCHMARK(BM_ExportImportCSV)->Unit(benchmark::kMicrosecond);

void BM_ExportImportPlainCopy(benchmark::State& state) {
    AnswerOK dialogs;
    cLayout principal(dialogs);
    cLayoutProbe::Adopt(principal, FullLayout());
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
