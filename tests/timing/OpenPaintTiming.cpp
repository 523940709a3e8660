// Times what a user waits for on opening a big layout: reading the file, then building and
// painting its largest screen with its pictures read from disk, into a 1024 x 768 image. Built for
// Linux and for Windows, so that the Windows build under Wine can be held against the native one
// (scripts/test-windows.sh). Prints the fastest of the runs in milliseconds:
//   quill_open_paint_timing [--runs N] [LAYOUT]
// Without LAYOUT it writes a full layout as the preview benchmarks draw (2000 records of every kind
// on every screen, a background picture on every screen, a picture on every fifth control) with
// its pictures into a scratch folder. (The benchmarks' own builders need the benchmark library,
// which a Windows build lacks.)

#include <QDir>
#include <QElapsedTimer>
#include <QGuiApplication>
#include <QImage>
#include <QPainter>
#include <QTemporaryDir>

#include <algorithm>
#include <array>
#include <cstdio>
#include <limits>
#include <random>
#include <span>
#include <string>
#include <vector>

#include "AgreeingDialogs.h"
#include "LayoutBuilders.h"
#include "LayoutProbe.h"
#include "TestFonts.h"
#include "layout/cLayout.h"
#include "preview/PictureFinder.h"
#include "ui/canvas/PictureCache.h"
#include "ui/canvas/ScenePainter.h"

namespace {

constexpr int PictureCount = 8;

// The mixed layout of 2000 records with a background picture under every screen and a picture on
// every fifth control.
std::vector<ControlRecord> FullLayout() {
    std::vector<ControlRecord> layout = MixedLayout(2000);
    std::array<bool, ScreenCount> backed{};
    for (std::size_t i = 0; i < layout.size(); ++i) {
        ControlRecord& r = layout[i];
        const auto screen = static_cast<std::size_t>(r.rScreen);
        if (!backed[screen]) {
            backed[screen] = true;
            r = ControlRecord();
            r.rType = ControlKind::Bitmap;
            r.rScreen = static_cast<int32_t>(screen);
            r.rText = "None";
            r.rBitMapPath = "BenchBitmaps\\Background.jpg";
            r.rX2 = 1027;
            r.rY2 = 729;
        } else if (i % 5 == 0) {
            r.rBitMapPath = "BenchBitmaps\\Button" + std::to_string(i / 5 % PictureCount) + ".png";
        } else {
            r.rBitMapPath = "None";
        }
    }
    return layout;
}

// The screen holding the most records.
int LargestScreen(std::span<const ControlRecord> records) {
    std::array<int, ScreenCount> counts{};
    for (const ControlRecord& r : records)
        if (r.rScreen >= 0 && r.rScreen < ScreenCount) ++counts[static_cast<std::size_t>(r.rScreen)];
    return static_cast<int>(std::max_element(counts.begin(), counts.end()) - counts.begin());
}

// Writes the full pictured layout and its pictures into the folder; its path, or empty.
std::string WriteFullLayout(const QString& folder) {
    QDir(folder).mkpath(QStringLiteral("BenchBitmaps"));
    QImage background(1027, 729, QImage::Format_RGB32);
    for (int y = 0; y < background.height(); ++y)
        for (int x = 0; x < background.width(); ++x)
            background.setPixel(x, y, qRgb(x % 256, y % 256, (x + y) % 256));
    if (!background.save(folder + QStringLiteral("/BenchBitmaps/Background.jpg"), "JPEG", 85))
        return {};
    for (int n = 0; n < PictureCount; ++n) {
        QImage button(90, 32, QImage::Format_RGB32);
        button.fill(QColor::fromHsv(n * 40, 200, 200));
        QPainter(&button).drawEllipse(30, 4, 30, 24);
        button.save(folder + QStringLiteral("/BenchBitmaps/Button%1.png").arg(n));
    }
    AgreeingDialogs dialogs;
    cLayout layout(dialogs);
    const std::string file = (folder + QStringLiteral("/full.set")).toStdString();
    cLayoutProbe::Adopt(layout, FullLayout(), file);
    return layout.SaveLayout(file) ? file : std::string();
}

} // namespace

int main(int argc, char** argv) {
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
    UseFontsOfTheSystem();
    QGuiApplication app(argc, argv);
    int runs = 5;
    std::string file;
    const QStringList arguments = QCoreApplication::arguments();
    for (qsizetype i = 1; i < arguments.size(); ++i) {
        if (arguments[i] == QStringLiteral("--runs") && i + 1 < arguments.size())
            runs = std::max(1, arguments[++i].toInt());
        else
            file = arguments[i].toStdString();
    }
    QTemporaryDir scratch;
    if (file.empty()) file = WriteFullLayout(scratch.path());
    if (file.empty()) {
        std::fprintf(stderr, "quill_open_paint_timing: the layout could not be written\n");
        return 2;
    }

    // The fastest run, and its three parts: reading the file, building the scene, painting.
    double best = std::numeric_limits<double>::max();
    double parts[3] = {};
    std::size_t items = 0;
    int screen = 0;
    for (int run = 0; run < runs; ++run) {
        QElapsedTimer timer;
        timer.start();
        const auto lap = [&timer] { return static_cast<double>(timer.nsecsElapsed()) / 1e6; };
        AgreeingDialogs dialogs;
        cLayout layout(dialogs);
        if (!layout.LoadLayout(file)) {
            std::fprintf(stderr, "quill_open_paint_timing: %s cannot be opened\n", file.c_str());
            return 2;
        }
        const double loaded = lap();
        screen = LargestScreen(layout.Records());
        const PictureFinder finder = PictureFinder::ForLayout(file, "");
        SceneOptions options;
        options.Pictures = &finder;
        const ScreenScene scene = BuildScreenScene(layout, screen, options);
        const double built = lap();
        PictureCache pictures;
        QImage image(1024, 768, QImage::Format_ARGB32_Premultiplied);
        {
            QPainter painter(&image);
            PaintScene(painter, scene, pictures, QRectF(0, 0, 1024, 768));
        }
        const double total = lap();
        if (total < best) {
            best = total;
            parts[0] = loaded;
            parts[1] = built - loaded;
            parts[2] = total - built;
        }
        items = scene.Items.size();
    }
    std::printf("open and paint: %.1f ms (fastest of %d: reading %.1f, scene %.1f, painting %.1f; "
                "screen %d, %zu items)\n",
                best, runs, parts[0], parts[1], parts[2], screen, items);
    return 0;
}
