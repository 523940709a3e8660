#include "layout/HostCodes.h"
#include "layout/cLayout.h"

void cLayout::ResetScreenMap() {
    for (int s = 0; s < ScreenCount; ++s)
        ScreenMap[static_cast<std::size_t>(s)] = s;
}

void cLayout::ApplyScreenMap(RecordChangeBuilder& change) {
    // Room for every record the map renumbers, so the step grows without moving what it holds.
    std::size_t renumbered = 0;
    for (const ControlRecord& r : Controls) {
        const bool moves = IsLayoutScreen(r.rScreen) &&
                           ScreenMap[static_cast<std::size_t>(r.rScreen)] != r.rScreen;
        const bool relinks = r.LinksToLayoutScreen() &&
                             ScreenMap[static_cast<std::size_t>(r.rOEMCode)] != r.rOEMCode;
        if (moves || relinks) ++renumbered;
    }
    change.Reserve(renumbered);
    for (int k = 0; k < ControlCount(); ++k) {
        const ControlRecord& r = Controls[static_cast<std::size_t>(k)];
        // Only the 16 screens of the layout are renumbered: a record lying elsewhere keeps its
        // screen, and a target outside 0..15 names no screen, so it keeps its number too. Links
        // of both kinds, buttons and bitmap buttons, follow the screens they show.
        const int newScreen =
            IsLayoutScreen(r.rScreen) ? ScreenMap[static_cast<std::size_t>(r.rScreen)] : r.rScreen;
        const bool relinks = r.LinksToLayoutScreen();
        const int newTarget =
            relinks ? ScreenMap[static_cast<std::size_t>(r.rOEMCode)] : r.rOEMCode;
        // A screen or target mapped away means the caller left behind a record of a deleted
        // screen; keep the record as it is rather than give it a number that names nothing.
        if ((IsLayoutScreen(r.rScreen) && newScreen < 0) || (relinks && newTarget < 0)) {
            Dialogs.MsgBox("Internal code error remapping after change. Item index = " +
                               std::to_string(k + 1),
                           MsgButtons::OK, MsgIcon::Critical);
            continue;
        }
        if (newScreen == r.rScreen && newTarget == r.rOEMCode) continue;
        ControlRecord renumbered = r;
        renumbered.rScreen = newScreen;
        renumbered.rOEMCode = newTarget;
        change.Set(static_cast<std::size_t>(k), std::move(renumbered));
    }
}
