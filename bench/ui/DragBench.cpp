// Dragging 50 controls on the largest screen of a real-sized layout: 2176 records, of which 261
// on the screen edited, under two full-screen pictures and with picture buttons and invisible hot
// spots, as skinned layouts are. Each iteration is one mouse move with the repaint it causes,
// at 100 % and at 400 % (the goal: within one frame, 8 ms).

#include <QApplication>
#include <QDir>
#include <QImage>
#include <QMouseEvent>
#include <QPainter>
#include <QTemporaryDir>

#include <benchmark/benchmark.h>

#include <algorithm>
#include <random>

#include "AgreeingDialogs.h"
#include "LayoutBuilders.h"
#include "LayoutProbe.h"
#include "layout/cLayout.h"
#include "ui/widgets/FileDialogs.h"
#include "ui/session/LayoutSession.h"
#include "ui/canvas/ScreenEditor.h"
#include "ui/canvas/ScreenPreview.h"
#include "ui/canvas/ScreenPreviewWindow.h"

namespace {

constexpr int EditedScreen = 1;
constexpr int ScreenControls = 261;
constexpr int LayoutRecords = 2176;
constexpr int Selected = 50;

class NoFileDialogs : public FileDialogs {
public:
    int ShowOpen(const FileDialogSetup&, std::string&) override { return FileDialogCancel; }
    int ShowSave(const FileDialogSetup&, std::string&) override { return FileDialogCancel; }
};

std::vector<ControlRecord> DragLayout() {
    std::mt19937 random(24);
    std::uniform_int_distribution<int32_t> x(0, 960), y(0, 730);
    std::vector<ControlRecord> records;
    // The Persistent screen's own controls lie over the edited one.
    for (int i = 0; i < 40; ++i)
        records.push_back(MakeControl(ControlKind::Button, 0, 10 + i * 25, 740, 30 + i * 25, 764));
    for (int i = 0; i < ScreenControls - 2; ++i) {
        const int32_t left = x(random), top = y(random);
        ControlRecord r;
        switch (i % 6) {
        case 0:
            r = MakeControl(ControlKind::BitmapButton, EditedScreen, left, top, left + 90,
                            top + 32);
            r.rBitMapPath = "DragBitmaps\\Button" + std::to_string(i % 8) + ".png";
            break;
        case 1:
            r = MakeControl(ControlKind::BitmapButton, EditedScreen, left, top, left + 60,
                            top + 30);
            r.rBitMapPath = "None"; // an invisible hot spot
            break;
        case 2:
            r = MakeDRO(EditedScreen, 1, left, top);
            r.rFormat = "%+4.4f";
            break;
        case 3:
            r = MakeControl(ControlKind::Label, EditedScreen, left, top, left + 80, top + 18);
            r.rText = "Label " + std::to_string(i);
            break;
        case 4:
            r = MakeControl(ControlKind::Button, EditedScreen, left, top, left + 64, top + 28);
            r.rText = "Cycle " + std::to_string(i);
            break;
        default:
            r = MakeControl(ControlKind::LED, EditedScreen, left, top, left + 16, top + 16);
            break;
        }
        records.push_back(r);
    }
    // The full-screen pictures come late in record order, as in real layouts.
    for (const char* picture : {"DragBitmaps\\Background.jpg", "DragBitmaps\\Overlay.png"}) {
        ControlRecord r = MakeControl(ControlKind::Bitmap, EditedScreen, 0, 0, 1024, 768);
        r.rText = "None";
        r.rBitMapPath = picture;
        records.push_back(r);
    }
    for (int i = static_cast<int>(records.size()); i < LayoutRecords; ++i)
        records.push_back(
            MakeControl(ControlKind::Button, 2 + i % 14, x(random), y(random), 800, 600));
    return records;
}

class DragBench {
public:
    DragBench() : Layout(Dialogs), Session(Layout, Dialogs) {
        QDir(Dir.path()).mkpath("DragBitmaps");
        QImage background(1027, 729, QImage::Format_RGB32);
        for (int y = 0; y < background.height(); ++y)
            for (int x = 0; x < background.width(); ++x)
                background.setPixel(x, y, qRgb(x % 256, y % 256, (x + y) % 256));
        background.save(Dir.filePath("DragBitmaps/Background.jpg"), "JPEG", 85);
        QImage overlay(1024, 768, QImage::Format_ARGB32);
        overlay.fill(Qt::transparent);
        QPainter(&overlay).fillRect(0, 0, 1024, 60, QColor(20, 40, 90, 200));
        overlay.save(Dir.filePath("DragBitmaps/Overlay.png"));
        for (int n = 0; n < 8; ++n) {
            QImage button(90, 32, QImage::Format_ARGB32);
            button.fill(QColor::fromHsv(n * 40, 200, 200));
            QPainter(&button).drawEllipse(30, 4, 30, 24);
            button.save(Dir.filePath(QString("DragBitmaps/Button%1.png").arg(n)));
        }
        cLayoutProbe::Adopt(Layout, DragLayout(), Dir.filePath("drag.set").toStdString());
    }

    // Times one mouse move of a drag of the 50 selected controls, with its repaint.
    void Run(benchmark::State& state, double zoom) {
        ScreenPreviewWindow window(Session, EditedScreen, Files, Dialogs);
        window.resize(1300, 980);
        window.show();
        QApplication::processEvents();
        ScreenEditor* editor = window.Editor();
        if (editor == nullptr) {
            state.SkipWithError("the window does not edit");
            return;
        }
        SnapSettings snapping;
        editor->SetSnapping(snapping);
        const std::vector<ControlRecord> records(Layout.Records().begin(), Layout.Records().end());
        // The 50 controls nearest the middle of the screen, so that at 400 % as many of them are
        // in view as can be.
        std::vector<std::pair<int64_t, int>> near;
        for (std::size_t i = 0; i < records.size(); ++i) {
            const ControlRecord& r = records[i];
            if (r.rScreen != EditedScreen || r.rType == ControlKind::Bitmap) continue;
            const int64_t dx = r.rX1 + r.rX2 - 1024, dy = r.rY1 + r.rY2 - 768;
            near.emplace_back(dx * dx + dy * dy, static_cast<int>(i) + 1);
        }
        std::sort(near.begin(), near.end());
        std::vector<int> chosen;
        for (std::size_t i = 0; i < Selected && i < near.size(); ++i)
            chosen.push_back(near[i].second);
        Session.SetSelection(chosen);
        // Grab the one nearest the middle.
        const ControlRecord& grabbed = records[static_cast<std::size_t>(near.front().second - 1)];
        const QPointF centre((grabbed.rX1 + grabbed.rX2) / 2.0, (grabbed.rY1 + grabbed.rY2) / 2.0);
        editor->SetZoom(zoom, QPointF(editor->viewport()->rect().center()));
        editor->CentreOn(centre);
        QApplication::processEvents();

        QWidget* view = editor->viewport();
        const auto send = [view](QEvent::Type type, QPointF at, Qt::MouseButtons held) {
            QMouseEvent event(type, at, view->mapToGlobal(at),
                              type == QEvent::MouseMove ? Qt::NoButton : Qt::LeftButton, held,
                              Qt::NoModifier);
            QApplication::sendEvent(view, &event);
        };
        const QPointF from = editor->FromScreen(centre);
        send(QEvent::MouseButtonPress, from, Qt::LeftButton);
        send(QEvent::MouseMove, from + QPointF(12, 9), Qt::LeftButton);
        QApplication::processEvents();
        int step = 0;
        for (auto _ : state) {
            // Back and forth, a different place each time, as a hand moves.
            ++step;
            const QPointF to = from + QPointF(10 + step % 7 * 3, 8 + step % 5 * 2);
            send(QEvent::MouseMove, to, Qt::LeftButton);
            QApplication::processEvents();
        }
        state.counters["controls"] = static_cast<double>(editor->SelectedHere().size());
        int shown = 0;
        for (int p : chosen) {
            const ControlRecord& r = records[static_cast<std::size_t>(p - 1)];
            shown += editor->viewport()->rect().intersects(
                         QRectF(editor->FromScreen(QPointF(r.rX1, r.rY1)),
                                editor->FromScreen(QPointF(r.rX2, r.rY2)))
                             .toAlignedRect())
                         ? 1
                         : 0;
        }
        state.counters["inView"] = shown;
        editor->CancelGesture();
        send(QEvent::MouseButtonRelease, from, Qt::NoButton);
        Session.SetSelection({});
    }

    QTemporaryDir Dir;
    AgreeingDialogs Dialogs;
    NoFileDialogs Files;
    cLayout Layout;
    LayoutSession Session;
};

DragBench& Bench() {
    static DragBench bench;
    return bench;
}

void BM_Drag50ControlsAt100Percent(benchmark::State& state) {
    Bench().Run(state, 1.0);
}
BENCHMARK(BM_Drag50ControlsAt100Percent)->Unit(benchmark::kMillisecond)->MinTime(2.0);

void BM_Drag50ControlsAt400Percent(benchmark::State& state) {
    Bench().Run(state, 4.0);
}
BENCHMARK(BM_Drag50ControlsAt400Percent)->Unit(benchmark::kMillisecond)->MinTime(2.0);

} // namespace
