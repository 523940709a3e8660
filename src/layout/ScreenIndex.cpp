#include "layout/HostCodes.h"
#include "layout/cLayout.h"

#include <map>

void cLayout::ClearScreenIndex() {
    ScreenTable.fill(ScreenEntry{});
}

void cLayout::BuildScreenIndex(bool reportDuplicates) {
    ClearScreenIndex();
    for (const ControlRecord& r : Controls) {
        // Host layouts may hold controls on screens above 15; they belong to no entry.
        if (!IsLayoutScreen(r.rScreen)) continue;
        ScreenEntry& screen = ScreenTable[static_cast<std::size_t>(r.rScreen)];
        ++screen.CtrlCount;
        if (r.IsScreenLabel()) {
            // The first label in record order names the screen, however the index is rebuilt,
            // so a screen keeps its name through every move, delete and append.
            if (screen.Label.empty()) {
                screen.Label = ScreenLabelName(r);
            } else if (reportDuplicates) {
                Dialogs.MsgBox("Screen #" + std::to_string(r.rScreen) + " (" + screen.Label +
                                   ") has duplicate label: " + r.rLabel,
                               MsgButtons::OK, MsgIcon::None);
            }
        } else if (r.IsScreenChangeButton() && IsLayoutScreen(r.rOEMCode)) {
            ScreenEntry& target = ScreenTable[static_cast<std::size_t>(r.rOEMCode)];
            if (target.ShownByCount < 2) target.ShownBy[target.ShownByCount++] = r.rText;
        }
    }
}

int cLayout::EmptyScreenNr() const {
    for (int s = 0; s < ScreenCount; ++s)
        if (ScreenTable[static_cast<std::size_t>(s)].CtrlCount == 0) return s;
    return -1;
}

std::vector<std::pair<int32_t, ScreenEntry>> cLayout::ScreensBeyond() const {
    std::map<int32_t, ScreenEntry> beyond;
    for (const ControlRecord& r : Controls)
        if (r.rScreen > LastLayoutScreen) {
            ScreenEntry& screen = beyond[r.rScreen];
            ++screen.CtrlCount;
            if (screen.Label.empty() && r.IsScreenLabel()) screen.Label = ScreenLabelName(r);
        }
    if (beyond.empty()) return {};
    for (const ControlRecord& r : Controls) {
        if (!r.IsScreenChangeButton()) continue;
        const auto target = beyond.find(r.rOEMCode);
        if (target != beyond.end() && target->second.ShownByCount < 2)
            target->second.ShownBy[target->second.ShownByCount++] = r.rText;
    }
    return {beyond.begin(), beyond.end()};
}
