// Loading and saving a full layout of 2000 records, against reading and writing the same bytes
// through the same file routines without decoding them.

#include <benchmark/benchmark.h>

#include "BenchRatios.h"
#include "LayoutBuilders.h"
#include "LayoutProbe.h"
#include "layout/FileAccess.h"
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

std::vector<ControlRecord> FullLayout() {
    std::vector<ControlRecord> records;
    for (int i = 0; i < MaxControls; ++i) {
        ControlRecord r = MakeFullRecord(i);
        r.rScreen = i % 16;
        r.rType = 1 + i % 11;
        records.push_back(r);
    }
    return records;
}

void BM_LoadSaveLayout(benchmark::State& state) {
    TempDir dir;
    const std::string path = dir.Write("full.set", LayoutFileBytes(FullLayout()));
    const std::string out = dir.File("out.set");
    SilentDialogs dialogs;
    cLayout layout(dialogs);
    for (auto _ : state) {
        benchmark::DoNotOptimize(layout.LoadLayout(path));
        benchmark::DoNotOptimize(layout.SaveLayout(out));
    }
}
BENCHMARK(BM_LoadSaveLayout)->Unit(benchmark::kMicrosecond);

void BM_LoadSavePlainCopy(benchmark::State& state) {
    TempDir dir;
    const std::string path = dir.Write("full.set", LayoutFileBytes(FullLayout()));
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
