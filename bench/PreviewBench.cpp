// The scene of the largest screen of a full layout of 2000 records, pictures looked up (with the
// finder's folder listings warm, as a preview that repaints has them), against a plain copy of the
// screen's records.

#include <benchmark/benchmark.h>

#include <filesystem>

#include "AgreeingDialogs.h"
#include "LayoutBuilders.h"
#include "LayoutProbe.h"
#include "PreviewLayouts.h"
#include "layout/cLayout.h"
#include "preview/PictureFinder.h"
#include "preview/ScreenScene.h"

namespace {

void BM_SceneOfLargestScreen(benchmark::State& state) {
    TempDir dir;
    std::filesystem::create_directories(dir.File("BenchBitmaps"));
    dir.Write("BenchBitmaps/Background.jpg", "x");
    for (int n = 0; n < BenchPictureCount; ++n)
        dir.Write("BenchBitmaps/Button" + std::to_string(n) + ".png", "x");
    AgreeingDialogs dialogs;
    cLayout layout(dialogs);
    cLayoutProbe::Adopt(layout, PicturedBenchLayout(), dir.File("full.set"));
    const int screen = LargestScreen(PicturedBenchLayout());
    const PictureFinder finder = PictureFinder::ForLayout(dir.File("full.set"), "");
    std::size_t items = 0;
    for (auto _ : state) {
        const ScreenScene scene = BuildScreenScene(layout, screen, {.Pictures = &finder});
        items = scene.Items.size();
        benchmark::DoNotOptimize(scene.Items.data());
    }
    state.counters["items"] = static_cast<double>(items);
}
BENCHMARK(BM_SceneOfLargestScreen)->Unit(benchmark::kMicrosecond);

void BM_CopyLargestScreenRecords(benchmark::State& state) {
    const std::vector<ControlRecord>& records = PicturedBenchLayout();
    const int screen = LargestScreen(records);
    std::vector<ControlRecord> copy;
    for (auto _ : state) {
        copy.clear();
        for (const ControlRecord& r : records)
            if (r.rScreen == screen || r.rScreen == 0) copy.push_back(r);
        benchmark::DoNotOptimize(copy.data());
    }
}
BENCHMARK(BM_CopyLargestScreenRecords)->Unit(benchmark::kMicrosecond);

} // namespace
