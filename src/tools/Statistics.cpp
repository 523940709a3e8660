#include "layout/cLayout.h"

#include <iterator>

namespace {

// The report's label of each kind, indexed by rType.
constexpr const char* KindLabels[] = {
    "",
    "  DROs",
    "  Scroll Bars",
    "  Bitmaps",
    "  Buttons",
    "  JogBalls",
    "  LEDs",
    "  Labels",
    "  Bitmap Buttons",
    "  MDI lines",
    "  GCode windows",
    "  Toolpath displays",
};
static_assert(std::size(KindLabels) == ControlKind::Last + 1);

} // namespace

void cLayout::ShowStatistics(int screen) {
    TypeCounts.fill(0);
    OtherTypeCount = 0;
    for (const ControlRecord& record : Controls) {
        if (screen >= 0 && record.rScreen != screen) continue;
        if (record.rType >= ControlKind::First && record.rType <= ControlKind::Last)
            ++TypeCounts[static_cast<std::size_t>(record.rType)];
        else
            ++OtherTypeCount;
    }

    std::string report;
    for (int32_t kind = ControlKind::First; kind <= ControlKind::Last; ++kind)
        report +=
            std::to_string(TypeCounts[static_cast<std::size_t>(kind)]) + KindLabels[kind] + "\n";
    // Controls of a kind the program does not know still belong to the screen; they are counted
    // together rather than left out.
    if (OtherTypeCount > 0) report += std::to_string(OtherTypeCount) + "  other controls\n";

    const std::string heading = screen < 0 ? std::string("On all screens there are:")
                                           : "On screen " + std::to_string(screen) + " there are:";
    Dialogs.MsgBox(report, MsgButtons::OK, MsgIcon::None, heading);
}
