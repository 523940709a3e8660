#include "layout/HostCodes.h"
#include "layout/cLayout.h"

void cLayout::AppendScreenFrom(cLayout& source, int sourceScreen) {
    // Read once, before anything lands: the appended controls fill the screen they are put on.
    const int destination = EmptyScreenNr();
    if (destination < 0) return Warn("The Principal Layout has no empty screen to append to");
    AppendScreenFrom(source, sourceScreen, destination);
}

void cLayout::AppendScreenFrom(cLayout& source, int sourceScreen, int destination) {
    if (destination < 0 || destination >= ScreenCount)
        return Warn("Screen " + std::to_string(destination) +
                    " is not a screen of the Principal Layout to append to");
    if (ScreenTable[static_cast<std::size_t>(destination)].CtrlCount > 0)
        return Warn("Screen " + std::to_string(destination) +
                    " of the Principal Layout holds controls: an append goes to an empty screen");

    int copied = 0;
    int dropped = 0;
    int refused = 0;
    // A negative screen is no selection; it must not pick up records that lie off the 16 screens.
    const bool selected = IsLayoutScreen(sourceScreen);
    ControlRecord r;
    for (bool found = source.FirstControl(r); found; found = source.NextControl(r)) {
        if (!selected || r.rScreen != sourceScreen) continue;
        // Links into the source's own screens, buttons and bitmap buttons alike, would point at
        // unrelated screens here. A target outside 0..15 names no screen of either layout and
        // travels with the control.
        if (r.LinksToLayoutScreen()) {
            ++dropped;
            continue;
        }
        // Nothing leaves the layout during the walk, so after the first refusal every control
        // is refused. AppendControl warns about the first; the report counts the rest, where a
        // box for each would keep the user clicking for as long as the screen is long.
        if (refused > 0) {
            ++refused;
            continue;
        }
        r.rScreen = destination;
        const int before = ControlCount();
        AppendControl(r);
        if (ControlCount() > before)
            ++copied;
        else
            ++refused;
    }
    AppendScreens(destination);

    std::string report = std::to_string(copied) +
                         " controls have been copied into Principal Layout screen " +
                         std::to_string(destination);
    if (dropped > 0)
        report += "\n\n" + std::to_string(dropped) + " screen change buttons were deleted";
    if (refused > 0)
        report += "\n\n" + std::to_string(refused) +
                  " controls were not copied because the Principal Layout is full";
    Dialogs.MsgBox(report, MsgButtons::OK, MsgIcon::None, "Success!");
}

void cLayout::AppendScreens(int screen) {
    LayoutChange change;
    if (PendingAppendFrom >= 0) {
        // Appended records come after all others: every record keeps its position.
        change.RecordsChanged = true;
        change.RecordsMoved = true;
        change.PositionAfter.resize(static_cast<std::size_t>(PendingAppendFrom));
        for (int p = 1; p <= PendingAppendFrom; ++p)
            change.PositionAfter[static_cast<std::size_t>(p - 1)] = p;
        for (int p = PendingAppendFrom + 1; p <= ControlCount(); ++p)
            change.Inserted.push_back(p);
        change.Screens = std::move(PendingAppendScreens);
    }
    PendingAppendFrom = -1;
    PendingAppendScreens.clear();
    Finish(std::move(change), screen + 1);
}
