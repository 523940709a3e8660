// Painting previews of a full layout of 2000 records with pictures: its largest screen into a
// 1024 x 768 image (one frame is 16 ms), and the 16 thumbnails of the Thumbnail grid (goal
// 100 ms), each with the pictures already read and scaled (as repainting finds them) and from
// nothing (as the first opening does).

#include <QApplication>
#include <QDir>
#include <QImage>
#include <QPainter>
#include <QSettings>
#include <QTemporaryDir>

#include <benchmark/benchmark.h>

#include "AgreeingDialogs.h"
#include "LayoutProbe.h"
#include "PreviewLayouts.h"
#include "layout/cLayout.h"
#include "preview/PictureFinder.h"
#include "ui/canvas/PictureCache.h"
#include "ui/canvas/ScenePainter.h"
#include "ui/dialogs/ScreenThumbnailsWindow.h"

namespace {

// The layout in a folder with its pictures: a photo-like background and button faces.
class PicturedLayout {
public:
    PicturedLayout() : Layout(Dialogs) {
        QDir(Dir.path()).mkpath("BenchBitmaps");
        QImage background(1027, 729, QImage::Format_RGB32);
        for (int y = 0; y < background.height(); ++y)
            for (int x = 0; x < background.width(); ++x)
                background.setPixel(x, y, qRgb(x % 256, y % 256, (x + y) % 256));
        background.save(Dir.filePath("BenchBitmaps/Background.jpg"), "JPEG", 85);
        for (int n = 0; n < BenchPictureCount; ++n) {
            QImage button(90, 32, QImage::Format_RGB32);
            button.fill(QColor::fromHsv(n * 40, 200, 200));
            QPainter(&button).drawEllipse(30, 4, 30, 24);
            button.save(Dir.filePath(QString("BenchBitmaps/Button%1.png").arg(n)));
        }
        const std::string file = Dir.filePath("full.set").toStdString();
        cLayoutProbe::Adopt(Layout, PicturedBenchLayout(), file);
        Finder = PictureFinder::ForLayout(file, "");
        Options.Pictures = &Finder;
    }
    QTemporaryDir Dir;
    AgreeingDialogs Dialogs;
    cLayout Layout;
    PictureFinder Finder;
    SceneOptions Options;
};

PicturedLayout& Bench() {
    static PicturedLayout layout;
    return layout;
}

void PaintLargestScreen(benchmark::State& state, bool warm) {
    PicturedLayout& bench = Bench();
    const ScreenScene scene =
        BuildScreenScene(bench.Layout, LargestScreen(PicturedBenchLayout()), bench.Options);
    PictureCache pictures;
    QImage image(1024, 768, QImage::Format_ARGB32_Premultiplied);
    const auto paint = [&] {
        QPainter painter(&image);
        PaintScene(painter, scene, pictures, QRectF(0, 0, 1024, 768));
    };
    paint();
    for (auto _ : state) {
        if (!warm) pictures.Clear();
        paint();
        benchmark::DoNotOptimize(image.constBits());
    }
    state.counters["items"] = static_cast<double>(scene.Items.size());
}

void BM_PaintLargestScreen(benchmark::State& state) {
    PaintLargestScreen(state, true);
}
BENCHMARK(BM_PaintLargestScreen)->Unit(benchmark::kMillisecond);

void BM_PaintLargestScreenReadingPictures(benchmark::State& state) {
    PaintLargestScreen(state, false);
}
BENCHMARK(BM_PaintLargestScreenReadingPictures)->Unit(benchmark::kMillisecond);

void SixteenThumbnails(benchmark::State& state, bool warm) {
    PicturedLayout& bench = Bench();
    PictureCache pictures;
    const QSize size(ScreenThumbnail::PictureWidth, ScreenThumbnail::PictureHeight);
    RenderThumbnails(bench.Layout, pictures, bench.Options, size);
    for (auto _ : state) {
        if (!warm) pictures.Clear();
        const auto images = RenderThumbnails(bench.Layout, pictures, bench.Options, size);
        benchmark::DoNotOptimize(images[0].constBits());
    }
}

void BM_SixteenThumbnails(benchmark::State& state) {
    SixteenThumbnails(state, true);
}
BENCHMARK(BM_SixteenThumbnails)->Unit(benchmark::kMillisecond);

void BM_SixteenThumbnailsReadingPictures(benchmark::State& state) {
    SixteenThumbnails(state, false);
}
BENCHMARK(BM_SixteenThumbnailsReadingPictures)->Unit(benchmark::kMillisecond);

} // namespace

int main(int argc, char** argv) {
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    // What the editors remember goes to a scratch folder, never to the user's settings.
    QTemporaryDir settings;
    QSettings::setPath(QSettings::IniFormat, QSettings::UserScope, settings.path());
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
