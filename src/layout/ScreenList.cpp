#include "layout/cLayout.h"

#include <cmath>

namespace {
constexpr int ScreenColumnWidth = 400;
constexpr int CountColumnWidth = 700;
constexpr int ListMargin = 400;
} // namespace

void cLayout::BindScreenList(ScreenListView& list) {
    BoundList = &list;
    // The three text columns share what the list's width leaves, as a single-precision value.
    const float shared =
        static_cast<float>(list.WidthTwips() - ListMargin - ScreenColumnWidth - CountColumnWidth) /
        3.0f;
    const int w = static_cast<int>(std::lround(shared));
    list.AddColumn("S#", ScreenColumnWidth);
    list.AddColumn("Ctrls.", CountColumnWidth);
    list.AddColumn("Screen label ", w);
    list.AddColumn("Shown by", w);
    list.AddColumn(" also Shown by", w);
}

void cLayout::FillScreenList(ScreenListView* list) {
    if (list == nullptr) return;
    list->Clear();
    for (int s = 0; s < ScreenCount; ++s) {
        const ScreenEntry& screen = ScreenTable[static_cast<std::size_t>(s)];
        std::vector<std::string> cells{std::to_string(s), std::to_string(screen.CtrlCount)};
        // An empty screen shows no label and no buttons, even when buttons target it.
        if (screen.CtrlCount > 0) {
            cells.push_back(screen.Label);
            for (int i = 0; i < screen.ShownByCount; ++i)
                cells.push_back(screen.ShownBy[static_cast<std::size_t>(i)]);
        }
        list->AddRow(cells);
    }
}

void cLayout::SelectListRow(int position) {
    if (BoundList != nullptr) BoundList->SelectRow(position);
}
