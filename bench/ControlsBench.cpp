// The edits of single controls, each timed as the document's work alone at both sizes (the layout
// is put back outside the timed region): a value set on every control of a screen, a paste of 100
// controls with screen links from another layout, 100 controls brought to the front of their
// layer, and the text of a sixteenth of the layout's controls written for the clipboard and read
// back.

#include <benchmark/benchmark.h>

#include "AgreeingDialogs.h"
#include "BenchLayouts.h"
#include "BenchRatios.h"
#include "FakeListView.h"
#include "LayoutBuilders.h"
#include "LayoutProbe.h"
#include "editing/ControlEdits.h"
#include "layout/cLayout.h"

namespace {

constexpr int32_t EditedScreen = 5;

const std::vector<ControlRecord>& Records(const benchmark::State& state) {
    return BenchLayout(static_cast<int>(state.range(0)));
}

std::vector<int> OnScreen(const std::vector<ControlRecord>& records, int32_t screen,
                          std::size_t most) {
    std::vector<int> positions;
    for (std::size_t i = 0; i < records.size() && positions.size() < most; ++i)
        if (records[i].rScreen == screen) positions.push_back(static_cast<int>(i) + 1);
    return positions;
}

// Times the edit made and applied; the layout is put back before each run, untimed.
template <typename Plan>
void TimeEdit(benchmark::State& state, const std::vector<ControlRecord>& records, Plan plan) {
    AgreeingDialogs dialogs;
    FakeListView list;
    cLayout layout(dialogs);
    layout.BindScreenList(list);
    for (auto _ : state) {
        state.PauseTiming();
        cLayoutProbe::Adopt(layout, records);
        state.ResumeTiming();
        const ControlsEditPlan edit = plan(layout);
        if (edit.Refused() || !layout.ApplyEdit(edit.Edit, edit.Text).empty())
            state.SkipWithError("the edit was refused");
    }
}

void BM_SetFieldOfScreen(benchmark::State& state) {
    const std::vector<int> chosen = OnScreen(Records(state), EditedScreen, MaxControls);
    const ControlField& x1 = *FindControlField("rX1");
    TimeEdit(state, Records(state), [&](const cLayout& l) {
        return SetFieldEdit(l.Records(), chosen, x1, {7, {}});
    });
    state.counters["controls"] = static_cast<double>(chosen.size());
}
BENCHMARK(BM_SetFieldOfScreen)->Apply(AtBothSizes);

void BM_PasteControls(benchmark::State& state) {
    CopiedControls copied;
    copied.Layout = "another layout";
    copied.Labels[2] = "Offsets";
    for (int i = 0; i < 100; ++i)
        copied.Records.push_back(i % 10 == 0 ? MakeScreenButton(3, 2, "Offsets")
                                             : MakeFullRecord(i));
    std::array<std::string, ScreenCount> labels;
    labels[4] = "offsets";
    // Room for the paste in the largest layout.
    std::vector<ControlRecord> records = Records(state);
    records.resize(records.size() - copied.Records.size());
    TimeEdit(state, records, [&](const cLayout& l) {
        return PasteEdit(l.Records(), labels, "this layout", copied, EditedScreen);
    });
}
BENCHMARK(BM_PasteControls)->Apply(AtBothSizes);

void BM_BringToFront(benchmark::State& state) {
    const std::vector<int> chosen = OnScreen(Records(state), EditedScreen, 100);
    TimeEdit(state, Records(state),
             [&](const cLayout& l) { return StackingEdit(l.Records(), chosen, true); });
}
BENCHMARK(BM_BringToFront)->Apply(AtBothSizes);

void BM_CopiedControlsText(benchmark::State& state) {
    CopiedControls copied;
    const std::vector<ControlRecord>& records = Records(state);
    for (std::size_t i = 0; i < records.size(); i += ScreenCount)
        copied.Records.push_back(records[i]);
    copied.Positions.assign(copied.Records.size(), 1);
    for (auto _ : state) {
        CopiedControls read;
        std::string error;
        ReadCopiedControls(CopiedControlsText(copied), read, error);
        benchmark::DoNotOptimize(read.Records.data());
    }
}
BENCHMARK(BM_CopiedControlsText)->Apply(AtBothSizes);

const bool registered =
    RegisterLinearity("BM_SetFieldOfScreen") && RegisterLinearity("BM_PasteControls") &&
    RegisterLinearity("BM_BringToFront") && RegisterLinearity("BM_CopiedControlsText");

} // namespace
