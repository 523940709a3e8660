// The scene of the largest screen of a full layout of 2000 records, pictures looked up (with the
// finder's folder listings warm, as a preview that repaints has them), against a plain copy of the
// screen's records; and that screen written as an SVG with its pictures embedded, as the largest
// real screen is: 80 pictures from 8 files (goal 50 ms).

#include <benchmark/benchmark.h>

#include <filesystem>

#include "AgreeingDialogs.h"
#include "LayoutBuilders.h"
#include "LayoutProbe.h"
#include "PreviewLayouts.h"
#include "layout/cLayout.h"
#include "preview/PictureFinder.h"
#include "preview/ScreenScene.h"
#include "preview/SvgWriter.h"

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

// The largest screen with 80 pictures: its background, a photo-like JPEG of about 200 KB, and 79
// controls showing one of 7 button faces of about 12 KB.
void BM_SvgOfLargestScreenWithEmbeddedPictures(benchmark::State& state) {
    constexpr int Faces = 7;
    constexpr int Pictured = 80;
    TempDir dir;
    std::filesystem::create_directories(dir.File("BenchBitmaps"));
    std::string jpeg = "\xFF\xD8\xFF\xE0";
    for (int i = 0; jpeg.size() < 200000; ++i)
        jpeg.push_back(static_cast<char>(i * 7919 % 251));
    dir.Write("BenchBitmaps/Background.jpg", jpeg);
    for (int n = 0; n < Faces; ++n) {
        std::string png = "\x89PNG\r\n\x1A\n";
        for (int i = 0; png.size() < 12000; ++i)
            png.push_back(static_cast<char>((i + n) * 31 % 253));
        dir.Write("BenchBitmaps/Button" + std::to_string(n) + ".png", png);
    }
    std::vector<ControlRecord> records = PicturedBenchLayout();
    const int screen = LargestScreen(records);
    int shown = 0;
    for (ControlRecord& r : records) {
        if (r.rScreen != screen || r.rBitMapPath == BenchBackgroundName()) continue;
        r.rBitMapPath = shown + 1 < Pictured ? BenchButtonName(shown++ % Faces) : "None";
    }
    AgreeingDialogs dialogs;
    cLayout layout(dialogs);
    cLayoutProbe::Adopt(layout, records, dir.File("full.set"));
    const PictureFinder finder = PictureFinder::ForLayout(dir.File("full.set"), "");
    const ScreenScene scene =
        BuildScreenScene(layout, screen, {.ShowPersistent = false, .Pictures = &finder});
    SvgDocument svg;
    for (auto _ : state) {
        svg = WriteSceneSvg(scene);
        benchmark::DoNotOptimize(svg.Text.data());
    }
    int pictures = 0;
    for (const SceneItem& item : scene.Items)
        pictures += !item.PicturePath.empty();
    int encoded = 0;
    for (std::size_t at = svg.Text.find("data:"); at != std::string::npos;
         at = svg.Text.find("data:", at + 1))
        ++encoded;
    state.counters["items"] = static_cast<double>(scene.Items.size());
    state.counters["pictures"] = pictures;
    state.counters["files"] = svg.PictureFiles;
    state.counters["encoded"] = encoded;
    state.counters["KB"] = static_cast<double>(svg.Text.size()) / 1024;
}
BENCHMARK(BM_SvgOfLargestScreenWithEmbeddedPictures)->Unit(benchmark::kMillisecond);

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
