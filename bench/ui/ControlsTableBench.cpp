// The controls table and the property sheet on a layout of 32767 records: the table filled (its
// rows chosen and the visible ones painted; goal 200 ms), filtered as a letter is typed (goal
// 50 ms), and one control selected, with the table, the property sheet and the preview of its
// screen following and repainting what changed (goal one frame, 16 ms), and the same with all
// three painted whole. The layout is the preview benchmarks'
// one of 2000 records, whose screens are as full as real ones (its largest holds 324 controls),
// and 30767 more records on screens outside 0..15, which the host keeps but never shows; its
// pictures are missing.

#include <QApplication>
#include <QLineEdit>
#include <QTableView>

#include <benchmark/benchmark.h>

#include "AgreeingDialogs.h"
#include "BenchLayouts.h"
#include "LayoutProbe.h"
#include "PreviewLayouts.h"
#include "layout/cLayout.h"
#include "ui/panes/ControlsTable.h"
#include "ui/panes/ControlsTableModel.h"
#include "ui/widgets/FileDialogs.h"
#include "ui/session/LayoutSession.h"
#include "ui/canvas/PreviewSelection.h"
#include "ui/panes/PropertySheet.h"
#include "ui/canvas/ScreenPreview.h"

namespace {

class NoFileDialogs : public FileDialogs {
public:
    int ShowOpen(const FileDialogSetup&, std::string&) override { return FileDialogCancel; }
    int ShowSave(const FileDialogSetup&, std::string&) override { return FileDialogCancel; }
};

// The largest layout with its session and the views of the main window, shown.
struct Views {
    AgreeingDialogs Dialogs;
    NoFileDialogs Files;
    cLayout Layout{Dialogs};
    std::unique_ptr<LayoutSession> Session;
    std::unique_ptr<ControlsTable> Table;
    std::unique_ptr<PropertySheet> Sheet;
    std::unique_ptr<ScreenPreview> Preview;

    Views() {
        std::vector<ControlRecord> records = PicturedBenchLayout();
        const std::vector<ControlRecord>& more = BenchLayout(BenchLargestSize);
        for (std::size_t i = records.size(); i < more.size(); ++i) {
            records.push_back(more[i]);
            records.back().rScreen = 50 + static_cast<int32_t>(i % 8);
        }
        cLayoutProbe::Adopt(Layout, std::move(records));
        Session = std::make_unique<LayoutSession>(Layout, Dialogs);
        Table = std::make_unique<ControlsTable>(*Session);
        Table->SetAllScreens(true);
        Table->resize(1200, 400);
        Table->show();
        Sheet = std::make_unique<PropertySheet>(*Session, Files, Dialogs);
        Sheet->resize(320, 800);
        Sheet->show();
        Preview = std::make_unique<ScreenPreview>(Files, Dialogs);
        Preview->resize(800, 620);
        new PreviewSelection(*Preview, *Session);
        Preview->show();
        QApplication::processEvents();
    }
};

Views& Shown() {
    static Views views;
    return views;
}

// Paints the widget and everything in it, as a frame shows it.
void Paint(QWidget& widget) {
    const QPixmap frame = widget.grab();
    benchmark::DoNotOptimize(frame.cacheKey());
}

void BM_ControlsTableFill(benchmark::State& state) {
    Views& views = Shown();
    QTableView* view = views.Table->View();
    for (auto _ : state) {
        views.Table->Model().Refresh();
        Paint(*view->viewport());
    }
    state.counters["rows"] = views.Table->Model().rowCount();
}
BENCHMARK(BM_ControlsTableFill)->Unit(benchmark::kMillisecond);

void BM_ControlsTableFilter(benchmark::State& state) {
    Views& views = Shown();
    QTableView* view = views.Table->View();
    // A word typed letter by letter, each letter one pass over every record.
    const QString word = QStringLiteral("text 1");
    int letter = 0;
    for (auto _ : state) {
        letter = letter % word.size() + 1;
        views.Table->FilterBox()->setText(word.left(letter));
        Paint(*view->viewport());
    }
    views.Table->FilterBox()->clear();
}
BENCHMARK(BM_ControlsTableFilter)->Unit(benchmark::kMillisecond);

// One control of the largest screen after another selected; `whole`: the table, the sheet and
// the preview painted whole, rather than what the selection changed, as the window does.
void SelectControls(benchmark::State& state, bool whole) {
    Views& views = Shown();
    const int screen = LargestScreen(PicturedBenchLayout());
    views.Preview->ShowScreen(views.Layout, screen);
    std::vector<int> onScreen;
    for (int p = 1; p <= views.Layout.ControlCount(); ++p)
        if (views.Layout.Records()[static_cast<std::size_t>(p - 1)].rScreen == screen)
            onScreen.push_back(p);
    QApplication::processEvents();
    std::size_t next = 0;
    for (auto _ : state) {
        next = (next + 7) % onScreen.size();
        views.Session->SetSelection({onScreen[next]});
        if (whole) {
            Paint(*views.Table->View()->viewport());
            Paint(*views.Sheet);
            Paint(*views.Preview);
        } else {
            QApplication::processEvents();
        }
    }
    state.counters["items"] = static_cast<double>(views.Preview->Scene().Items.size());
}

void BM_SelectControl(benchmark::State& state) {
    SelectControls(state, false);
}
BENCHMARK(BM_SelectControl)->Unit(benchmark::kMillisecond);

void BM_SelectControlPaintingAll(benchmark::State& state) {
    SelectControls(state, true);
}
BENCHMARK(BM_SelectControlPaintingAll)->Unit(benchmark::kMillisecond);

} // namespace
