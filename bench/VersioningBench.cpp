// The text form both ways, and diff and merge of two versions, for layouts of 2000 records and of
// 32767 (the most a layout file can count). The goals: to-text and from-text of 32767 records under
// 300 ms each, diff of 2000-record versions under 50 ms and of 32767-record versions under 1 s.

#include <benchmark/benchmark.h>

#include <random>

#include "LayoutBuilders.h"
#include "versioning/LayoutDiff.h"
#include "versioning/LayoutMerge.h"
#include "versioning/LayoutText.h"

namespace {

constexpr int LargestLayout = 32767;

// Records of every kind on all 16 screens, with the texts real layouts have: "None", scripts of
// "None" and a line break, section-marked labels, picture paths with backslashes.
LayoutContent BenchVersion(int count) {
    std::mt19937 random(static_cast<unsigned>(count));
    std::uniform_int_distribution<int32_t> coordinate(0, 1200);
    LayoutContent layout;
    layout.Trailer = {0, 0, 0, 1024, 768};
    for (int i = 0; i < count; ++i) {
        ControlRecord r = MakeFullRecord(i);
        r.rScreen = i % ScreenCount;
        r.rType = 1 + i % 11;
        r.rX1 = coordinate(random);
        r.rY1 = coordinate(random);
        r.rX2 = r.rX1 + 60;
        r.rY2 = r.rY1 + 20;
        if (i % 3 == 0) r.rText = "None";
        if (i % 4 == 0) r.rGText = "None\r\n";
        if (i % 16 == 7) r.rLabel = "\xA7Screen " + std::to_string(i);
        if (i % 5 == 0) r.rBitMapPath = "NewPlasma\\Bitmaps\\Button" + std::to_string(i) + ".png";
        layout.Records.push_back(r);
    }
    return layout;
}

// The version after a day's work: a caption changed in every 50 records, every 97th record
// deleted, a control inserted every 400, the DROs of one stretch re-ordered, screens 3 and 4
// swapped.
LayoutContent Edited(const LayoutContent& older) {
    LayoutContent newer = older;
    for (std::size_t i = 0; i < newer.Records.size(); i += 50)
        newer.Records[i].rText = "Edited " + std::to_string(i);
    for (ControlRecord& r : newer.Records)
        if (r.rScreen == 3 || r.rScreen == 4) r.rScreen = 7 - r.rScreen;
    std::rotate(newer.Records.begin() + 10, newer.Records.begin() + 12, newer.Records.begin() + 20);
    std::vector<ControlRecord> records;
    for (std::size_t i = 0; i < newer.Records.size(); ++i) {
        if (i % 97 == 96) continue;
        if (i % 400 == 399) records.push_back(MakeControl(ControlKind::Button, 1, 5, 5, 90, 30));
        records.push_back(newer.Records[i]);
    }
    newer.Records = std::move(records);
    return newer;
}

void BM_LayoutToText(benchmark::State& state) {
    const LayoutContent layout = BenchVersion(static_cast<int>(state.range(0)));
    for (auto _ : state)
        benchmark::DoNotOptimize(LayoutToText(layout));
}
BENCHMARK(BM_LayoutToText)->Arg(2000)->Arg(LargestLayout)->Unit(benchmark::kMillisecond);

// Reading refuses more records than a layout holds (MaxControls), so the largest is that.
void BM_LayoutFromText(benchmark::State& state) {
    const std::string text = LayoutToText(BenchVersion(static_cast<int>(state.range(0))));
    LayoutContent layout;
    std::string error;
    for (auto _ : state)
        if (!LayoutFromText(text, layout, error)) state.SkipWithError(error.c_str());
}
BENCHMARK(BM_LayoutFromText)
    ->Apply([](benchmark::internal::Benchmark* b) {
        b->Arg(2000);
        if (MaxControls > 2000) b->Arg(MaxControls);
    })
    ->Unit(benchmark::kMillisecond);

void BM_DiffLayouts(benchmark::State& state) {
    const LayoutContent older = BenchVersion(static_cast<int>(state.range(0)));
    const LayoutContent newer = Edited(older);
    for (auto _ : state)
        benchmark::DoNotOptimize(DiffLayouts(older, newer));
}
BENCHMARK(BM_DiffLayouts)->Arg(2000)->Arg(LargestLayout)->Unit(benchmark::kMillisecond);

// Two versions that have nothing in common: every record goes through every pass.
void BM_DiffUnrelatedLayouts(benchmark::State& state) {
    const LayoutContent older = BenchVersion(static_cast<int>(state.range(0)));
    const LayoutContent newer = BenchVersion(static_cast<int>(state.range(0)) + 1);
    for (auto _ : state)
        benchmark::DoNotOptimize(DiffLayouts(older, newer));
}
BENCHMARK(BM_DiffUnrelatedLayouts)->Arg(LargestLayout)->Unit(benchmark::kMillisecond);

void BM_MergeLayouts(benchmark::State& state) {
    const LayoutContent base = BenchVersion(static_cast<int>(state.range(0)));
    const LayoutContent ours = Edited(base);
    LayoutContent theirs = base;
    for (std::size_t i = 25; i < theirs.Records.size(); i += 50)
        theirs.Records[i].rHotKey = 2097;
    for (auto _ : state)
        benchmark::DoNotOptimize(MergeLayouts(base, ours, theirs));
}
BENCHMARK(BM_MergeLayouts)->Arg(2000)->Arg(LargestLayout)->Unit(benchmark::kMillisecond);

} // namespace
