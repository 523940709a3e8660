#include "layout/cLayout.h"

#include "tools/ControlCounts.h"

void cLayout::ShowStatistics(int screen) {
    const KindCounts counts = CountKinds(Controls, screen);
    const int otherCount = counts.OtherTotal();

    std::string report;
    for (int32_t kind = ControlKind::First; kind <= ControlKind::Last; ++kind)
        report +=
            std::to_string(counts.Known[static_cast<std::size_t>(kind)]) + KindLabel(kind) + "\n";
    // Controls of a kind the program does not know still belong to the screen; they are counted
    // together rather than left out.
    if (otherCount > 0) report += std::to_string(otherCount) + "  other controls\n";

    const std::string heading = screen < 0 ? std::string("On all screens there are:")
                                           : "On screen " + std::to_string(screen) + " there are:";
    Dialogs.MsgBox(report, MsgButtons::OK, MsgIcon::None, heading);
}
