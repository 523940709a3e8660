// Finding across every searchable field of a layout (the goal: under 20 ms at 32767 records),
// replacing in 10,000 fields as one step (under 50 ms), and a bundle of a layout with 100
// pictures against copying those pictures: a folder no slower than the system's copy of the files;
// a zip, which reads and writes every byte itself and keeps a checksum of each, against both that
// copy and one that reads and writes the files through the program.

#include <benchmark/benchmark.h>

#include <filesystem>
#include <fstream>

#include "AgreeingDialogs.h"
#include "BenchLayouts.h"
#include "BenchRatios.h"
#include "LayoutBuilders.h"
#include "LayoutProbe.h"
#include "bundle/LayoutBundle.h"
#include "editing/FindReplace.h"
#include "preview/PictureFinder.h"

namespace fs = std::filesystem;

namespace {

// Letter case ignored, every field: the slowest search there is.
void BM_FindText(benchmark::State& state) {
    const std::vector<ControlRecord>& records = BenchLayout(static_cast<int>(state.range(0)));
    const FindOptions options{"Screen", {}, false, false};
    for (auto _ : state) {
        std::vector<FindResult> found = FindInRecords(records, options);
        benchmark::DoNotOptimize(found.data());
    }
    state.counters["results"] = static_cast<double>(FindInRecords(records, options).size());
}
BENCHMARK(BM_FindText)->Apply(AtBothSizes);

void BM_FindNumber(benchmark::State& state) {
    const std::vector<ControlRecord>& records = BenchLayout(static_cast<int>(state.range(0)));
    const FindOptions options{"216", {}, false, false};
    for (auto _ : state) {
        std::vector<FindResult> found = FindInRecords(records, options);
        benchmark::DoNotOptimize(found.data());
    }
}
BENCHMARK(BM_FindNumber)->Apply(AtBothSizes);

// 10,000 captions of the largest layout replaced and applied as one step, then back again.
void BM_Replace10000Fields(benchmark::State& state) {
    std::vector<ControlRecord> records = BenchLayout(BenchLargestSize);
    for (std::size_t i = 0; i < 10000; ++i)
        records[i * 3].rText = "Jog " + std::to_string(i);
    AgreeingDialogs dialogs;
    cLayout layout(dialogs);
    cLayoutProbe::Adopt(layout, records);
    const ReplaceRequest there{{"Jog ", {FindField::Text}, false, true}, "Jog+ "};
    const ReplaceRequest back{{"Jog+ ", {FindField::Text}, false, true}, "Jog "};
    bool forth = true;
    for (auto _ : state) {
        const ReplacePlan plan = PlanReplace(layout.Records(), forth ? there : back);
        if (plan.Fields != 10000) state.SkipWithError("not 10,000 fields");
        layout.ApplyEdit(plan.Edit, plan.StepText());
        forth = !forth;
    }
}
BENCHMARK(BM_Replace10000Fields)->Unit(benchmark::kMillisecond);

// 100 pictures of 150 KB each, named by a layout of 2000 records in the temporary folder.
struct PictureFolder {
    TempDir Dir;
    LayoutContent Layout;

    PictureFolder() {
        fs::create_directories(Dir.File("pics/Skin"));
        std::string bytes(150 * 1024, '\0');
        for (std::size_t k = 0; k < bytes.size(); ++k)
            bytes[k] = static_cast<char>((k * 7919) >> 5);
        Layout.Records = BenchLayout(BenchCommonSize);
        for (int p = 0; p < 100; ++p) {
            bytes[0] = static_cast<char>(p);
            Dir.Write("pics/Skin/p" + std::to_string(p) + ".png", bytes);
        }
        for (std::size_t i = 0; i < Layout.Records.size(); ++i)
            Layout.Records[i].rBitMapPath = "Skin\\p" + std::to_string(i % 100) + ".png";
    }
};

void BM_CopyPictures(benchmark::State& state) {
    PictureFolder folder;
    const std::string to = folder.Dir.File("copy");
    for (auto _ : state) {
        fs::create_directories(to);
        for (const auto& entry : fs::directory_iterator(folder.Dir.File("pics/Skin")))
            fs::copy_file(entry.path(), to / entry.path().filename());
        state.PauseTiming();
        fs::remove_all(to);
        state.ResumeTiming();
    }
}
BENCHMARK(BM_CopyPictures)->Unit(benchmark::kMillisecond);

// The same copy through a program's own reading and writing, as an archive must copy them.
void BM_CopyPicturesReadWrite(benchmark::State& state) {
    PictureFolder folder;
    const std::string to = folder.Dir.File("copy");
    for (auto _ : state) {
        fs::create_directories(to);
        for (const auto& entry : fs::directory_iterator(folder.Dir.File("pics/Skin"))) {
            std::string bytes(static_cast<std::size_t>(entry.file_size()), '\0');
            std::ifstream(entry.path(), std::ios::binary)
                .read(bytes.data(), static_cast<std::streamsize>(bytes.size()));
            std::ofstream((to / entry.path().filename()), std::ios::binary)
                .write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
        }
        state.PauseTiming();
        fs::remove_all(to);
        state.ResumeTiming();
    }
}
BENCHMARK(BM_CopyPicturesReadWrite)->Unit(benchmark::kMillisecond);

void BM_BundleFolder(benchmark::State& state) {
    PictureFolder folder;
    const std::string to = folder.Dir.File("bundle");
    for (auto _ : state) {
        std::string failure;
        const BundlePlan plan =
            PlanBundle(folder.Layout, "Skin.set", PictureFinder({folder.Dir.File("pics")}));
        if (plan.Pictures != 100 || !WriteBundleFolder(plan, to, failure))
            state.SkipWithError(failure.c_str());
        state.PauseTiming();
        fs::remove_all(to);
        state.ResumeTiming();
    }
}
BENCHMARK(BM_BundleFolder)->Unit(benchmark::kMillisecond);

void BM_BundleZip(benchmark::State& state) {
    if (!ZipBundles()) {
        state.SkipWithError("this build writes bundles into folders only");
        return;
    }
    PictureFolder folder;
    const std::string to = folder.Dir.File("bundle.zip");
    for (auto _ : state) {
        std::string failure;
        const BundlePlan plan =
            PlanBundle(folder.Layout, "Skin.set", PictureFinder({folder.Dir.File("pics")}));
        if (plan.Pictures != 100 || !WriteBundleZip(plan, to, failure))
            state.SkipWithError(failure.c_str());
        state.PauseTiming();
        fs::remove(to);
        state.ResumeTiming();
    }
}
BENCHMARK(BM_BundleZip)->Unit(benchmark::kMillisecond);

const bool registered = RegisterCommand("BM_FindText", "BM_CopyLayout", 0) &&
                        RegisterCommand("BM_FindNumber", "BM_CopyLayout", 0) &&
                        RegisterRatio("BM_BundleFolder", "BM_CopyPictures", 1.0) &&
                        RegisterRatio("BM_BundleZip", "BM_CopyPictures", 0) &&
                        RegisterRatio("BM_BundleZip", "BM_CopyPicturesReadWrite", 0);

} // namespace
